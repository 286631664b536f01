#include "profiles/profiletable.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace profiles {

namespace {

constexpr std::array<const char *, FieldCount> keys = {
    "nomPodcast", "urlFtp", "port", "mdp", "user", "chemin", "cheminLocal"};

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;

// QSettings writes through a save file that takes over the permissions of the file it replaces,
// but creates a new one readable by all: a missing file is created first, owner-only from the
// start. Failures here show up as a failed write.
void restrictToOwner(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (info.isFile()) {
        QFile::setPermissions(fileName, ownerOnly);
    } else if (!info.exists()) {
        QFile file(fileName);
        file.open(QIODevice::WriteOnly, ownerOnly);
    }
}

} // namespace

ProfileTable readProfileTable(const QString &fileName)
{
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
    restrictToOwner(fileName);
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
