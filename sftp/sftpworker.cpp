#include "sftp/sftpworker.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#if defined(__aarch64__)
#include <asm/hwcap.h>
#include <sys/auxv.h>
#endif
#include <sys/socket.h>
#include <unistd.h>

#include <libssh/libssh.h>

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QtEndian>

#include "remote/remoteclient.h"
#include "sftp/knownhosts.h"

using namespace std::chrono_literals;

namespace {

// Writes in flight and the size of each: a link's round trip is covered as OpenSSH's sftp does.
constexpr std::size_t WritesInFlight = 64;
constexpr qsizetype WriteSize = 32 * 1024;
constexpr int ReadBufferSize = 64 * 1024;

// The user's keys, in the order OpenSSH offers them.
constexpr const char *KeyNames[] = {"id_ed25519", "id_ecdsa", "id_rsa"};

// libssh's own limits, behind the client's: its watchdog says what timed out.
constexpr std::chrono::milliseconds FallbackMargin = 5s;

// libssh's own ciphers with AES-GCM first. With the processor's AES instructions it costs both
// ends less than chacha20-poly1305, libssh's and OpenSSH's first choice (a 1 GiB upload to a
// local sshd took 9% less time); without them chacha20 is the faster. Go's SSH, and so rclone,
// chooses the same way.
constexpr const char *AesFirst = "aes128-gcm@openssh.com,aes256-gcm@openssh.com,chacha20-poly1305@openssh.com,"
                                 "aes256-ctr,aes192-ctr,aes128-ctr";

bool hasAesInstructions()
{
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("aes");
#elif defined(__aarch64__)
    return (::getauxval(AT_HWCAP) & HWCAP_AES) != 0;
#else
    return false;
#endif
}

int milliseconds(std::chrono::milliseconds duration)
{
    return int(std::clamp<std::chrono::milliseconds::rep>(duration.count(), 1, 24 * 3600 * 1000));
}

// The key type a public key blob starts with, as known_hosts names it.
QString blobKeyType(const QByteArray &blob)
{
    if (blob.size() < 4)
        return {};
    const quint32 size = qFromBigEndian<quint32>(blob.constData());
    if (size > quint32(blob.size() - 4))
        return {};
    return QString::fromLatin1(blob.mid(4, size));
}

QString methodNames(int methods)
{
    QStringList names;
    if (methods & SSH_AUTH_METHOD_PUBLICKEY)
        names << QStringLiteral("publickey");
    if (methods & SSH_AUTH_METHOD_PASSWORD)
        names << QStringLiteral("password");
    if (methods & SSH_AUTH_METHOD_INTERACTIVE)
        names << QStringLiteral("keyboard-interactive");
    if (methods & SSH_AUTH_METHOD_HOSTBASED)
        names << QStringLiteral("hostbased");
    if (methods & SSH_AUTH_METHOD_GSSAPI_MIC)
        names << QStringLiteral("gssapi-with-mic");
    return names.isEmpty() ? QStringLiteral("none") : names.join(QLatin1String(", "));
}

} // namespace

SftpWorker::SftpWorker(const Settings &settings, std::shared_ptr<sftp::Interrupt> interrupt)
    : m_settings(settings)
    , m_interrupt(std::move(interrupt))
{
}

SftpWorker::~SftpWorker()
{
    release();
}

