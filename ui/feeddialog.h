#pragma once

#include <QDialog>
#include <QStringList>

#include "feed/showdetails.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

// The podcast feed's details of one episode folder, edited as a form.
class FeedDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FeedDialog)
public:
    // images: the JPEG and PNG files of the folder, offered as the cover.
    FeedDialog(const feed::ShowDetails &details, const QStringList &images, QWidget *parent = nullptr);
    ~FeedDialog() override;

    // The details as edited; what the form does not show (the episodes' identities) is kept.
    feed::ShowDetails details() const;

    // The folder's episodes, each with its loudness line once it is known.
    void setEpisodes(const QStringList &names);
    void showLoudness(int episode, const QString &line, bool warning);

private:
    void fillSubcategories(const QString &category);

    feed::ShowDetails m_details;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_title = nullptr;
    QPlainTextEdit *m_description = nullptr;
    QLineEdit *m_author = nullptr;
    QLineEdit *m_ownerName = nullptr;
    QLineEdit *m_ownerEmail = nullptr;
    QLineEdit *m_language = nullptr;
    QComboBox *m_category = nullptr;
    QComboBox *m_subcategory = nullptr;
    QComboBox *m_explicit = nullptr;
    QComboBox *m_cover = nullptr;
    QLineEdit *m_website = nullptr;
    QLineEdit *m_copyright = nullptr;
    QCheckBox *m_locked = nullptr;
    QLineEdit *m_fundingUrl = nullptr;
    QLineEdit *m_fundingText = nullptr;
    QPlainTextEdit *m_people = nullptr;
    QListWidget *m_episodes = nullptr;
};
