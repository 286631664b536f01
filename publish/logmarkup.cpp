#include "publish/logmarkup.h"

namespace logmarkup {

QString redOpening()
{
    return QStringLiteral("<span style='color: red; font-weight: bold'>");
}

QString red(const QString &text)
{
    return redOpening() + text.toHtmlEscaped() + QStringLiteral("</span>");
}

} // namespace logmarkup
