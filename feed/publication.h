#pragma once

#include <QDateTime>
#include <QFileInfoList>
#include <QList>
#include <QString>
#include <QStringList>

#include "feed/feeddocument.h"
#include "feed/showdetails.h"

// Writing feed.xml into the episode folder, and what the directories would say of it.
namespace feed {

// The feed's items for the episodes of a folder listing, newest first: the MP3 files that the
// upload sends (not empty, with a name an FTP command can carry).
// An episode seen for the first time gets its identity in show.identities: the tag's date, else
// the file's modification time.
QList<FeedItem> feedItems(const QFileInfoList &listing, ShowDetails &show);

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
    QStringList problems;
};

// Writes feed.xml (whole or not at all) for the episodes of the listing of a folder, keeping the
// identities of new episodes in the folder's details first.
FeedOutcome writeFeed(const QString &folder, const QFileInfoList &listing, const QDateTime &now);

} // namespace feed
