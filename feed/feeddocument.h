#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include "feed/chapters.h"
#include "feed/showdetails.h"

// The feed document: RSS 2.0 with Apple's iTunes, the Podcast Index and the Podlove Simple
// Chapters namespaces, built from data.
namespace feed {

struct FeedItem
{
    QString fileName;
    QString title;
    QString description;
    qint64 size = 0;
    qint64 durationMs = 0; // 0: unknown, left out
    int episode = 0;       // 0: unknown, left out
    int season = 0;
    EpisodeIdentity identity;
    QList<Chapter> chapters; // inline as Podlove Simple Chapters
    QString chaptersFile;    // the chapters file published beside it; empty: none
    QString transcriptFile;  // likewise, with its MIME type
    QString transcriptType;
};

// The show's podcast:guid: the UUIDv5 of the feed address without its scheme and trailing
// slashes, in the Podcast Index's namespace.
QUuid podcastGuid(const QString &feedAddress);
// An episode's guid the first time it is seen: derived from the show and the file name, so that
// a lost details file gives the same guids again.
QString episodeGuid(const QString &feedAddress, const QString &fileName);

// The document, UTF-8, items in the given order. Characters XML 1.0 forbids are left out.
QByteArray feedDocument(const ShowDetails &show, const QList<FeedItem> &items, const QDateTime &built,
                        const QString &generator);

} // namespace feed
