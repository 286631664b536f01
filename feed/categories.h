#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Apple Podcasts' categories, in Apple's own English words: the feed carries them as they are,
// and the directories refuse any other.
namespace feed {

struct Category
{
    QString name;
    QStringList subcategories;
};

const QList<Category> &appleCategories();

// True for a category of the list with no subcategory or one of its own.
bool isAppleCategory(const QString &category, const QString &subcategory);

} // namespace feed
