#pragma once

#include <QString>

namespace remote {

enum class Protocol { Ftp };

struct Address
{
    Protocol protocol = Protocol::Ftp;
    QString host;
};

// A profile's server field: "ftp://host" or a bare host names an FTP server; the scheme is read
// in any case.
Address parseServer(const QString &text);

} // namespace remote
