#pragma once

#include <QString>

// The number in decimal with its digits grouped by three from the right, a single space
// between groups: 1234567 gives "1 234 567", -1 gives "-1".
QString groupDigits(qint64 value);
