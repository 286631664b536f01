#pragma once

#include <QDateTime>
#include <QDir>
#include <QFileInfoList>
#include <QList>
#include <QString>

// One episode of the source folder: an MP3 file, known by its title.
struct Episode
{
    QString fileName; // the name on disk, extension included: what the upload puts on the server
    QString title;    // the file name without its final ".mp3" (any letter case)
    QDateTime modified;
};

// Episodes in publication order: oldest modification first, equal times in listing order.
using EpisodeList = QList<Episode>;

namespace playlist {

// The source folder as the playlist and the upload see it: plain files named *.mp3 or *.xml in any
// letter case, sorted by name ignoring case. An empty path is the process's current directory.
QDir sourceFolder(const QString &path);

// The MP3 files of a folder listing, in publication order. XML files and the like are listed for
// the upload but are never episodes.
EpisodeList episodesFrom(const QFileInfoList &listing);

} // namespace playlist