void SftpWorker::connectToHost()
{
    if (!openTcp() || !handshake())
        return;
    const QString entry = knownhosts::hostEntry(m_settings.host, m_settings.port);
    const knownhosts::Lookup known = knownhosts::lookup(m_settings.knownHosts, entry, m_keyType, m_keyBlob);
    const QString fingerprint = knownhosts::fingerprint(m_keyBlob);
    switch (known.verdict) {
    case knownhosts::Lookup::Known:
        emit succeeded();
        return;
    case knownhosts::Lookup::Unknown:
        // Nothing more goes to the server until the user has answered.
        emit hostKeyUnknown(m_keyType, fingerprint);
        return;
    case knownhosts::Lookup::Changed:
        failConnection(tr("The host key of %1 has changed: the server now shows the %2 key %3. If you know why, remove "
                          "line %4 of %5 (the old key). The connection was stopped before any password or key was sent.")
                           .arg(entry, m_keyType, fingerprint)
                           .arg(known.line)
                           .arg(known.file));
        return;
    case knownhosts::Lookup::Revoked:
        failConnection(tr("The host key of %1 (%2 %3) is revoked by line %4 of %5: the connection was stopped")
                           .arg(entry, m_keyType, fingerprint)
                           .arg(known.line)
                           .arg(known.file));
        return;
    }
}

bool SftpWorker::openTcp()
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    const QByteArray host = m_settings.host.toUtf8();
    if (::getaddrinfo(host.constData(), QByteArray::number(m_settings.port).constData(), &hints, &found) != 0) {
        failConnection(tr("Host %1 not found").arg(m_settings.host), RemoteClient::HostNotFound);
        return false;
    }
    emit reached(RemoteClient::Connecting);
    const QDeadlineTimer deadline(m_settings.connectTimeout + FallbackMargin);
    bool refused = false;
    bool timedOut = false;
    QString reason;
    for (const addrinfo *address = found; address && m_socket < 0 && !timedOut; address = address->ai_next) {
        const int descriptor = ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address->ai_protocol);
        if (descriptor < 0)
            continue;
        int error = 0;
        if (::connect(descriptor, address->ai_addr, address->ai_addrlen) != 0) {
            error = errno;
            if (error == EINPROGRESS) {
                pollfd waits[2] = {{descriptor, POLLOUT, 0}, {m_interrupt->wakeDescriptor(), POLLIN, 0}};
                int ready = 0;
                do {
                    ready = ::poll(waits, 2, int(deadline.remainingTime()));
                } while (ready < 0 && errno == EINTR);
                socklen_t size = sizeof error;
                if (ready == 0)
                    timedOut = true;
                else if (waits[1].revents || ::getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
                    error = EINTR;
            }
        }
        if (error == 0 && !timedOut) {
            m_socket = descriptor;
            break;
        }
        ::close(descriptor);
        refused = refused || error == ECONNREFUSED;
        reason = QString::fromLocal8Bit(std::strerror(error));
    }
    ::freeaddrinfo(found);
    if (m_socket < 0) {
        if (timedOut)
            failConnection(tr("Connection to host %1 timed out").arg(m_settings.host));
        else if (refused)
            failConnection(tr("Connection refused to host %1").arg(m_settings.host), RemoteClient::ConnectionRefused);
        else
            failConnection(tr("Connection to host %1 failed: %2").arg(m_settings.host, reason));
        return false;
    }
    const int one = 1;
    ::setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    m_interrupt->setSocket(m_socket);
    emit reached(RemoteClient::Connected);
    return true;
}

