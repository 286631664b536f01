#pragma once

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>

// An episode's chapters, from its ID3 tags or from a chapters file beside it, in the Podcast
// Index's JSON chapters format.
namespace feed {

struct Chapter
{
    qint64 startMs = 0;
    QString title;
    QString url; // empty when the chapter has no link
};

// The chapters file of an episode: its file name without ".mp3", then ".chapters.json".
QString chaptersFileName(const QString &episodeTitle);

// version "1.2.0", each chapter's startTime in seconds, title and url when it has one.
QByteArray chaptersJson(const QList<Chapter> &chapters);
// The chapters of a JSON chapters file; none unless it is an object with a "chapters" array whose
// entries each have a startTime of zero or more seconds.
std::optional<QList<Chapter>> parseChaptersJson(const QByteArray &json);

// "HH:MM:SS.mmm", as Podlove Simple Chapters write a start.
QString normalPlayTime(qint64 ms);

} // namespace feed
