#include "ui/notifications.h"

QString notificationLine(const QTime &time, const QString &message)
{
    return time.toString(QStringLiteral("hh:mm:ss")) + message;
}