bool SftpWorker::handshake()
{
    m_session = ssh_new();
    if (!m_session) {
        failConnection(tr("Cannot start an SSH session"));
        return false;
    }
    const QByteArray host = m_settings.host.toUtf8();
    const unsigned int port = m_settings.port;
    // libssh closes the socket it is given, on an error as on ssh_free(): it gets a copy of its
    // own, so that ours is closed once only, by us, and never after its number is given again.
    const socket_t descriptor = ::fcntl(m_socket, F_DUPFD_CLOEXEC, 0);
    if (descriptor < 0) {
        failConnection(tr("Cannot start an SSH session"));
        return false;
    }
    // The user's ssh_config is not read: it could send us elsewhere, or to a proxy command.
    const bool processConfig = false;
    // Off, small packets wait for the previous one's acknowledgement: a write loop ran 60 times slower.
    const int noDelay = 1;
    const long timeout = long((m_settings.connectTimeout + FallbackMargin).count() / 1000);
    // libssh reads them only to prefer the host key types known for the server; the verdict is ours.
    const QByteArray known = m_settings.knownHosts.value(0).toLocal8Bit();
    const QByteArray userKnown = m_settings.knownHosts.value(1, QStringLiteral("/dev/null")).toLocal8Bit();
    const QByteArray sshDir = m_settings.sshDir.toLocal8Bit();
    ssh_options_set(m_session, SSH_OPTIONS_PROCESS_CONFIG, &processConfig);
    ssh_options_set(m_session, SSH_OPTIONS_HOST, host.constData());
    ssh_options_set(m_session, SSH_OPTIONS_PORT, &port);
    ssh_options_set(m_session, SSH_OPTIONS_FD, &descriptor);
    ssh_options_set(m_session, SSH_OPTIONS_NODELAY, &noDelay);
    if (hasAesInstructions()) {
        ssh_options_set(m_session, SSH_OPTIONS_CIPHERS_C_S, AesFirst);
        ssh_options_set(m_session, SSH_OPTIONS_CIPHERS_S_C, AesFirst);
    }
    ssh_options_set(m_session, SSH_OPTIONS_TIMEOUT, &timeout);
    ssh_options_set(m_session, SSH_OPTIONS_SSH_DIR, sshDir.constData());
    ssh_options_set(m_session, SSH_OPTIONS_KNOWNHOSTS, known.isEmpty() ? "/dev/null" : known.constData());
    ssh_options_set(m_session, SSH_OPTIONS_GLOBAL_KNOWNHOSTS, userKnown.isEmpty() ? "/dev/null" : userKnown.constData());
    if (ssh_connect(m_session) != SSH_OK) {
        failConnection(tr("SSH handshake with %1 failed: %2").arg(m_settings.host, sessionError()));
        return false;
    }
    const long idle = long((m_settings.idleTimeout + FallbackMargin).count() / 1000);
    ssh_options_set(m_session, SSH_OPTIONS_TIMEOUT, &idle);
    ssh_key key = nullptr;
    char *base64 = nullptr;
    if (ssh_get_server_publickey(m_session, &key) != SSH_OK || ssh_pki_export_pubkey_base64(key, &base64) != SSH_OK) {
        ssh_key_free(key);
        failConnection(tr("The server %1 showed no usable host key").arg(m_settings.host));
        return false;
    }
    m_keyBlob = QByteArray::fromBase64(base64);
    m_keyType = blobKeyType(m_keyBlob);
    ssh_string_free_char(base64);
    ssh_key_free(key);
    return true;
}

void SftpWorker::login(const QString &user, const QString &password, bool saveHostKey)
{
    if (!authenticate(user, password) || !startSftp())
        return;
    if (saveHostKey) {
        const QString file = m_settings.knownHosts.value(0);
        const QByteArray line = knownhosts::entryLine(knownhosts::hostEntry(m_settings.host, m_settings.port), m_keyType, m_keyBlob);
        QString error;
        if (!knownhosts::append(file, line, &error)) {
            failCommand(tr("Logged in, but the host key could not be added to %1: %2").arg(file, error));
            return;
        }
    }
    emit succeeded();
}

