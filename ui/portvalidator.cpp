#include "ui/portvalidator.h"

PortValidator::PortValidator(QObject *parent)
    : QValidator(parent)
{
}

QValidator::State PortValidator::validate(QString &input, int &) const
{
    constexpr int highest = 65535;
    if (input.isEmpty())
        return Intermediate;
    if (input.size() > 5)
        return Invalid;
    int value = 0;
    for (const QChar c : input) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return Invalid;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value > highest)
        return Invalid;
    return value >= 1 ? Acceptable : Intermediate;
}
