#pragma once

#include "remote/remoteaddress.h"

class QObject;
class RemoteClient;

// A new client of protocol, owned by parent.
RemoteClient *createClient(remote::Protocol protocol, QObject *parent);
