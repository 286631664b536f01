#include "profiles/profiletable.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace profiles {

namespace {

constexpr std::array<const char *, FieldCount> keys = {
    "nomPodcast", "urlFtp", "port", "mdp", "user", "chemin", "cheminLocal"};

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;

// The file holds passwords: only its owner may read it. Rights are only ever taken away, so a
// file the user made read-only stays read-only and a write into it fails as it should.
void restrictToOwner(const QString &fileName)
{
    constexpr QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                          | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFile::Permissions current = QFile::permissions(fileName);
    if (current & others)
        QFile::setPermissions(fileName, current & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// QSettings writes through a save file that takes over the permissions of the file it replaces,
// but creates a new one readable by all: a missing file is created first, owner-only from the
// start. Failures here show up as a failed write.
void prepareForWriting(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (info.isFile()) {
        restrictToOwner(fileName);
    } else if (!info.exists()) {
        QFile file(fileName);
        file.open(QIODevice::WriteOnly, ownerOnly);
    }
}

} // namespace

ProfileTable readProfileTable(const QString &fileName)
{
    if (QFileInfo(fileName).isFile())
        restrictToOwner(fileName);
    QSettings settings(fileName, QSettings::IniFormat);
    ProfileTable table;
    const int size = settings.beginReadArray(QStringLiteral("Remote"));
    for (int i = 0; i < size; ++i) {
        settings.setArrayIndex(i);
        for (int field = 0; field < FieldCount; ++field)
            table[field].append(settings.value(keys[field], QString()).toString());
    }
    settings.endArray();
    return table;
}

bool writeProfileTable(const QString &fileName, const ProfileTable &table, qsizetype count)
{
    prepareForWriting(fileName);
    QSettings settings(fileName, QSettings::IniFormat);
    settings.clear();
    settings.beginWriteArray(QStringLiteral("Remote"));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        for (int field = 0; field < FieldCount; ++field)
            settings.setValue(keys[field], table[field].value(i));
    }
    settings.endArray();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace profiles