// OpenSSH's order: the agent, the user's keys, the password, then keyboard-interactive.
bool SftpWorker::authenticate(const QString &user, const QString &password)
{
    const QByteArray name = user.toUtf8();
    ssh_options_set(m_session, SSH_OPTIONS_USER, name.constData());
    int offered = 0;
    // True when done: logged in, or failed for good.
    const auto settled = [&](int result, bool *loggedIn) {
        if (result == SSH_AUTH_SUCCESS) {
            *loggedIn = true;
            return true;
        }
        if (m_interrupt->triggered() || ssh_is_connected(m_session) == 0) {
            failConnection(tr("Login failed: %1").arg(sessionError()));
            return true;
        }
        if (result == SSH_AUTH_DENIED || result == SSH_AUTH_PARTIAL)
            offered = ssh_userauth_list(m_session, nullptr);
        return false;
    };
    bool loggedIn = false;
    if (settled(ssh_userauth_none(m_session, nullptr), &loggedIn))
        return loggedIn;
    if ((offered & SSH_AUTH_METHOD_PUBLICKEY) && !qEnvironmentVariableIsEmpty("SSH_AUTH_SOCK")
        && settled(ssh_userauth_agent(m_session, nullptr), &loggedIn))
        return loggedIn;
    const QByteArray passphrase = password.toUtf8();
    for (const char *keyName : KeyNames) {
        if (!(offered & SSH_AUTH_METHOD_PUBLICKEY))
            break;
        const QString file = m_settings.sshDir + u'/' + QLatin1String(keyName);
        if (!QFileInfo::exists(file))
            continue;
        ssh_key key = nullptr;
        // An encrypted key opens with the password; one that does not is skipped. Never without a
        // passphrase: OpenSSL would then ask for one on the terminal.
        if (ssh_pki_import_privkey_file(file.toLocal8Bit().constData(), passphrase.constData(), nullptr, nullptr, &key)
            != SSH_OK)
            continue;
        const int result = ssh_userauth_publickey(m_session, nullptr, key);
        ssh_key_free(key);
        if (settled(result, &loggedIn))
            return loggedIn;
    }
    if ((offered & SSH_AUTH_METHOD_PASSWORD) && settled(ssh_userauth_password(m_session, nullptr, passphrase.constData()), &loggedIn))
        return loggedIn;
    if (offered & SSH_AUTH_METHOD_INTERACTIVE) {
        int result = ssh_userauth_kbdint(m_session, nullptr, nullptr);
        // One round of questions gets the password; a second one asks for something else.
        int rounds = 0;
        while (result == SSH_AUTH_INFO) {
            const int prompts = ssh_userauth_kbdint_getnprompts(m_session);
            if (prompts > 0 && ++rounds > 1) {
                result = SSH_AUTH_DENIED;
                break;
            }
            for (int i = 0; i < prompts; ++i)
                ssh_userauth_kbdint_setanswer(m_session, unsigned(i), passphrase.constData());
            result = ssh_userauth_kbdint(m_session, nullptr, nullptr);
        }
        if (settled(result, &loggedIn))
            return loggedIn;
    }
    failCommand(tr("Login failed: the server accepted none of the keys nor the password (it offers: %1)").arg(methodNames(offered)));
    return false;
}

bool SftpWorker::startSftp()
{
    m_channel = ssh_channel_new(m_session);
    if (!m_channel || ssh_channel_open_session(m_channel) != SSH_OK
        || ssh_channel_request_subsystem(m_channel, "sftp") != SSH_OK) {
        failConnection(tr("The server offers no SFTP: %1").arg(sessionError()));
        return false;
    }
    if (!send(sftp::initPacket()))
        return false;
    // The version packet, then the home folder as the current directory.
    const std::optional<QByteArray> body = receivePacket(true);
    if (!body)
        return false;
    const std::optional<quint32> version = sftp::parseVersion(*body);
    if (!version || *version < 3) {
        failConnection(tr("The server speaks no SFTP version 3"));
        return false;
    }
    const quint32 id = nextId();
    const std::optional<sftp::Reply> reply = call(sftp::stringPacket(sftp::Realpath, id, "."), id);
    if (!reply)
        return false;
    if (reply->type != sftp::Name || reply->entries.isEmpty()) {
        failConnection(tr("The server did not tell its current folder"));
        return false;
    }
    m_cwd = QString::fromUtf8(reply->entries.first().name);
    return true;
}

