#pragma once

#include <QString>

namespace remote {

enum class Protocol { Ftp, Sftp, S3 };

struct Address
{
    Protocol protocol = Protocol::Ftp;
    QString host;
};

// A profile's server field: "ftp://host" or a bare host names an FTP server, "sftp://host" an
// SFTP server, "s3://endpoint" an S3-compatible object store; the scheme is read in any case.
Address parseServer(const QString &text);

} // namespace remote
