// Feed slots: the show details' dialog, feed.xml and the cover sent with the episodes.
#include "ui/ftpupload.h"

#include <QDateTime>
#include <QLineEdit>
#include <QMessageBox>

#include "feed/showdetails.h"
#include "playlist/episodes.h"
#include "ui/feeddialog.h"

// The folder named in the form, not the one of the last generation: the details belong to the
// folder the user sees.
void ftpupload::editFeed()
{
    const QDir folder = playlist::sourceFolder(localFolderEdit->text());
    feed::ShowDetails details = feed::readShowDetails(folder.absolutePath());
    if (details.title.isEmpty())
        details.title = nameEdit->text();
    if (details.language.isEmpty())
        details.language = windowLocale().name().section(QLatin1Char('_'), 0, 0);
    const QStringList images = folder.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.png")},
                                                QDir::Files, QDir::Name | QDir::IgnoreCase);
    FeedDialog dialog(details, images, this);
    QFutureWatcher<audio::Loudness> measurement;
    listLoudness(dialog, measurement, folder);
    const int answer = dialog.exec();
    // The episodes not started yet are left to the upload.
    measurement.cancel();
    if (answer != QDialog::Accepted)
        return;
    if (!feed::writeShowDetails(folder.absolutePath(), dialog.details())) {
        QMessageBox::critical(this, tr("Erreur fichier"), tr("Les détails du flux n'ont pas pu être enregistrés."));
        return;
    }
    writeFeed(folder.absolutePath(), folder.entryInfoList());
}

feed::FeedOutcome ftpupload::writeFeed(const QString &folder, const QFileInfoList &listing)
{
    using Status = feed::FeedOutcome::Status;
    const feed::FeedOutcome outcome = feed::writeFeed(folder, listing, QDateTime::currentDateTimeUtc());
    switch (outcome.status) {
    case Status::NotConfigured:
    case Status::InvalidAddress:
        break;
    case Status::DetailsNotSaved:
        notifyError(tr("Les nouveaux épisodes n'ont pas pu être inscrits dans feed.ini : feed.xml n'a pas été écrit."));
        break;
    case Status::FeedNotWritten:
        notifyError(tr("Le fichier feed.xml n'a pas pu être écrit."));
        break;
    case Status::Written:
        notifier(tr(" : Le fichier feed.xml a été généré."));
        break;
    }
    for (const QString &problem : outcome.problems)
        notifyError(problem);
    return outcome;
}

void ftpupload::announceFeedAddress()
{
    if (uploadFeed.status == feed::FeedOutcome::Status::Written)
        notifier(QStringLiteral(" : ") + tr("Adresse du flux : ") + uploadFeed.address.toHtmlEscaped());
}