void SftpWorker::cd(const QString &dir)
{
    const QString failure = tr("Changing directory failed: %1");
    quint32 id = nextId();
    std::optional<sftp::Reply> reply = call(sftp::stringPacket(sftp::Realpath, id, path(dir).toUtf8()), id);
    if (!reply || !expectType(*reply, sftp::Name, failure))
        return;
    if (reply->entries.isEmpty()) {
        protocolError();
        return;
    }
    const QByteArray canonical = reply->entries.first().name;
    id = nextId();
    reply = call(sftp::stringPacket(sftp::Stat, id, canonical), id);
    if (!reply || !expectType(*reply, sftp::Attrs, failure))
        return;
    if (!sftp::isDirectory(reply->attributes)) {
        failCommand(failure.arg(tr("%1 is not a folder").arg(dir)));
        return;
    }
    m_cwd = QString::fromUtf8(canonical);
    emit succeeded();
}

void SftpWorker::mkdir(const QString &dir)
{
    const quint32 id = nextId();
    const std::optional<sftp::Reply> reply = call(sftp::mkdirPacket(id, path(dir).toUtf8()), id);
    if (reply && expectType(*reply, sftp::Status, tr("Creating directory failed: %1")))
        emit succeeded();
}

void SftpWorker::remove(const QString &file)
{
    const quint32 id = nextId();
    const std::optional<sftp::Reply> reply = call(sftp::stringPacket(sftp::Remove, id, path(file).toUtf8()), id);
    if (reply && expectType(*reply, sftp::Status, tr("Removing file failed: %1")))
        emit succeeded();
}

void SftpWorker::list(const QString &dir)
{
    const QString failure = tr("Listing directory failed: %1");
    quint32 id = nextId();
    std::optional<sftp::Reply> reply = call(sftp::stringPacket(sftp::Opendir, id, path(dir).toUtf8()), id);
    if (!reply || !expectType(*reply, sftp::Handle, failure))
        return;
    const QByteArray handle = reply->handle;
    QString fault;
    for (;;) {
        id = nextId();
        reply = call(sftp::stringPacket(sftp::Readdir, id, handle), id);
        if (!reply)
            return;
        if (reply->type == sftp::Name) {
            QList<UrlInfo> infos;
            for (const sftp::Entry &entry : std::as_const(reply->entries)) {
                if (const std::optional<UrlInfo> info = sftp::toUrlInfo(entry))
                    infos << *info;
            }
            emit entries(infos);
            continue;
        }
        if (reply->type != sftp::Status) {
            protocolError();
            return;
        }
        if (reply->status != sftp::Eof)
            fault = statusText(*reply);
        break;
    }
    QString closeFault;
    if (!closeHandle(handle, &closeFault))
        return;
    if (!fault.isEmpty())
        failCommand(failure.arg(fault));
    else
        emit succeeded();
}

void SftpWorker::put(std::shared_ptr<sftp::UploadPipe> pipe, const QString &remoteName, qint64 offset)
{
    m_confirmed = 0;
    m_progressPosted = false;
    const QByteArray target = path(remoteName).toUtf8();
    // A resumed file is opened as it is; a new one is emptied.
    const quint32 flags = sftp::OpenWrite | sftp::OpenCreate | (offset > 0 ? 0u : quint32(sftp::OpenTruncate));
    quint32 id = nextId();
    std::optional<sftp::Reply> reply = call(sftp::openPacket(id, target, flags), id);
    if (!reply || !expectType(*reply, sftp::Handle, tr("Uploading file failed: %1")))
        return;
    const QByteArray handle = reply->handle;
    emit uploadBegan();
    QString fault;
    if (!uploadBody(*pipe, handle, offset, &fault))
        return;
    // The server may report a failed write only when the file is closed.
    QString closeFault;
    if (!closeHandle(handle, &closeFault))
        return;
    if (fault.isEmpty())
        fault = closeFault;
    if (!fault.isEmpty()) {
        failCommand(tr("The file %1 was not sent: %2").arg(remoteName, fault));
        return;
    }
    if (offset > 0) {
        id = nextId();
        reply = call(sftp::stringPacket(sftp::Stat, id, target), id);
        if (!reply || !expectType(*reply, sftp::Attrs, tr("The file %1 was not completed: %2").arg(remoteName)))
            return;
        const qint64 expected = offset + m_confirmed;
        const std::optional<quint64> size = reply->attributes.size;
        if (!size || qint64(*size) != expected) {
            failCommand(tr("The file %1 was not completed: %2 bytes expected, the server has %3")
                            .arg(remoteName)
                            .arg(expected)
                            .arg(size ? QString::number(*size) : tr("no size")));
            return;
        }
    }
    emit succeeded();
}

