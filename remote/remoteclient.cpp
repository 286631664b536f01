#include "remote/remoteclient.h"

#include "remote/uploadsource.h"

RemoteClient::RemoteClient(QObject *parent)
    : QObject(parent)
{
}

RemoteClient::~RemoteClient() = default;

int RemoteClient::connectToHost(const QString &host, quint16 port)
{
    Request request(ConnectToHost, host);
    request.port = port;
    request.tlsRequired = m_tlsRequired;
    return enqueue(std::move(request));
}

int RemoteClient::login(const QString &user, const QString &password)
{
    Request request(Login, user);
    request.password = password;
    return enqueue(std::move(request));
}

int RemoteClient::cd(const QString &dir)
{
    return enqueue(Request(Cd, dir));
}

int RemoteClient::mkdir(const QString &dir)
{
    return enqueue(Request(Mkdir, dir));
}

int RemoteClient::list(const QString &dir)
{
    Request request(List, dir);
    request.type = Ascii;
    return enqueue(std::move(request));
}

int RemoteClient::put(QIODevice *device, const QString &remoteName, TransferType type)
{
    return resumePut(device, remoteName, 0, type);
}

int RemoteClient::resumePut(QIODevice *device, const QString &remoteName, qint64 offset, TransferType type)
{
    Request request(Put, remoteName);
    request.device = device;
    request.type = type;
    request.offset = offset;
    return enqueue(std::move(request));
}

int RemoteClient::rawCommand(const QString &command)
{
    return enqueue(Request(RawCommand, command));
}

int RemoteClient::remove(const QString &file)
{
    return enqueue(Request(Remove, file));
}

int RemoteClient::close()
{
    return enqueue(Request(Close));
}

RemoteClient::Command RemoteClient::currentCommand() const
{
    return m_current ? m_current->command : None;
}

int RemoteClient::currentId() const
{
    return m_current ? m_current->id : 0;
}

void RemoteClient::clearPendingCommands()
{
    if (m_pending.empty())
        return;
    m_pending.clear();
    pendingDiscarded();
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

int RemoteClient::enqueue(Request request)
{
    const int id = ++m_lastId;
    request.id = id;
    m_pending.push_back(std::move(request));
    if (!m_current)
        scheduleStart();
    return id;
}

// From the event loop, so that callers can queue a whole sequence first, and so that a command
// queued while commandFinished() is delivered waits for every slot to return.
void RemoteClient::scheduleStart()
{
    if (m_startScheduled)
        return;
    m_startScheduled = true;
    QMetaObject::invokeMethod(this, &RemoteClient::startNext, Qt::QueuedConnection);
}

void RemoteClient::startNext()
{
    m_startScheduled = false;
    if (m_current || m_pending.empty())
        return;
    m_current = std::move(m_pending.front());
    m_pending.pop_front();
    m_running = true;
    m_error = NoError;
    m_errorString.clear();
    const int id = m_current->id;
    emit commandStarted(id);
    // A slot of commandStarted() may have aborted it.
    if (isRunning(id))
        execute();
}

QString RemoteClient::openDevice()
{
    return remote::openForUpload(m_current->device, m_current->name, m_current->offset, &m_openedDevice);
}

std::optional<QByteArray> RemoteClient::readAhead(const Request &request, qint64 limit)
{
    if (request.command != Put || request.offset != 0)
        return std::nullopt;
    bool opened = false;
    std::optional<QByteArray> data;
    if (remote::openForUpload(request.device, request.name, 0, &opened).isEmpty() && !request.device->isSequential()) {
        const qint64 size = request.device->size() - request.device->pos();
        if (size <= limit) {
            QByteArray bytes = request.device->peek(size);
            if (bytes.size() == size)
                data = std::move(bytes);
        }
    }
    if (opened)
        request.device->close();
    return data;
}

void RemoteClient::stop(Error error, const QString &text)
{
    m_running = false;
    m_error = error;
    m_errorString = text;
    clearPendingCommands();
}

void RemoteClient::finish()
{
    m_running = false;
    commandEnding();
    const Request &request = *m_current;
    if (m_openedDevice && request.device)
        request.device->close();
    m_openedDevice = false;

    const bool failed = m_error != NoError;
    emit commandFinished(request.id, failed);
    m_current.reset();
    if (m_pending.empty())
        emit done(failed);
    else
        scheduleStart();
}

void RemoteClient::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}
