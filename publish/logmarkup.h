#pragma once

#include <QString>

// The log's markup for what failed or was left out: red and bold.
namespace logmarkup {

// Opens the red span; what follows closes it (a translated text that ends with "</span>").
QString redOpening();
// text, escaped, as a whole red span.
QString red(const QString &text);

} // namespace logmarkup