// Keeps WritesInFlight writes waiting for their reply, each counted once the server confirms
// it. A write the server refuses stops the sending; the replies still due are read.
bool SftpWorker::uploadBody(sftp::UploadPipe &pipe, const QByteArray &handle, qint64 offset, QString *fault)
{
    std::map<quint32, qsizetype> waiting;
    QByteArray chunk;
    qsizetype used = 0;
    quint64 position = quint64(offset);
    bool ended = false;
    for (;;) {
        while (!ended && fault->isEmpty() && waiting.size() < WritesInFlight) {
            if (used == chunk.size()) {
                const sftp::UploadPipe::Take taken = pipe.take(&chunk, waiting.empty());
                used = 0;
                if (taken == sftp::UploadPipe::Take::Chunk)
                    continue;
                chunk.clear();
                if (taken == sftp::UploadPipe::Take::Cancelled) {
                    abandon(handle);
                    return false;
                }
                if (taken == sftp::UploadPipe::Take::End)
                    ended = true;
                else if (taken == sftp::UploadPipe::Take::Failed)
                    *fault = pipe.failure();
                break;
            }
            const qsizetype size = std::min(WriteSize, chunk.size() - used);
            const quint32 id = nextId();
            if (!send(sftp::writePacket(id, handle, position, chunk.constData() + used, size)))
                return false;
            waiting.emplace(id, size);
            position += quint64(size);
            used += size;
        }
        if (waiting.empty()) {
            if (ended || !fault->isEmpty())
                return true;
            continue;
        }
        // One reply at least, then those that are already there.
        for (bool wait = true;; wait = false) {
            const std::optional<sftp::Reply> reply = receive(wait);
            if (!reply) {
                if (m_broken)
                    return false;
                break;
            }
            const auto found = waiting.find(reply->id);
            if (found == waiting.end() || reply->type != sftp::Status) {
                protocolError();
                return false;
            }
            if (reply->status == sftp::Ok) {
                m_confirmed += found->second;
                if (!m_progressPosted.exchange(true))
                    emit progressed();
            } else if (fault->isEmpty()) {
                *fault = writeFault(*reply);
            }
            waiting.erase(found);
        }
    }
}

// Every file is opened at once, and written and closed as soon as its handle comes: the files
// share the link's round trips. A server handles the requests on one handle in the order they
// come, so a file's CLOSE follows its writes.
void SftpWorker::putFiles(const QList<SmallFile> &files)
{
    enum class Step { Open, Write, Close };
    struct Awaited
    {
        qsizetype file;
        Step step;
    };
    std::map<quint32, Awaited> waiting;
    QStringList faults(files.size());
    const quint32 flags = sftp::OpenWrite | sftp::OpenCreate | sftp::OpenTruncate;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const quint32 id = nextId();
        if (!send(sftp::openPacket(id, path(files.at(i).name).toUtf8(), flags)))
            return;
        waiting.emplace(id, Awaited{i, Step::Open});
    }
    while (!waiting.empty()) {
        const std::optional<sftp::Reply> reply = receive(true);
        if (!reply)
            return;
        const auto found = waiting.find(reply->id);
        if (found == waiting.end()) {
            protocolError();
            return;
        }
        const Awaited awaited = found->second;
        waiting.erase(found);
        const SmallFile &file = files.at(awaited.file);
        QString &fault = faults[awaited.file];
        if (awaited.step == Step::Open && reply->type == sftp::Handle) {
            const QByteArray &data = file.data;
            for (qsizetype at = 0; at < data.size(); at += WriteSize) {
                const quint32 id = nextId();
                if (!send(sftp::writePacket(id, reply->handle, quint64(at), data.constData() + at, std::min(WriteSize, data.size() - at))))
                    return;
                waiting.emplace(id, Awaited{awaited.file, Step::Write});
            }
            const quint32 id = nextId();
            if (!send(sftp::stringPacket(sftp::Close, id, reply->handle)))
                return;
            waiting.emplace(id, Awaited{awaited.file, Step::Close});
            continue;
        }
        if (reply->type != sftp::Status) {
            protocolError();
            return;
        }
        if (awaited.step == Step::Open) {
            emit fileSent(file.id, tr("Uploading file failed: %1").arg(statusText(*reply)));
            continue;
        }
        if (reply->status != sftp::Ok && fault.isEmpty())
            fault = awaited.step == Step::Write ? writeFault(*reply) : statusText(*reply);
        if (awaited.step == Step::Close)
            emit fileSent(file.id, fault.isEmpty() ? QString() : tr("The file %1 was not sent: %2").arg(file.name, fault));
    }
}

