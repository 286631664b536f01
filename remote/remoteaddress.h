#pragma once

#include <QString>

namespace remote {

enum class Protocol { Ftp, Sftp };

struct Address
{
    Protocol protocol = Protocol::Ftp;
    QString host;
};

// A profile's server field: "sftp://host" names an SFTP server, "ftp://host" or a bare host an
// FTP server; the scheme is read in any case.
Address parseServer(const QString &text);

} // namespace remote
