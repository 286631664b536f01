#include "locations/locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "buildconfig.h"

namespace locations {

QString installedDataDir()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
                           + QLatin1StringView(BuildConfig::installedDataDir));
}

QString readOnlyFile(const QString &name, const QString &installedDir)
{
    const QString local = QDir::current().absoluteFilePath(name);
    if (QFileInfo::exists(local))
        return local;
    const QString installed = QDir(installedDir).absoluteFilePath(name);
    return QFileInfo::exists(installed) ? installed : local;
}

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane Development"));
    QCoreApplication::setOrganizationDomain(QUrl(QString::fromLatin1(BuildConfig::serverUrl)).host());
    QCoreApplication::setApplicationName(QStringLiteral("Tessaly"));
}

bool applyUserDataOption(const QStringList &arguments)
{
    if (!arguments.contains(QStringLiteral("--user-data")))
        return true;
    setApplicationIdentity();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return !folder.isEmpty() && QDir().mkpath(folder) && QDir::setCurrent(folder);
}

} // namespace locations