// The upload was aborted: the file is closed at once, behind the writes still in flight, whose
// replies are dropped; a server that does not answer within AbandonTime is left.
void SftpWorker::abandon(const QByteArray &handle)
{
    m_abandonBy = QDeadlineTimer(AbandonTime);
    const long seconds = long(std::chrono::ceil<std::chrono::seconds>(AbandonTime).count());
    ssh_options_set(m_session, SSH_OPTIONS_TIMEOUT, &seconds);
    const quint32 id = nextId();
    if (!send(sftp::stringPacket(sftp::Close, id, handle)))
        return;
    while (const std::optional<QByteArray> body = receivePacket(true)) {
        const std::optional<sftp::Reply> reply = sftp::parseReply(*body);
        if (!reply || reply->id == id)
            return;
    }
}

bool SftpWorker::closeHandle(const QByteArray &handle, QString *fault)
{
    const quint32 id = nextId();
    const std::optional<sftp::Reply> reply = call(sftp::stringPacket(sftp::Close, id, handle), id);
    if (!reply)
        return false;
    if (reply->type != sftp::Status) {
        protocolError();
        return false;
    }
    if (reply->status != sftp::Ok)
        *fault = statusText(*reply);
    return true;
}

void SftpWorker::close()
{
    release();
    emit succeeded();
}

