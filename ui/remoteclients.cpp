#include "ui/remoteclients.h"

#include <QDir>

#include "ftp/ftpclient.h"
#include "sftp/sftpclient.h"
#include "s3/s3client.h"

RemoteClient *createClient(remote::Protocol protocol, QObject *parent)
{
    switch (protocol) {
    case remote::Protocol::Ftp:
        return new FtpClient(parent);
    case remote::Protocol::Sftp: {
        auto *client = new SftpClient(parent);
        // The working directory's known hosts, which a key trusted always joins, beside the
        // user's own, which OpenSSH keeps and Tessaly only reads.
        client->setKnownHostsFiles(QStringLiteral("known_hosts"), QDir::homePath() + QStringLiteral("/.ssh/known_hosts"));
        return client;
    }
    case remote::Protocol::S3:
        return new S3Client(parent);
    }
    Q_UNREACHABLE();
    return nullptr;
}
