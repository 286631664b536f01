#include "sftp/sftpclient.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include "sftp/handover.h"
#include "sftp/sftpworker.h"

using namespace std::chrono_literals;

namespace {

// What an upload reads from the device at a time, and lets wait for the worker at most.
constexpr qint64 ReadSize = 256 * 1024;
constexpr qint64 PipeSize = 4 * sftp::UploadPipe::LowMark;
// Puts of files up to this size, queued one behind the other, are sent together, this many at a time.
constexpr qint64 SmallFileSize = 256 * 1024;
constexpr qsizetype FilesTogether = 8;
// How long the destructor waits for the interrupted worker to end.
constexpr unsigned long WorkerEndWait = 3000;

} // namespace

SftpClient::SftpClient(QObject *parent)
    : RemoteClient(parent)
    , m_knownHosts(QStringLiteral("known_hosts"))
    , m_userKnownHosts(QDir::homePath() + QStringLiteral("/.ssh/known_hosts"))
    , m_watchdog(new QTimer(this))
{
    m_watchdog->setSingleShot(true);
    connect(m_watchdog, &QTimer::timeout, this, &SftpClient::onWatchdog);
}

SftpClient::~SftpClient()
{
    QThread *thread = m_thread;
    retireWorker();
    if (thread && thread->wait(WorkerEndWait))
        delete thread;
    // A worker closing an aborted upload's file gets the time it was promised, then is stopped.
    if (m_leaving && !m_leaving->wait(SftpWorker::AbandonTime.count())) {
        m_leavingInterrupt->trigger();
        if (m_leaving->wait(WorkerEndWait))
            delete m_leaving;
    }
}

void SftpClient::setKnownHostsFiles(const QString &known, const QString &userKnown)
{
    m_knownHosts = known;
    m_userKnownHosts = userKnown;
}

void SftpClient::setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds idle)
{
    m_connectTimeout = connect;
    m_idleTimeout = idle;
}

void SftpClient::abort()
{
    clearPendingCommands();
    if (!isRunning())
        return;
    if (m_step == Step::Transfer)
        retireWorker(true);
    fail(UnknownError, tr("Aborted"), true);
}