bool SftpWorker::send(const QByteArray &packet)
{
    const char *data = packet.constData();
    qsizetype left = packet.size();
    while (left > 0) {
        const int written = ssh_channel_write(m_channel, data, uint32_t(left));
        if (written == SSH_ERROR) {
            failConnection(tr("Connection to the server lost: %1").arg(sessionError()));
            return false;
        }
        if (written == 0) {
            failConnection(tr("The server did not reply in time"));
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

std::optional<QByteArray> SftpWorker::receivePacket(bool wait)
{
    if (m_readBuffer.isEmpty())
        m_readBuffer.resize(ReadBufferSize);
    for (;;) {
        if (const std::optional<quint32> length = sftp::packetLength(m_in)) {
            if (*length == 0 || *length > sftp::MaxPacketLength) {
                protocolError();
                return std::nullopt;
            }
            if (m_in.size() >= 4 + qsizetype(*length)) {
                QByteArray body = m_in.mid(4, *length);
                m_in.remove(0, 4 + *length);
                return body;
            }
        }
        const std::chrono::milliseconds patience = m_abandonBy.isForever()
            ? m_settings.idleTimeout + FallbackMargin
            : std::chrono::ceil<std::chrono::milliseconds>(m_abandonBy.remainingTimeAsDuration());
        const int read = wait ? ssh_channel_read_timeout(m_channel, m_readBuffer.data(), ReadBufferSize, 0, milliseconds(patience))
                              : ssh_channel_read_nonblocking(m_channel, m_readBuffer.data(), ReadBufferSize, 0);
        if (read == SSH_ERROR) {
            failConnection(tr("Connection to the server lost: %1").arg(sessionError()));
            return std::nullopt;
        }
        if (read <= 0) {
            if (ssh_channel_is_eof(m_channel) || !ssh_channel_is_open(m_channel))
                failConnection(tr("Connection closed by the server"));
            else if (wait)
                failConnection(tr("The server did not reply in time"));
            return std::nullopt;
        }
        m_in.append(m_readBuffer.constData(), read);
    }
}

std::optional<sftp::Reply> SftpWorker::receive(bool wait)
{
    const std::optional<QByteArray> body = receivePacket(wait);
    if (!body)
        return std::nullopt;
    std::optional<sftp::Reply> reply = sftp::parseReply(*body);
    if (!reply)
        protocolError();
    return reply;
}

std::optional<sftp::Reply> SftpWorker::call(const QByteArray &packet, quint32 id)
{
    if (!send(packet))
        return std::nullopt;
    std::optional<sftp::Reply> reply = receive(true);
    if (reply && reply->id != id) {
        protocolError();
        return std::nullopt;
    }
    return reply;
}

// A status other than OK fails the command with failure; any other type than expected breaks
// the connection.
bool SftpWorker::expectType(const sftp::Reply &reply, quint8 type, const QString &failure)
{
    if (reply.type == sftp::Status && (type != sftp::Status || reply.status != sftp::Ok)) {
        failCommand(failure.arg(statusText(reply)));
        return false;
    }
    if (reply.type != type) {
        protocolError();
        return false;
    }
    return true;
}

QString SftpWorker::path(const QString &name) const
{
    return sftp::joinPath(m_cwd, name);
}

void SftpWorker::protocolError()
{
    failConnection(tr("The server sent an invalid SFTP reply"));
}

void SftpWorker::failCommand(const QString &text)
{
    fail(text, false, RemoteClient::UnknownError);
}

void SftpWorker::failConnection(const QString &text, int error)
{
    fail(text, true, error);
}

// An interrupted worker says nothing more: the client has already moved on.
void SftpWorker::fail(const QString &text, bool connectionLost, int error)
{
    m_broken = m_broken || connectionLost;
    if (!m_interrupt->triggered())
        emit failed(error, text, connectionLost);
}

QString SftpWorker::sessionError() const
{
    return m_session ? QString::fromUtf8(ssh_get_error(m_session)) : QString();
}

// OpenSSH's server answers a full disk (and most else) with a bare "Failure".
QString SftpWorker::writeFault(const sftp::Reply &reply)
{
    return reply.status == sftp::Failure ? tr("the server could not write it (%1); its disk may be full").arg(statusText(reply))
                                         : statusText(reply);
}

QString SftpWorker::statusText(const sftp::Reply &reply)
{
    if (!reply.message.isEmpty())
        return reply.message;
    switch (reply.status) {
    case sftp::NoSuchFile:
        return tr("No such file");
    case sftp::PermissionDenied:
        return tr("Permission denied");
    case sftp::Failure:
        return tr("Failure");
    case sftp::OpUnsupported:
        return tr("Operation unsupported");
    default:
        return tr("Error %1").arg(reply.status);
    }
}

void SftpWorker::release()
{
    const bool graceful = !m_broken && !m_interrupt->triggered();
    if (m_channel) {
        if (graceful)
            ssh_channel_close(m_channel);
        ssh_channel_free(m_channel);
        m_channel = nullptr;
    }
    if (m_session) {
        if (graceful)
            ssh_disconnect(m_session);
        ssh_free(m_session);
        m_session = nullptr;
    }
    if (m_socket >= 0) {
        m_interrupt->setSocket(-1);
        ::close(m_socket);
        m_socket = -1;
    }
}
