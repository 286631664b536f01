#pragma once

#include <QString>
#include <QTime>

// A notification line: the time of day "hh:mm:ss" followed by the message, which by
// convention starts with " : ". Callers escape the variable data they put in a message.
QString notificationLine(const QTime &time, const QString &message);
