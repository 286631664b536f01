#pragma once

#include <QDateTime>
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
