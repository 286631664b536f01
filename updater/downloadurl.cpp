#include "updater/downloadurl.h"

#include <QHostAddress>

bool isSafeInstallerUrl(const QUrl &url)
{
    if (url.scheme() == QLatin1String("https"))
        return !url.host().isEmpty();
    const QString host = url.host();
    return url.scheme() == QLatin1String("http")
           && (host == QLatin1String("localhost") || QHostAddress(host).isLoopback());
}
