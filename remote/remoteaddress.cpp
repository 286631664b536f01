#include "remote/remoteaddress.h"

#include <QLatin1StringView>

namespace remote {

Address parseServer(const QString &text)
{
    static constexpr struct
    {
        QLatin1StringView scheme;
        Protocol protocol;
    } schemes[] = {{QLatin1StringView("ftp://"), Protocol::Ftp},
                   {QLatin1StringView("sftp://"), Protocol::Sftp},
                   {QLatin1StringView("s3://"), Protocol::S3}};
    for (const auto &entry : schemes) {
        if (text.startsWith(entry.scheme, Qt::CaseInsensitive))
            return {entry.protocol, text.mid(entry.scheme.size())};
    }
    return {Protocol::Ftp, text};
}

} // namespace remote
