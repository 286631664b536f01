#include "feed/publication.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>

#include "buildconfig.h"
#include "feed/categories.h"
#include "feed/chapters.h"
#include "feed/episodetags.h"
#include "feed/transcripts.h"
#include "ftp/remotenames.h"
#include "playlist/episodes.h"
#include "playlist/playlistfiles.h"

namespace feed {

namespace {

QString coverProblem(const QString &folder, const QString &cover)
{
    if (cover.isEmpty())
        return QCoreApplication::translate("Feed", "Flux : l'image de couverture manque.");
    QImageReader reader(QDir(folder).absoluteFilePath(cover));
    const QByteArray format = reader.format();
    if (!reader.canRead())
        return QCoreApplication::translate("Feed", "Flux : l'image de couverture %1 est introuvable ou illisible.").arg(cover);
    if (format != "jpeg" && format != "png")
        return QCoreApplication::translate("Feed", "Flux : l'image de couverture %1 doit être un fichier JPEG ou PNG.").arg(cover);
    // The size comes from the file's header; the image is never decoded.
    const QSize size = reader.size();
    if (size.width() != size.height() || size.width() < 1400 || size.width() > 3000)
        return QCoreApplication::translate("Feed", "Flux : l'image de couverture %1 mesure %2 × %3 pixels ; il faut un carré de 1400 à 3000 pixels de côté.")
            .arg(cover).arg(size.width()).arg(size.height());
    return {};
}

// The publisher's chapters file beside the episode, else the tags' chapters written out.
void addChapters(const QDir &folder, const Episode &episode, const QList<Chapter> &tagChapters, FeedItem &item,
                 FeedEpisodes &episodes)
{
    const QString name = chaptersFileName(episode.title);
    if (QFile own(folder.absoluteFilePath(name)); own.open(QIODevice::ReadOnly)) {
        if (const std::optional<QList<Chapter>> chapters = parseChaptersJson(own.readAll())) {
            item.chapters = *chapters;
            item.chaptersFile = name;
            episodes.companions[episode.fileName].append(own.fileName());
            return;
        }
        episodes.problems << QCoreApplication::translate("Feed", "Flux : le fichier de chapitres %1 ne se lit pas (JSON chapters) : les chapitres des tags le remplacent.").arg(name);
    }
    if (tagChapters.isEmpty())
        return;
    item.chapters = tagChapters;
    const QString path = folder.absoluteFilePath(tagChaptersFolder + QLatin1Char('/') + name);
    const QByteArray json = chaptersJson(tagChapters);
    if (QFile written(path); !written.open(QIODevice::ReadOnly) || written.readAll() != json) {
        if (!folder.mkpath(tagChaptersFolder) || !playlist::writeWholeFile(path, QString::fromUtf8(json))) {
            // Inline only: the feed never names a file that is not there.
            episodes.problems << QCoreApplication::translate("Feed", "Flux : le fichier de chapitres %1 n'a pas pu être écrit.").arg(path);
            return;
        }
    }
    item.chaptersFile = name;
    episodes.companions[episode.fileName].append(path);
}

void addTranscript(const QDir &folder, const Episode &episode, FeedItem &item, FeedEpisodes &episodes)
{
    const struct
    {
        const char *extension;
        TranscriptFormat format;
    } kinds[] = {{".vtt", TranscriptFormat::WebVtt}, {".srt", TranscriptFormat::SubRip}};
    for (const auto &kind : kinds) {
        const QString name = episode.title + QLatin1StringView(kind.extension);
        QFile file(folder.absoluteFilePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        if (!ftp::fitsInCommand(name) || !isTranscript(kind.format, file.readAll())) {
            episodes.problems << QCoreApplication::translate("Feed", "Flux : la transcription %1 n'est pas valide : elle n'est pas publiée.").arg(name);
            continue;
        }
        item.transcriptFile = name;
        item.transcriptType = transcriptType(kind.format);
        episodes.companions[episode.fileName].append(file.fileName());
        return;
    }
}

} // namespace

FeedEpisodes feedItems(const QFileInfoList &listing, ShowDetails &show)
{
    const QDir folder = listing.isEmpty() ? QDir() : listing.first().absoluteDir();
    const QString address = feedAddress(show);
    FeedEpisodes result;
    QList<FeedItem> &items = result.items;
    // Oldest first from the listing: reversed, episodes published at the same second stay newest first.
    EpisodeList episodes = playlist::episodesFrom(listing);
    std::reverse(episodes.begin(), episodes.end());
    for (const Episode &episode : std::as_const(episodes)) {
        const QString path = folder.absoluteFilePath(episode.fileName);
        const qint64 size = QFileInfo(path).size();
        // Files the upload never sends.
        if (size == 0 || !ftp::fitsInCommand(episode.fileName))
            continue;
        const EpisodeTags tags = readEpisodeTags(path);
        auto known = show.identities.find(episode.fileName);
        if (known == show.identities.end()) {
            const QDateTime first = tags.released.isValid() ? tags.released : episode.modified;
            known = show.identities.insert(episode.fileName,
                                           {episodeGuid(address, episode.fileName),
                                            first.toUTC().addMSecs(-first.time().msec())});
        }
        FeedItem item{episode.fileName, tags.title.isEmpty() ? episode.title : tags.title, tags.description,
                      size, tags.durationMs, tags.episode, tags.season, *known, {}, {}, {}, {}};
        addChapters(folder, episode, tags.chapters, item, result);
        addTranscript(folder, episode, item, result);
        items.append(item);
    }
    std::stable_sort(items.begin(), items.end(), [](const FeedItem &a, const FeedItem &b) {
        return a.identity.published > b.identity.published;
    });
    return result;
}

QStringList feedProblems(const ShowDetails &show, const QString &folder)
{
    static const QRegularExpression email(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
    QStringList problems;
    if (show.title.trimmed().isEmpty())
        problems << QCoreApplication::translate("Feed", "Flux : le titre manque.");
    if (show.description.trimmed().isEmpty())
        problems << QCoreApplication::translate("Feed", "Flux : la description manque.");
    if (show.ownerEmail.trimmed().isEmpty())
        problems << QCoreApplication::translate("Feed", "Flux : l'adresse e-mail du propriétaire manque.");
    else if (!email.match(show.ownerEmail.trimmed()).hasMatch())
        problems << QCoreApplication::translate("Feed", "Flux : l'adresse e-mail du propriétaire n'est pas valide.");
    if (show.category.isEmpty())
        problems << QCoreApplication::translate("Feed", "Flux : la catégorie manque.");
    else if (!isAppleCategory(show.category, show.subcategory))
        problems << QCoreApplication::translate("Feed", "Flux : la catégorie n'est pas dans la liste d'Apple Podcasts.");
    if (const QString cover = coverProblem(folder, show.coverImage); !cover.isEmpty())
        problems << cover;
    if (show.explicitContent == Explicit::Unset)
        problems << QCoreApplication::translate("Feed", "Flux : le contenu explicite (oui ou non) n'est pas précisé.");
    return problems;
}

FeedOutcome writeFeed(const QString &folder, const QFileInfoList &listing, const QDateTime &now)
{
    FeedOutcome outcome;
    ShowDetails show = readShowDetails(folder);
    if (show.publicAddress.trimmed().isEmpty())
        return outcome;
    outcome.address = feedAddress(show);
    if (outcome.address.isEmpty()) {
        outcome.status = FeedOutcome::Status::InvalidAddress;
        outcome.problems << QCoreApplication::translate("Feed", "Flux : l'adresse publique doit être une adresse http:// ou https://.");
        return outcome;
    }
    outcome.coverImage = show.coverImage;

    const qsizetype known = show.identities.size();
    const FeedEpisodes episodes = feedItems(listing, show);
    if (show.identities.size() != known && !writeShowDetails(folder, show)) {
        outcome.status = FeedOutcome::Status::DetailsNotSaved;
        return outcome;
    }
    const QString generator = QStringLiteral("Tessaly ") + QLatin1StringView(BuildConfig::programVersion);
    const QByteArray document = feedDocument(show, episodes.items, now, generator);
    outcome.status = playlist::writeWholeFile(QDir(folder).absoluteFilePath(feedFile), QString::fromUtf8(document))
                         ? FeedOutcome::Status::Written
                         : FeedOutcome::Status::FeedNotWritten;
    if (outcome.status == FeedOutcome::Status::Written)
        outcome.companions = episodes.companions;
    outcome.problems = feedProblems(show, folder) + episodes.problems;
    return outcome;
}

} // namespace feed
