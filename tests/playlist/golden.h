#pragma once

#include <QFile>
#include <QString>

#include "buildconfig.h"

// Expected texts kept beside the tests; the build's addresses stand in for their placeholders.
inline QString golden(const QString &name)
{
    QFile file(QStringLiteral(TESSALY_PLAYLIST_GOLDEN "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("missing golden file ") + name;
    return QString::fromUtf8(file.readAll())
        .replace(QStringLiteral("@HOME_PAGE@"), QString::fromLatin1(BuildConfig::homePage))
        .replace(QStringLiteral("@SERVER_URL@"), QString::fromLatin1(BuildConfig::serverUrl))
        .replace(QStringLiteral("@JQUERY_HOST@"), QString::fromLatin1(BuildConfig::jqueryHost));
}
