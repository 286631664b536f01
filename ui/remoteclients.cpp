#include "ui/remoteclients.h"

#include "ftp/ftpclient.h"

RemoteClient *createClient(remote::Protocol protocol, QObject *parent)
{
    switch (protocol) {
    case remote::Protocol::Ftp:
        return new FtpClient(parent);
    }
    Q_UNREACHABLE();
    return nullptr;
}
