#include "ui/remoteclients.h"

#include "ftp/ftpclient.h"
#include "s3/s3client.h"

RemoteClient *createClient(remote::Protocol protocol, QObject *parent)
{
    switch (protocol) {
    case remote::Protocol::Ftp:
        return new FtpClient(parent);
    case remote::Protocol::S3:
        return new S3Client(parent);
    }
    Q_UNREACHABLE();
    return nullptr;
}
