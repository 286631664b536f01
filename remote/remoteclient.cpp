#include "remote/remoteclient.h"

RemoteClient::RemoteClient(QObject *parent)
    : QObject(parent)
{
}

RemoteClient::~RemoteClient() = default;

void RemoteClient::setTlsRequired(bool)
{
}

void RemoteClient::acceptCertificate()
{
}

void RemoteClient::rejectCertificate()
{
}

void RemoteClient::acceptHostKey(bool)
{
}

void RemoteClient::rejectHostKey()
{
}
