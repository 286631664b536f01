#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "feed/chapters.h"

// What an episode's own tags say about it, read with TagLib from the file's headers: the audio
// is never decoded.
namespace feed {

struct EpisodeTags
{
    QString title;       // empty when the file has none
    QString description; // the comment, else the subtitle
    qint64 durationMs = 0; // 0 when unknown
    int episode = 0;       // 0 when the tags hold no plain number
    int season = 0;
    QDateTime released; // invalid unless the tags hold a full date
    // The ID3 chapters (CHAP), in the order of the top-level table of contents (CTOC) when there
    // is one, else by start time.
    QList<Chapter> chapters;
};

// A file without tags, with broken tags or cut short gives what could be read, never more.
EpisodeTags readEpisodeTags(const QString &path);

// A tag's date or date and time ("2024-03-01", "2024-03-01T08:30"), as UTC; a year alone, a
// month alone or anything else gives an invalid date.
QDateTime fullDate(const QString &text);
// A positive number, alone or as the first of "n/total"; 0 otherwise.
int plainNumber(const QString &text);

} // namespace feed
