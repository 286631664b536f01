#include "audio/loudnesscache.h"

#include <QDateTime>
#include <QDir>
#include <QSettings>

namespace audio {

namespace {

// As text: QSettings keeps an infinity (silence) only as a string.
QString number(double value)
{
    return QString::number(value, 'g', 17);
}

} // namespace

LoudnessCache::LoudnessCache(const QString &folder) : m_folder(folder)
{
    QSettings settings(QDir(folder).absoluteFilePath(cacheFile), QSettings::IniFormat);
    const int count = settings.beginReadArray(QStringLiteral("files"));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        bool sizeOk = false;
        bool timeOk = false;
        bool loudnessOk = false;
        bool peakOk = false;
        Entry entry;
        entry.size = settings.value(QStringLiteral("size")).toLongLong(&sizeOk);
        entry.modified = settings.value(QStringLiteral("modified")).toLongLong(&timeOk);
        entry.loudness.channels = settings.value(QStringLiteral("channels")).toInt();
        entry.loudness.integrated = settings.value(QStringLiteral("integrated")).toString().toDouble(&loudnessOk);
        entry.loudness.truePeak = settings.value(QStringLiteral("truePeak")).toString().toDouble(&peakOk);
        entry.loudness.measured = true;
        const QString name = settings.value(QStringLiteral("file")).toString();
        if (!name.isEmpty() && sizeOk && timeOk && loudnessOk && peakOk && entry.loudness.channels > 0)
            m_entries.insert(name, entry);
    }
    settings.endArray();
}

const Loudness *LoudnessCache::find(const QFileInfo &file) const
{
    const auto found = m_entries.constFind(file.fileName());
    if (found == m_entries.cend() || found->size != file.size()
        || found->modified != file.lastModified().toMSecsSinceEpoch())
        return nullptr;
    return &found->loudness;
}

void LoudnessCache::insert(const QFileInfo &file, const Loudness &loudness)
{
    if (loudness.measured)
        m_entries.insert(file.fileName(), {file.size(), file.lastModified().toMSecsSinceEpoch(), loudness});
    else
        m_entries.remove(file.fileName());
}

QFileInfoList LoudnessCache::unmeasured(const QFileInfoList &files) const
{
    QFileInfoList missing;
    for (const QFileInfo &file : files) {
        if (!find(file))
            missing.append(file);
    }
    return missing;
}

bool LoudnessCache::save() const
{
    const QDir folder(m_folder);
    QStringList names;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (folder.exists(it.key()))
            names.append(it.key());
    }
    // Sorted, so that the file reads the same from one save to the next.
    names.sort();
    QSettings settings(folder.absoluteFilePath(cacheFile), QSettings::IniFormat);
    settings.clear();
    settings.beginWriteArray(QStringLiteral("files"), static_cast<int>(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        const Entry &entry = m_entries[names[i]];
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("file"), names[i]);
        settings.setValue(QStringLiteral("size"), entry.size);
        settings.setValue(QStringLiteral("modified"), entry.modified);
        settings.setValue(QStringLiteral("channels"), entry.loudness.channels);
        settings.setValue(QStringLiteral("integrated"), number(entry.loudness.integrated));
        settings.setValue(QStringLiteral("truePeak"), number(entry.loudness.truePeak));
    }
    settings.endArray();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace audio
