#pragma once

#include <QFileInfo>
#include <QFileInfoList>
#include <QHash>
#include <QString>

#include "audio/loudness.h"

// The figures of an episode folder's files, kept beside feed.ini so that a publish measures
// only the files that are new or changed since.
namespace audio {

inline constexpr QLatin1StringView cacheFile("loudness.ini");

class LoudnessCache
{
public:
    // Reads the folder's cache; a missing or unreadable file gives an empty one.
    explicit LoudnessCache(const QString &folder);

    // The figures of a file measured in its present version (same size, same time to the
    // millisecond); none for a file never measured or changed since.
    const Loudness *find(const QFileInfo &file) const;
    // Files that could not be measured are not kept: they are tried again next time.
    void insert(const QFileInfo &file, const Loudness &loudness);
    // The files of the list that find() does not know.
    QFileInfoList unmeasured(const QFileInfoList &files) const;
    // Writes the whole file or leaves it as it was; entries of files gone from the folder are dropped.
    bool save() const;

private:
    struct Entry
    {
        qint64 size = 0;
        qint64 modified = 0; // ms since the epoch
        Loudness loudness;
    };
    QString m_folder;
    QHash<QString, Entry> m_entries; // by file name
};

} // namespace audio
