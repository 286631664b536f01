#pragma once

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringList>

#include "tests/kit/testkit.h"

// Builds files and folders inside a folder. Each entry is "name@date": a name ending in "/" is a
// folder, and the date (ISO, local time) becomes the file's modification time.
[[nodiscard]] inline bool makeEntries(const QString &folder, const QStringList &entries)
{
    const QDir dir(folder);
    for (const QString &entry : entries) {
        const QString path = dir.filePath(entry.section(u'@', 0, 0));
        if (path.endsWith(u'/')) {
            if (!QDir().mkpath(path))
                return false;
            continue;
        }
        const QDateTime when = QDateTime::fromString(entry.section(u'@', 1), Qt::ISODateWithMs);
        QFile file(path);
        if (!when.isValid() || !testkit::writeFile(path, "ID3") || !file.open(QIODevice::ReadWrite)
            || !file.setFileTime(when, QFileDevice::FileModificationTime))
            return false;
    }
    return true;
}
