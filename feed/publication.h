#pragma once

#include <QDateTime>
#include <QFileInfoList>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "feed/feeddocument.h"
#include "feed/showdetails.h"

// Writing feed.xml into the episode folder, and what the directories would say of it.
namespace feed {

// Where the chapters made from the episodes' tags are written, in the episode folder: a chapters
// file beside an episode is the publisher's own, published as it is.
inline constexpr QLatin1StringView tagChaptersFolder("chapters");

struct FeedEpisodes
{
    QList<FeedItem> items;
    // By episode file name: the chapters file and the transcript sent right after it (paths).
    QHash<QString, QStringList> companions;
    // Chapters files and transcripts that fail their check, left out of the feed.
    QStringList problems;
};

// The feed's items for the episodes of a folder listing, newest first: the MP3 files that the
// upload sends (not empty, with a name an FTP command can carry).
// An episode seen for the first time gets its identity in show.identities: the tag's date, else
// the file's modification time.
// Its chapters: "<name>.chapters.json" beside it when that parses, else its ID3 chapters, written
// into tagChaptersFolder (only when they changed, so that the file keeps its time). Its
// transcript: "<name>.vtt", else "<name>.srt", beside it, when it passes its check.
FeedEpisodes feedItems(const QFileInfoList &listing, ShowDetails &show);

// Each field that Apple Podcasts or Spotify require and that is missing or invalid, as a sentence
// for the user. The cover image is looked for in the folder.
QStringList feedProblems(const ShowDetails &show, const QString &folder);

struct FeedOutcome
{
    enum class Status {
        NotConfigured,   // no public address: nothing written
        InvalidAddress,  // nothing written; problems says why
        DetailsNotSaved, // the new episodes' identities could not be kept: nothing written
        FeedNotWritten,
        Written,
    };
    Status status = Status::NotConfigured;
    QString address;    // the feed's public address
    QString coverImage; // the cover's file name, to be sent with the episodes
    QHash<QString, QStringList> companions; // see FeedEpisodes
    QStringList problems;
};

// Writes feed.xml (whole or not at all) for the episodes of the listing of a folder, keeping the
// identities of new episodes in the folder's details first.
FeedOutcome writeFeed(const QString &folder, const QFileInfoList &listing, const QDateTime &now);

} // namespace feed
