#include "ftp/remotenames.h"

namespace ftp {

bool fitsInCommand(const QString &name)
{
    return !name.contains(u'\r') && !name.contains(u'\n') && !name.contains(QChar(0));
}

bool isPlainFileName(const QString &name)
{
    return fitsInCommand(name) && !name.contains(u'/') && !name.contains(u'\\')
           && name != QLatin1String(".") && name != QLatin1String("..") && !name.isEmpty();
}

QString readableName(const QString &name)
{
    QString readable;
    for (const QChar c : name)
        readable += c.category() == QChar::Other_Control ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                                                         : QString(c);
    return readable;
}

} // namespace ftp
