#include "feed/categories.h"

#include <algorithm>

namespace feed {

const QList<Category> &appleCategories()
{
    static const QList<Category> categories{
        {QStringLiteral("Arts"), {QStringLiteral("Books"), QStringLiteral("Design"), QStringLiteral("Fashion & Beauty"),
                                  QStringLiteral("Food"), QStringLiteral("Performing Arts"), QStringLiteral("Visual Arts")}},
        {QStringLiteral("Business"), {QStringLiteral("Careers"), QStringLiteral("Entrepreneurship"), QStringLiteral("Investing"),
                                      QStringLiteral("Management"), QStringLiteral("Marketing"), QStringLiteral("Non-Profit")}},
        {QStringLiteral("Comedy"), {QStringLiteral("Comedy Interviews"), QStringLiteral("Improv"), QStringLiteral("Stand-Up")}},
        {QStringLiteral("Education"), {QStringLiteral("Courses"), QStringLiteral("How To"), QStringLiteral("Language Learning"),
                                       QStringLiteral("Self-Improvement")}},
        {QStringLiteral("Fiction"), {QStringLiteral("Comedy Fiction"), QStringLiteral("Drama"), QStringLiteral("Science Fiction")}},
        {QStringLiteral("Government"), {}},
        {QStringLiteral("Health & Fitness"), {QStringLiteral("Alternative Health"), QStringLiteral("Fitness"), QStringLiteral("Medicine"),
                                              QStringLiteral("Mental Health"), QStringLiteral("Nutrition"), QStringLiteral("Sexuality")}},
        {QStringLiteral("History"), {}},
        {QStringLiteral("Kids & Family"), {QStringLiteral("Education for Kids"), QStringLiteral("Parenting"),
                                           QStringLiteral("Pets & Animals"), QStringLiteral("Stories for Kids")}},
        {QStringLiteral("Leisure"), {QStringLiteral("Animation & Manga"), QStringLiteral("Automotive"), QStringLiteral("Aviation"),
                                     QStringLiteral("Crafts"), QStringLiteral("Games"), QStringLiteral("Hobbies"),
                                     QStringLiteral("Home & Garden"), QStringLiteral("Video Games")}},
        {QStringLiteral("Music"), {QStringLiteral("Music Commentary"), QStringLiteral("Music History"), QStringLiteral("Music Interviews")}},
        {QStringLiteral("News"), {QStringLiteral("Business News"), QStringLiteral("Daily News"), QStringLiteral("Entertainment News"),
                                  QStringLiteral("News Commentary"), QStringLiteral("Politics"), QStringLiteral("Sports News"),
                                  QStringLiteral("Tech News")}},
        {QStringLiteral("Religion & Spirituality"), {QStringLiteral("Buddhism"), QStringLiteral("Christianity"), QStringLiteral("Hinduism"),
                                                     QStringLiteral("Islam"), QStringLiteral("Judaism"), QStringLiteral("Religion"),
                                                     QStringLiteral("Spirituality")}},
        {QStringLiteral("Science"), {QStringLiteral("Astronomy"), QStringLiteral("Chemistry"), QStringLiteral("Earth Sciences"),
                                     QStringLiteral("Life Sciences"), QStringLiteral("Mathematics"), QStringLiteral("Natural Sciences"),
                                     QStringLiteral("Nature"), QStringLiteral("Physics"), QStringLiteral("Social Sciences")}},
        {QStringLiteral("Society & Culture"), {QStringLiteral("Documentary"), QStringLiteral("Personal Journals"), QStringLiteral("Philosophy"),
                                               QStringLiteral("Places & Travel"), QStringLiteral("Relationships")}},
        {QStringLiteral("Sports"), {QStringLiteral("Baseball"), QStringLiteral("Basketball"), QStringLiteral("Cricket"),
                                    QStringLiteral("Fantasy Sports"), QStringLiteral("Football"), QStringLiteral("Golf"),
                                    QStringLiteral("Hockey"), QStringLiteral("Rugby"), QStringLiteral("Running"), QStringLiteral("Soccer"),
                                    QStringLiteral("Swimming"), QStringLiteral("Tennis"), QStringLiteral("Volleyball"),
                                    QStringLiteral("Wilderness"), QStringLiteral("Wrestling")}},
        {QStringLiteral("Technology"), {}},
        {QStringLiteral("True Crime"), {}},
        {QStringLiteral("TV & Film"), {QStringLiteral("After Shows"), QStringLiteral("Film History"), QStringLiteral("Film Interviews"),
                                       QStringLiteral("Film Reviews"), QStringLiteral("TV Reviews")}},
    };
    return categories;
}

bool isAppleCategory(const QString &category, const QString &subcategory)
{
    const QList<Category> &categories = appleCategories();
    const auto found = std::find_if(categories.begin(), categories.end(),
                                    [&](const Category &c) { return c.name == category; });
    return found != categories.end() && (subcategory.isEmpty() || found->subcategories.contains(subcategory));
}

} // namespace feed
