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

} // namespace ftp