bool SftpClient::hasFeature(const QString &feature) const
{
    for (const char *known : {"REST STREAM", "SIZE", "MLST"}) {
        if (feature.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void SftpClient::acceptHostKey(bool always)
{
    if (!isRunning() || m_step != Step::HostKey)
        return;
    m_saveHostKey = always;
    m_step = Step::Working;
    finish();
}

void SftpClient::rejectHostKey()
{
    if (!isRunning() || m_step != Step::HostKey)
        return;
    fail(UnknownError, tr("The host key of %1 was not accepted: connection cancelled").arg(current().name), true);
}

template<typename Call>
void SftpClient::onWorker(Call call)
{
    SftpWorker *worker = m_worker;
    QMetaObject::invokeMethod(worker, [worker, call = std::move(call)] { call(worker); }, Qt::QueuedConnection);
}

void SftpClient::execute()
{
    const Request &request = current();
    switch (request.command) {
    case ConnectToHost:
        retireWorker();
        m_saveHostKey = false;
        setState(HostLookup);
        startWorker();
        restartWatchdog();
        onWorker([](SftpWorker *worker) { worker->connectToHost(); });
        return;
    case Close:
        if (!m_worker) {
            finish();
            return;
        }
        setState(Closing);
        restartWatchdog();
        onWorker([](SftpWorker *worker) { worker->close(); });
        return;
    case RawCommand:
        fail(UnknownError, tr("SFTP has no raw commands: \"%1\" was not sent").arg(request.name));
        return;
    default:
        break;
    }
    if (state() != Connected && state() != LoggedIn) {
        fail(NotConnected, tr("Not connected"));
        return;
    }
    if ((request.command == Login) != (state() == Connected)) {
        fail(UnknownError, request.command == Login ? tr("Already logged in") : tr("Not logged in"));
        return;
    }
    restartWatchdog();
    const QString name = request.name;
    switch (request.command) {
    case Login:
        onWorker([name, password = request.password, save = m_saveHostKey](SftpWorker *worker) {
            worker->login(name, password, save);
        });
        break;
    case Cd:
        onWorker([name](SftpWorker *worker) { worker->cd(name); });
        break;
    case Mkdir:
        onWorker([name](SftpWorker *worker) { worker->mkdir(name); });
        break;
    case Remove:
        onWorker([name](SftpWorker *worker) { worker->remove(name); });
        break;
    case List:
        onWorker([name](SftpWorker *worker) { worker->list(name); });
        break;
    case Put:
        startPut();
        break;
    default:
        Q_UNREACHABLE();
    }
}

void SftpClient::startPut()
{
    m_read = 0;
    m_total = 0;
    m_reported = -1;
    m_pipeClosed = false;
    m_step = Step::Transfer;
    const Request &request = current();
    if (const auto along = m_sentAlong.find(request.id); along != m_sentAlong.end()) {
        emit dataTransferProgress(0, along->second.size);
        if (isRunning(request.id) && along->second.fault)
            fileSent(along->second.size, *along->second.fault);
        return;
    }
    QIODevice *device = request.device;
    const QString failure = openDevice();
    if (!failure.isEmpty()) {
        fail(UnknownError, failure);
        return;
    }
    if (startFiles())
        return;
    m_total = device->isSequential() ? 0 : device->size() - device->pos();
    SftpWorker *worker = m_worker;
    m_pipe = std::make_shared<sftp::UploadPipe>([worker] { emit worker->dataWanted(); });
    fillPipe();
    onWorker([pipe = m_pipe, name = request.name, offset = request.offset](SftpWorker *worker) {
        worker->put(pipe, name, offset);
    });
}

// A small new file goes with the small puts queued right behind it, all handed to the worker
// together.
bool SftpClient::startFiles()
{
    const Request &request = current();
    std::optional<QByteArray> first = readAhead(request, SmallFileSize);
    if (!first)
        return false;
    QList<SftpWorker::SmallFile> files{{request.id, request.name, std::move(*first)}};
    for (const Request &next : pending()) {
        // A name twice would have both files open at once.
        const auto sameName = [&next](const SftpWorker::SmallFile &file) { return file.name == next.name; };
        if (files.size() == FilesTogether || std::any_of(files.cbegin(), files.cend(), sameName))
            break;
        std::optional<QByteArray> data = readAhead(next, SmallFileSize);
        if (!data)
            break;
        files.append({next.id, next.name, std::move(*data)});
    }
    for (const SftpWorker::SmallFile &file : std::as_const(files))
        m_sentAlong[file.id].size = file.data.size();
    onWorker([files](SftpWorker *worker) { worker->putFiles(files); });
    emit dataTransferProgress(0, files.first().data.size());
    return true;
}

void SftpClient::onFileSent(int id, const QString &fault)
{
    const auto along = m_sentAlong.find(id);
    if (along == m_sentAlong.end())
        return;
    along->second.fault = fault;
    if (!isRunning())
        return;
    restartWatchdog();
    if (isRunning(id))
        fileSent(along->second.size, fault);
}

void SftpClient::fileSent(qint64 size, const QString &fault)
{
    if (!fault.isEmpty()) {
        fail(UnknownError, fault);
        return;
    }
    const int id = current().id;
    emit dataTransferProgress(size, size);
    if (isRunning(id))
        finish();
}

// Reads ahead of the worker, at most PipeSize; a device that fails or ends early ends the pipe
// with the reason, and the worker fails the upload.
void SftpClient::fillPipe()
{
    if (!m_pipe || m_pipeClosed)
        return;
    QIODevice *device = current().device;
    while (m_pipe->queuedBytes() < PipeSize) {
        QByteArray chunk(ReadSize, Qt::Uninitialized);
        const qint64 read = device ? device->read(chunk.data(), ReadSize) : -1;
        if (read <= 0) {
            m_pipeClosed = true;
            if (read < 0)
                m_pipe->fail(device ? tr("Cannot read the data to send: %1").arg(device->errorString())
                                    : tr("The data to send went away during the transfer"));
            else if (!device->isSequential() && m_read < m_total)
                m_pipe->fail(tr("The data to send ended early: %1 of %2 bytes").arg(m_read).arg(m_total));
            else
                m_pipe->end();
            return;
        }
        m_read += read;
        chunk.truncate(read);
        m_pipe->push(std::move(chunk));
    }
}

void SftpClient::fail(Error error, const QString &text, bool dropConnection)
{
    // Stopped first: slots of stateChanged() must not see the command fail a second time.
    m_watchdog->stop();
    stop(error, text);
    if (dropConnection) {
        retireWorker();
        setState(Unconnected);
    }
    finish();
}

void SftpClient::commandEnding()
{
    m_watchdog->stop();
    m_step = Step::Working;
    m_sentAlong.erase(currentId());
    if (m_pipe) {
        m_pipe->cancel();
        m_pipe.reset();
        // Only what the server confirmed counts as sent.
        const qint64 confirmed = m_worker ? m_worker->confirmedBytes() : m_reported;
        if (confirmed > m_reported && m_reported >= 0)
            emit dataTransferProgress(confirmed, m_total);
    }
}

// Files sent along with the current one are not told: what the server holds of them is left
// to the next listing.
void SftpClient::pendingDiscarded()
{
    std::erase_if(m_sentAlong, [this](const auto &along) { return along.first != currentId(); });
}

void SftpClient::startWorker()
{
    SftpWorker::Settings settings;
    settings.host = current().name;
    settings.port = current().port;
    settings.knownHosts = QStringList{QFileInfo(m_knownHosts).absoluteFilePath(), m_userKnownHosts};
    settings.sshDir = QDir::homePath() + QStringLiteral("/.ssh");
    settings.connectTimeout = m_connectTimeout;
    settings.idleTimeout = m_idleTimeout;
    m_interrupt = std::make_shared<sftp::Interrupt>();
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("SFTP"));
    m_worker = new SftpWorker(settings, m_interrupt);
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);

    const int generation = ++m_generation;
    const auto current = [this, generation] { return generation == m_generation; };
    connect(m_worker, &SftpWorker::reached, this, [this, current](int state) {
        if (current())
            onReached(state);
    });
    connect(m_worker, &SftpWorker::hostKeyUnknown, this, [this, current](const QString &type, const QString &fingerprint) {
        if (current())
            onHostKeyUnknown(type, fingerprint);
    });
    connect(m_worker, &SftpWorker::succeeded, this, [this, current] {
        if (current())
            onSucceeded();
    });
    connect(m_worker, &SftpWorker::failed, this, [this, current](int error, const QString &text, bool lost) {
        if (current())
            onFailed(error, text, lost);
    });
    connect(m_worker, &SftpWorker::entries, this, [this, current](const QList<UrlInfo> &entries) {
        if (current())
            onEntries(entries);
    });
    connect(m_worker, &SftpWorker::uploadBegan, this, [this, current] {
        if (current())
            onUploadBegan();
    });
    connect(m_worker, &SftpWorker::progressed, this, [this, current] {
        if (current())
            onProgressed();
    });
    connect(m_worker, &SftpWorker::dataWanted, this, [this, current] {
        if (current())
            fillPipe();
    });
    connect(m_worker, &SftpWorker::fileSent, this, [this, current](int id, const QString &fault) {
        if (current())
            onFileSent(id, fault);
    });
    m_thread->start();
}

// The worker is stopped wherever it is and ends on its own thread, which then goes. One left to
// close a cut upload's file does that first, and the connection then; it is stopped only if it
// still waits for the server after AbandonTime.
void SftpClient::retireWorker(bool closeFileFirst)
{
    if (!m_worker)
        return;
    ++m_generation;
    if (m_pipe)
        m_pipe->cancel();
    m_thread->quit();
    if (closeFileFirst) {
        QTimer::singleShot(SftpWorker::AbandonTime + 1s, m_thread, [interrupt = m_interrupt] { interrupt->trigger(); });
        m_leaving = m_thread;
        m_leavingInterrupt = m_interrupt;
    } else {
        m_interrupt->trigger();
    }
    m_worker = nullptr;
    m_thread = nullptr;
    m_interrupt.reset();
}

void SftpClient::restartWatchdog()
{
    m_watchdog->start(currentCommand() == ConnectToHost ? m_connectTimeout : m_idleTimeout);
}

void SftpClient::onWatchdog()
{
    if (!isRunning())
        return;
    if (current().command == Close) {
        // The server did not see us off; closing is what was asked anyway.
        retireWorker();
        setState(Unconnected);
        finish();
    } else if (current().command == ConnectToHost) {
        fail(UnknownError, tr("Connection to host %1 timed out").arg(current().name), true);
    } else if (m_step == Step::Transfer) {
        fail(UnknownError, tr("The data transfer stalled"), true);
    } else {
        fail(UnknownError, tr("The server did not reply in time"), true);
    }
}

void SftpClient::onReached(int state)
{
    if (!isRunning())
        return;
    restartWatchdog();
    setState(State(state));
}

void SftpClient::onHostKeyUnknown(const QString &keyType, const QString &fingerprint)
{
    if (!isRunning())
        return;
    // The question may take longer than any time limit.
    m_watchdog->stop();
    m_step = Step::HostKey;
    emit unknownHostKey(keyType, fingerprint);
}

void SftpClient::onSucceeded()
{
    if (!isRunning())
        return;
    switch (current().command) {
    case Login:
        setState(LoggedIn);
        break;
    case Close:
        retireWorker();
        setState(Unconnected);
        break;
    default:
        break;
    }
    if (isRunning())
        finish();
}

void SftpClient::onFailed(int error, const QString &text, bool connectionLost)
{
    if (isRunning())
        fail(Error(error), text, connectionLost);
}

void SftpClient::onEntries(const QList<UrlInfo> &entries)
{
    if (!isRunning())
        return;
    restartWatchdog();
    const int id = current().id;
    for (const UrlInfo &info : entries) {
        emit listInfo(info);
        if (!isRunning(id))
            return;
    }
}

void SftpClient::onUploadBegan()
{
    if (!isRunning())
        return;
    restartWatchdog();
    m_reported = 0;
    emit dataTransferProgress(0, m_total);
}

void SftpClient::onProgressed()
{
    if (!isRunning() || !m_worker)
        return;
    restartWatchdog();
    m_worker->progressRead();
    const qint64 confirmed = m_worker->confirmedBytes();
    if (confirmed != m_reported) {
        m_reported = confirmed;
        const int id = current().id;
        emit dataTransferProgress(confirmed, m_total);
        if (!isRunning(id))
            return;
    }
    fillPipe();
}
