#include "updater/digits.h"

QString groupDigits(qint64 value)
{
    QString digits = QString::number(value);
    const int first = digits.startsWith(QLatin1Char('-')) ? 1 : 0;
    for (int i = digits.size() - 3; i > first; i -= 3)
        digits.insert(i, QLatin1Char(' '));
    return digits;
}
