#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// Shared by the feed's tests: episodes made by lame, feeds read by podcast clients' parsers.
namespace feedkit {

// An MP3 of silence made by lame, its folder created when missing (mono, 32 kbit/s, about 4 KB a second), with lame's tag
// options (--tt, --tc, --tv TDRC=…); false when lame failed.
bool makeMp3(const QString &path, int seconds, const QStringList &tagOptions = {});

// Writes ID3 chapters into an MP3 with mutagen (tests/feed/writechapters.py); spec as the script reads it.
bool writeChapters(const QString &path, const QJsonObject &spec);
// The spec of chapters one second long each, with these titles and no table of contents.
QJsonObject secondChapters(const QStringList &titles);

// What feedparser and podcastparser read from a feed file (tests/feed/readfeed.py): "bozo" holds
// feedparser's error, "channel", "items" (feedparser) and "episodes" (podcastparser) the rest.
// Empty when the script failed.
QJsonObject readFeed(const QString &path, const QString &address);

} // namespace feedkit
