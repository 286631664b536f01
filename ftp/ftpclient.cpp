#include "ftp/ftpclient.h"

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <QHostAddress>
#include <QLoggingCategory>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTimer>

#include "ftp/ftpparsers.h"
#include "ftp/remotenames.h"

Q_LOGGING_CATEGORY(lcFtp, "tessaly.ftp", QtInfoMsg)

namespace {

// What an upload reads from the device at a time, and lets wait in the data socket at most: little,
// so that memory does not grow with the file. An encrypting socket encrypts all that waits in one
// go, in buffers of that size; above the C library's threshold (128 KiB) each one is mapped and
// returned to the system, and a 1 GiB upload took hundreds of thousands of page faults. So over
// TLS it is one record at a time and less waiting.
struct UploadPace
{
    qint64 chunk;
    qint64 waiting;
};
constexpr UploadPace PlainPace{256 * 1024, 1024 * 1024};
constexpr UploadPace TlsPace{16 * 1024, 64 * 1024};
// A server that does not answer QUIT is left after this, whatever the idle limit.
constexpr std::chrono::milliseconds QuitTimeout{2000};
// No honest reply comes near this; a server that sends endless text is cut off.
constexpr qsizetype MaxReplySize = 1024 * 1024;

bool isPositive(int code)
{
    return code >= 200 && code < 300;
}

bool isPreliminary(int code)
{
    return code >= 100 && code < 200;
}

// What a simple command's success is said with; another positive reply may be a stray one.
int successCode(FtpClient::Command command)
{
    return command == FtpClient::Mkdir ? 257 : 250;
}

} // namespace

FtpClient::FtpClient(QObject *parent)
    : RemoteClient(parent)
    , m_watchdog(new QTimer(this))
{
    m_watchdog->setSingleShot(true);
    connect(m_watchdog, &QTimer::timeout, this, &FtpClient::onWatchdog);
}

FtpClient::~FtpClient()
{
    releaseHeldData();
    releaseData();
    releaseControl();
}

bool FtpClient::hasFeature(const QString &feature) const
{
    // "REST STREAM" is announced whole; "MLST" comes with its facts after a space.
    return std::any_of(m_features.cbegin(), m_features.cend(), [&](const QString &line) {
        return line.compare(feature, Qt::CaseInsensitive) == 0
            || (line.startsWith(feature, Qt::CaseInsensitive) && line.sliced(feature.size()).startsWith(u' '));
    });
}

void FtpClient::abort()
{
    clearPendingCommands();
    if (!isRunning())
        return;
    if (m_data && current().command == Put) {
        // ABOR, and the data connection reset rather than closed: a server that sees it close
        // normally takes the partial file for a whole one. Done at once, as the program may be
        // about to end.
        send("ABOR");
        m_control->flush();
        m_data->disconnect(this);
#ifdef Q_OS_UNIX
        const linger reset{1, 0};
        ::setsockopt(static_cast<int>(m_data->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
#endif
        m_data->abort();
    }
    fail(UnknownError, tr("Aborted"), true);
}

void FtpClient::setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds idle)
{
    m_connectTimeout = connect;
    m_idleTimeout = idle;
}

void FtpClient::acceptCertificate()
{
    if (!isRunning() || m_step != Step::Certificate)
        return;
    m_step = Step::Handshake;
    restartWatchdog();
    m_control->ignoreSslErrors(m_certificateErrors);
    m_control->resume();
}

void FtpClient::rejectCertificate()
{
    if (!isRunning() || m_step != Step::Certificate)
        return;
    fail(UnknownError, tr("The certificate of %1 was not accepted: connection cancelled").arg(current().name), true);
}

void FtpClient::execute()
{
    qDeleteAll(m_dropped);
    m_dropped.clear();
    const Request &request = current();
    if (!ftp::fitsInCommand(request.name)) {
        fail(UnknownError, tr("The name \"%1\" contains a line break").arg(request.name.simplified()));
        return;
    }
    if (!ftp::fitsInCommand(request.password)) {
        fail(UnknownError, tr("The password contains a line break"));
        return;
    }
    if (request.command == ConnectToHost) {
        releaseData();
        releaseControl();
        m_certificateErrors.clear();
        m_epsvRefused = false;
        m_epsvReached = false;
        m_useMlsd = false;
        m_features.clear();
        m_transferType.reset();
        setState(HostLookup);
        m_control = createTlsSocket();
        // The user is asked about a certificate that fails verification while the handshake waits.
        m_control->setPauseMode(QAbstractSocket::PauseOnSslErrors);
        connect(m_control, &QSslSocket::stateChanged, this, &FtpClient::onControlStateChanged);
        connect(m_control, &QSslSocket::connected, this, &FtpClient::onControlConnected);
        connect(m_control, &QSslSocket::readyRead, this, &FtpClient::onControlReadyRead);
        connect(m_control, &QSslSocket::disconnected, this, &FtpClient::onControlLost);
        connect(m_control, &QSslSocket::errorOccurred, this, &FtpClient::onControlLost);
        connect(m_control, &QSslSocket::sslErrors, this, &FtpClient::onControlSslErrors);
        connect(m_control, &QSslSocket::encrypted, this, &FtpClient::onControlEncrypted);
        m_step = Step::Connect;
        restartWatchdog();
        m_control->connectToHost(request.name, request.port);
        return;
    }
    if (request.command == Close) {
        if (!m_control) {
            finish();
            return;
        }
        setState(Closing);
        m_step = Step::Quit;
        restartWatchdog();
        send("QUIT");
        return;
    }
    if (state() != Connected && state() != LoggedIn) {
        fail(NotConnected, tr("Not connected"));
        return;
    }
    restartWatchdog();
    switch (request.command) {
    case Login:
        m_step = Step::User;
        send("USER " + request.name.toUtf8());
        break;
    case Cd:
        m_step = Step::Simple;
        send("CWD " + request.name.toUtf8());
        break;
    case Mkdir:
        m_step = Step::Simple;
        send("MKD " + request.name.toUtf8());
        break;
    case Remove:
        m_step = Step::Simple;
        send("DELE " + request.name.toUtf8());
        break;
    case RawCommand:
        m_step = Step::Raw;
        send(request.name.toUtf8());
        break;
    case List:
    case Put:
        startTransfer();
        break;
    default:
        Q_UNREACHABLE();
    }
}

void FtpClient::fail(Error error, const QString &text, bool dropConnection)
{
    // Stopped first: slots of stateChanged() must not see the command fail a second time.
    m_watchdog->stop();
    stop(error, text);
    releaseData();
    if (dropConnection) {
        disconnectControl();
    }
    finish();
}

void FtpClient::failWithReply(const ftp::Reply &reply, bool dropConnection)
{
    fail(UnknownError, commandFailure(ftp::replyMessage(reply)), dropConnection);
}

// As QFtp words it, with the reason after the colon.
QString FtpClient::commandFailure(const QString &reason) const
{
    switch (current().command) {
    case ConnectToHost:
        return tr("Connecting to host failed: %1").arg(reason);
    case Login:
        return tr("Login failed: %1").arg(reason);
    case List:
        return tr("Listing directory failed: %1").arg(reason);
    case Cd:
        return tr("Changing directory failed: %1").arg(reason);
    case Put:
        return tr("Uploading file failed: %1").arg(reason);
    case Remove:
        return tr("Removing file failed: %1").arg(reason);
    case Mkdir:
        return tr("Creating directory failed: %1").arg(reason);
    default:
        return reason;
    }
}

void FtpClient::commandEnding()
{
    m_watchdog->stop();
    releaseData();
    releaseHeldData();
    if (m_progressScheduled)
        reportProgress();
}

// Every socket is made by these two. Plain data connections get a QTcpSocket: a QSslSocket,
// even unencrypted, costs a third of the throughput of a fast link.
QTcpSocket *FtpClient::createSocket()
{
    return new QTcpSocket(this);
}

// Plain until startClientEncryption().
QSslSocket *FtpClient::createTlsSocket()
{
    auto *socket = new QSslSocket(this);
    QSslConfiguration configuration = socket->sslConfiguration();
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    // vsftpd and proftpd refuse data connections that do not resume the control session.
    configuration.setSslOption(QSsl::SslOptionDisableSessionPersistence, false);
    socket->setSslConfiguration(configuration);
    return socket;
}

// A released socket is aborted from the event loop, and deleted only when the next command
// starts: we may be inside one of its signals (Qt's send loop), where an abort loses data or
// crashes, and a slot may hold a nested event loop (a message box) there meanwhile.
void FtpClient::dropSocket(QTcpSocket *socket)
{
    socket->disconnect(this);
    QMetaObject::invokeMethod(socket, &QAbstractSocket::abort, Qt::QueuedConnection);
    m_dropped.push_back(socket);
}

void FtpClient::releaseControl()
{
    if (!m_control)
        return;
    dropSocket(m_control);
    m_control = nullptr;
    m_encrypted = false;
    m_replies.clear();
    m_staleReplies = 0;
}

void FtpClient::releaseData()
{
    if (!m_data)
        return;
    dropSocket(m_data);
    m_data = nullptr;
    m_tlsData = nullptr;
}

void FtpClient::disconnectControl()
{
    releaseControl();
    setState(Unconnected);
}

void FtpClient::send(const QByteArray &command)
{
    if (command.startsWith("PASS "))
        qCDebug(lcFtp) << "->" << "PASS ****";
    else
        qCDebug(lcFtp) << "->" << command;
    m_control->write(command + "\r\n");
}

void FtpClient::restartWatchdog()
{
    if (m_step == Step::Connect || m_step == Step::EpsvConnect)
        m_watchdog->start(m_connectTimeout);
    else if (m_step == Step::Quit)
        m_watchdog->start(std::min(QuitTimeout, m_idleTimeout));
    else
        m_watchdog->start(m_idleTimeout);
}

void FtpClient::onWatchdog()
{
    if (!isRunning())
        return;
    switch (m_step) {
    case Step::Connect:
        fail(UnknownError, tr("Connection to host %1 timed out").arg(current().name), true);
        break;
    case Step::Quit:
        // The server did not say goodbye; closing is what was asked anyway.
        disconnectControl();
        finish();
        break;
    case Step::EpsvConnect:
        fallBackToPasv();
        break;
    case Step::Transfer:
        fail(UnknownError, tr("The data transfer stalled"), true);
        break;
    default:
        fail(UnknownError, tr("The server did not reply in time"), true);
        break;
    }
}

void FtpClient::onControlStateChanged()
{
    if (m_control->state() == QAbstractSocket::ConnectingState)
        setState(Connecting);
}

// Connected as soon as TCP is, as QFtp reports it: before the greeting and before AUTH TLS, so
// that a server that turns us away (421) is seen to have been reached.
void FtpClient::onControlConnected()
{
    m_step = Step::Greeting;
    restartWatchdog();
    setState(Connected);
}

void FtpClient::onControlReadyRead()
{
    m_replies.append(m_control->readAll());
    while (m_control) {
        const std::optional<ftp::Reply> reply = m_replies.next();
        if (!reply)
            break;
        qCDebug(lcFtp) << "<-" << reply->code << reply->text;
        onReply(*reply);
    }
    if (m_control && m_replies.pendingSize() > MaxReplySize) {
        if (isRunning())
            fail(UnknownError, tr("The server sent an overlong reply"), true);
        else {
            disconnectControl();
        }
    }
}

void FtpClient::onControlLost()
{
    if (!m_control)
        return;
    const QAbstractSocket::SocketError socketError = m_control->error();
    const QString socketText = m_control->errorString();
    if (!isRunning()) {
        disconnectControl();
        return;
    }
    if (m_step == Step::Quit) {
        disconnectControl();
        finish();
        return;
    }
    if (m_step == Step::Connect) {
        const QString &host = current().name;
        if (socketError == QAbstractSocket::HostNotFoundError)
            fail(HostNotFound, tr("Host %1 not found").arg(host), true);
        else if (socketError == QAbstractSocket::ConnectionRefusedError)
            fail(ConnectionRefused, tr("Connection refused to host %1").arg(host), true);
        else
            fail(UnknownError, tr("Connection to host %1 failed: %2").arg(host, socketText), true);
        return;
    }
    if (m_step == Step::Handshake) {
        fail(UnknownError, tr("TLS handshake with %1 failed: %2").arg(current().name, socketText), true);
        return;
    }
    if (socketError == QAbstractSocket::RemoteHostClosedError)
        fail(UnknownError, tr("Connection closed by the server"), true);
    else
        fail(UnknownError, tr("Connection to the server lost: %1").arg(socketText), true);
}

void FtpClient::onControlSslErrors(const QList<QSslError> &errors)
{
    if (!isRunning() || m_step != Step::Handshake)
        return;
    // The socket has paused the handshake; the question may take longer than any time limit.
    m_step = Step::Certificate;
    m_watchdog->stop();
    m_certificateErrors = errors;
    const int id = current().id;
    QMetaObject::invokeMethod(this, [this, id] {
        if (isRunning(id) && m_step == Step::Certificate)
            emit untrustedCertificate(m_control->peerCertificate(), m_certificateErrors);
    }, Qt::QueuedConnection);
}

void FtpClient::onControlEncrypted()
{
    if (!isRunning() || m_step != Step::Handshake)
        return;
    m_encrypted = true;
    finish();
}

void FtpClient::onReply(const ftp::Reply &reply)
{
    if (m_staleReplies > 0 && reply.code != 0 && reply.code != 421 && !isPreliminary(reply.code)) {
        --m_staleReplies;
        return;
    }
    if (reply.code == 421 || reply.code == 0) {
        // 421: the server is going away; anything that is not a reply: we no longer agree on
        // where we are. Either way the connection is over.
        if (isRunning() && m_step != Step::Quit) {
            if (reply.code == 421)
                failWithReply(reply, true);
            else
                fail(UnknownError, tr("Invalid reply from the server: %1").arg(reply.text), true);
        } else {
            disconnectControl();
            if (isRunning())
                finish();
        }
        return;
    }
    if (!isRunning())
        return;
    restartWatchdog();
    const int code = reply.code;
    switch (m_step) {
    case Step::Connect:
    case Step::Greeting:
        if (isPreliminary(code))
            return;
        if (code == 220) {
            m_step = Step::Auth;
            send("AUTH TLS");
        } else {
            failWithReply(reply, true);
        }
        return;
    case Step::Auth:
        onAuthReply(reply);
        return;
    case Step::User:
        if (code == 331) {
            m_step = Step::Password;
            send("PASS " + current().password.toUtf8());
        } else if (isPositive(code)) {
            afterLogin();
        } else {
            failWithReply(reply);
        }
        return;
    case Step::Password:
        if (isPositive(code))
            afterLogin();
        else
            failWithReply(reply);
        return;
    case Step::Pbsz:
        if (isPositive(code)) {
            m_step = Step::Prot;
            send("PROT P");
        } else {
            failWithReply(reply);
        }
        return;
    case Step::Prot:
        if (isPositive(code)) {
            m_step = Step::Features;
            send("FEAT");
        } else {
            failWithReply(reply);
        }
        return;
    case Step::Features: {
        const QStringList features = isPositive(code) ? ftp::parseFeatures(reply.text) : QStringList();
        m_useMlsd = features.contains(QLatin1String("MLST"));
        if (isPositive(code))
            m_features = ftp::parseFeatureLines(reply.text);
        if (features.contains(QLatin1String("UTF8"))) {
            m_step = Step::Utf8;
            send("OPTS UTF8 ON");
            return;
        }
        setState(LoggedIn);
        finish();
        return;
    }
    case Step::Utf8:
        // Refusal is fine: such servers speak UTF-8 anyway.
        setState(LoggedIn);
        finish();
        return;
    case Step::Simple:
        if (isPreliminary(code))
            return;
        if (isPositive(code) && code != successCode(current().command)) {
            // Some servers send a stray reply before the real one, which would then be taken for
            // the next command's. A NOOP tells which of the two this is.
            m_step = Step::Sync;
            send("NOOP");
        } else if (isPositive(code)) {
            finish();
        } else {
            failWithReply(reply);
        }
        return;
    case Step::Sync:
        if (isPreliminary(code))
            return;
        if (code == 200) {
            // The NOOP's: the odd reply was the command's only one.
            finish();
            return;
        }
        // The command's own reply came late; the NOOP's is still to come.
        ++m_staleReplies;
        if (isPositive(code))
            finish();
        else
            failWithReply(reply);
        return;
    case Step::Type:
        if (isPositive(code)) {
            m_transferType = current().type;
            requestPassivePort();
        } else {
            failWithReply(reply);
        }
        return;
    case Step::Epsv:
    case Step::Pasv:
        onPassiveReply(reply);
        return;
    case Step::Handshake:
    case Step::Certificate:
    case Step::EpsvConnect:
        // Nothing was asked of the server meanwhile.
        fail(UnknownError, tr("Unexpected reply from the server: %1").arg(ftp::replyMessage(reply)), true);
        return;
    case Step::Transfer:
        onTransferReply(reply);
        return;
    case Step::Rest:
        if (code == 350) {
            m_step = Step::Transfer;
            send("STOR " + current().name.toUtf8());
        } else {
            failWithReply(reply);
        }
        return;
    case Step::VerifySize: {
        bool ok = false;
        const qint64 size = reply.text.trimmed().toLongLong(&ok);
        const qint64 expected = current().offset + m_read;
        if (code == 213 && ok && size == expected)
            finish();
        else
            fail(UnknownError, tr("The file %1 was not completed: %2 bytes expected, the server answered SIZE with \"%3 %4\"")
                                   .arg(current().name).arg(expected).arg(code).arg(reply.text));
        return;
    }
    case Step::Raw: {
        if (isPreliminary(code))
            return;
        const int id = current().id;
        emit rawCommandReply(code, reply.text);
        if (isRunning(id))
            finish();
        return;
    }
    case Step::Quit:
        disconnectControl();
        finish();
        return;
    }
}

void FtpClient::onAuthReply(const ftp::Reply &reply)
{
    const int code = reply.code;
    if (isPreliminary(code))
        return;
    if (code == 234) {
        m_step = Step::Handshake;
        m_control->startClientEncryption();
    } else if (code >= 500 && !current().tlsRequired) {
        // The server has no TLS: plain FTP, as before.
        finish();
    } else if (code >= 500) {
        // Going on would send the password in clear to a host that used to encrypt.
        fail(UnknownError,
             tr("%1 no longer offers TLS (\"%2\"): the connection was stopped and the password was not sent")
                 .arg(current().name, ftp::replyMessage(reply)),
             true);
    } else {
        // The server offers TLS but cannot now: plain FTP would send the password in clear.
        failWithReply(reply, true);
    }
}

// Commands that follow a successful login: on an encrypted connection the data connections are
// protected first (RFC 4217).
void FtpClient::afterLogin()
{
    if (m_encrypted) {
        m_step = Step::Pbsz;
        send("PBSZ 0");
    } else {
        m_step = Step::Features;
        send("FEAT");
    }
}

void FtpClient::startTransfer()
{
    m_listLines.clear();
    m_localFault.clear();
    m_finalReply = false;
    m_dataConnected = false;
    m_dataClosed = false;
    m_transferStarted = false;
    m_dataStarted = false;
    m_sending = false;
    m_allSent = false;
    m_done = 0;
    m_read = 0;
    m_total = 0;
    if (current().command == Put) {
        QIODevice *device = current().device;
        const QString failure = openDevice();
        if (!failure.isEmpty()) {
            fail(UnknownError, failure);
            return;
        }
        m_total = device->isSequential() ? 0 : device->size() - device->pos();
    }
    if (m_transferType != current().type) {
        m_step = Step::Type;
        send(current().type == Binary ? "TYPE I" : "TYPE A");
        return;
    }
    requestPassivePort();
}

void FtpClient::fallBackToPasv()
{
    releaseData();
    m_epsvRefused = true;
    requestPassivePort();
}

void FtpClient::requestPassivePort()
{
    m_step = m_epsvRefused ? Step::Pasv : Step::Epsv;
    send(m_epsvRefused ? "PASV" : "EPSV");
}

void FtpClient::onPassiveReply(const ftp::Reply &reply)
{
    std::optional<quint16> port;
    if (reply.code == 229)
        port = ftp::parseEpsvPort(reply.text);
    else if (reply.code == 227) // some servers answer EPSV the PASV way
        port = ftp::parsePasvPort(reply.text);
    if (port) {
        openDataConnection(*port);
    } else if (m_step == Step::Epsv) {
        // Whatever the reason (refused, not understood, a reply we cannot read), PASV may work.
        fallBackToPasv();
    } else if (reply.code == 227) {
        fail(UnknownError, tr("Invalid reply from the server: %1").arg(ftp::replyMessage(reply)));
    } else {
        failWithReply(reply);
    }
}

// The command goes at once, while the data connection opens: waiting for the connection first
// costs a round trip per file. Only the first port an EPSV names is reached first: behind some
// firewalls it accepts nothing, and the server, given the command, would wait for a connection
// that never comes; PASV is then used at once, for the rest of the session.
void FtpClient::openDataConnection(quint16 port)
{
    const bool probe = m_step == Step::Epsv && !m_epsvReached;
    m_step = probe ? Step::EpsvConnect : Step::Transfer;
    if (m_encrypted) {
        m_tlsData = createTlsSocket();
        QSslConfiguration configuration = m_tlsData->sslConfiguration();
        // Taken now rather than at the control handshake: a TLS 1.3 ticket comes after it.
        configuration.setSessionTicket(m_control->sslConfiguration().sessionTicket());
        m_tlsData->setSslConfiguration(configuration);
        // The same server as the control connection, with the certificate accepted there.
        m_tlsData->setPeerVerifyName(m_control->peerName());
        m_tlsData->ignoreSslErrors(m_certificateErrors);
        connect(m_tlsData, &QSslSocket::encrypted, this, &FtpClient::beginTransfer);
        connect(m_tlsData, &QSslSocket::encryptedBytesWritten, this, [this] {
            restartWatchdog();
            fillDataSocket();
        });
        m_data = m_tlsData;
    } else {
        m_data = createSocket();
    }
    connect(m_data, &QTcpSocket::connected, this, &FtpClient::onDataConnected);
    connect(m_data, &QTcpSocket::readyRead, this, &FtpClient::onDataReadyRead);
    connect(m_data, &QTcpSocket::bytesWritten, this, &FtpClient::onDataBytesWritten);
    connect(m_data, &QTcpSocket::disconnected, this, &FtpClient::onDataDisconnected);
    connect(m_data, &QTcpSocket::errorOccurred, this, &FtpClient::onDataError);
    // The address a PASV reply names is ignored: behind NAT it is often wrong, and obeying it
    // would let a server point us at a third host.
    m_data->connectToHost(m_control->peerAddress(), port);
    if (probe)
        restartWatchdog();
    else
        sendTransferCommand();
}

void FtpClient::sendTransferCommand()
{
    const QByteArray name = current().name.toUtf8();
    if (current().command == Put)
        sendStore();
    else
        send((m_useMlsd ? "MLSD" : "LIST") + (name.isEmpty() ? QByteArray() : ' ' + name));
}

void FtpClient::onDataConnected()
{
    m_dataConnected = true;
    if (m_step == Step::EpsvConnect) {
        m_epsvReached = true;
        m_step = Step::Transfer;
        sendTransferCommand();
    }
    restartWatchdog();
    startDataIfReady();
}

// Data moves once the connection is open and the server has accepted the command. The data
// handshake waits for both: the server may not be listening for it before the command.
void FtpClient::startDataIfReady()
{
    if (!m_dataConnected || !m_transferStarted || m_dataStarted)
        return;
    m_dataStarted = true;
    if (m_tlsData)
        m_tlsData->startClientEncryption();
    else
        beginTransfer();
}

// A resumed put names its offset right before STOR: some servers forget it after other commands.
void FtpClient::sendStore()
{
    if (current().offset > 0) {
        m_step = Step::Rest;
        send("REST " + QByteArray::number(current().offset));
        return;
    }
    send("STOR " + current().name.toUtf8());
}

void FtpClient::beginTransfer()
{
    if (current().command != Put)
        return;
    const int id = current().id;
    m_sending = true;
    emit dataTransferProgress(0, m_total);
    if (isRunning(id))
        fillDataSocket();
}

void FtpClient::onDataReadyRead()
{
    restartWatchdog();
    if (current().command != List) {
        m_data->readAll();
        return;
    }
    const int id = current().id;
    m_listLines.append(m_data->readAll());
    emitListEntries(false);
    // What is left is one unfinished line: a server that never ends it must not fill the memory.
    // Its reply to the listing can no longer be trusted to come in step: the connection goes.
    if (isRunning(id) && m_listLines.size() > MaxReplySize) {
        m_listLines.clear();
        fail(UnknownError, tr("The server sent an overlong listing line"), true);
    }
}

void FtpClient::emitListEntries(bool flush)
{
    const int id = current().id;
    for (;;) {
        std::optional<QByteArray> line = m_listLines.takeLine();
        if (!line && flush && m_listLines.size() > 0)
            line = m_listLines.takeRest(); // the last line may lack its end
        if (!line)
            return;
        const QString text = QString::fromUtf8(*line);
        const std::optional<UrlInfo> info = m_useMlsd ? ftp::parseMlsdLine(text) : ftp::parseListLine(text);
        if (!info)
            continue;
        emit listInfo(*info);
        if (!isRunning(id))
            return;
    }
}

void FtpClient::onDataBytesWritten(qint64 bytes)
{
    restartWatchdog();
    m_done += bytes;
    // Reported from the event loop, not from inside the socket's signal: a slot may hold the
    // event loop (a message box at 100 %) while the server confirms the file.
    if (!m_progressScheduled) {
        m_progressScheduled = true;
        QMetaObject::invokeMethod(this, &FtpClient::reportProgress, Qt::QueuedConnection);
    }
    fillDataSocket();
}

void FtpClient::reportProgress()
{
    if (!m_progressScheduled)
        return;
    m_progressScheduled = false;
    emit dataTransferProgress(m_done, m_total);
}

QByteArray &FtpClient::freeChunk(qint64 size)
{
    const auto isFree = [](const QByteArray &chunk) { return chunk.isDetached(); };
    const auto found = std::find_if(m_chunks.begin(), m_chunks.end(), isFree);
    QByteArray &chunk = found != m_chunks.end() ? *found : m_chunks.emplace_back();
    chunk.resize(size);
    return chunk;
}

void FtpClient::fillDataSocket()
{
    QIODevice *device = current().device;
    // Encrypted bytes count too: an encrypting socket moves all its plain bytes into its own
    // buffer at once.
    const auto waiting = [this] { return m_data->bytesToWrite() + (m_tlsData ? m_tlsData->encryptedBytesToWrite() : 0); };
    const UploadPace pace = m_tlsData ? TlsPace : PlainPace;
    while (m_sending && m_data && waiting() < pace.waiting) {
        QByteArray &chunk = freeChunk(pace.chunk);
        const qint64 read = device ? device->read(chunk.data(), pace.chunk) : -1;
        if (read < 0) {
            abandonTransfer(device ? tr("Cannot read the data to send: %1").arg(device->errorString())
                                   : tr("The data to send went away during the transfer"));
            return;
        }
        if (read == 0) {
            // A file that shrank while it was sent must not pass for a whole one.
            if (!device->isSequential() && m_read < m_total) {
                abandonTransfer(tr("The data to send ended early: %1 of %2 bytes").arg(m_read).arg(m_total));
                return;
            }
            m_sending = false;
            m_allSent = true;
            closeDataConnection();
            return;
        }
        m_read += read;
        chunk.truncate(read);
        m_data->write(chunk);
    }
}

// Closing the data connection is how the server learns that the file is whole; under TLS it must
// be a close_notify, or servers reply 426 or keep a truncated file. The socket sends what it still
// holds first, then closes.
//
// Under TLS 1.3 the server may send session tickets on the data connection at any time after the
// handshake. Closing with one unread makes the system reset the connection, and the server loses
// the end of the file. So the connection is held open on a second descriptor, shut for writing
// once the close_notify is out, until the server's final reply says that it has all.
void FtpClient::closeDataConnection()
{
#ifdef Q_OS_UNIX
    if (m_tlsData)
        m_heldData = ::dup(static_cast<int>(m_tlsData->socketDescriptor()));
#endif
    m_data->disconnectFromHost();
}

void FtpClient::releaseHeldData()
{
#ifdef Q_OS_UNIX
    if (m_heldData >= 0)
        ::close(m_heldData);
#endif
    m_heldData = -1;
}

void FtpClient::onTransferReply(const ftp::Reply &reply)
{
    const int code = reply.code;
    if (isPreliminary(code)) {
        m_transferStarted = true;
        startDataIfReady();
        return;
    }
    if (!isPositive(code)) {
        fail(UnknownError, transferFailure(ftp::replyMessage(reply)));
        return;
    }
    m_finalReply = true;
    finishTransferIfComplete();
}

void FtpClient::onDataDisconnected()
{
#ifdef Q_OS_UNIX
    if (m_heldData >= 0)
        ::shutdown(m_heldData, SHUT_WR);
#endif
    if (current().command == List) {
        m_listLines.append(m_data->readAll());
        const int id = current().id;
        emitListEntries(true);
        if (!isRunning(id))
            return;
    }
    m_dataClosed = true;
    m_sending = false;
    releaseData();
    finishTransferIfComplete();
}

void FtpClient::onDataError()
{
    if (m_step == Step::EpsvConnect) {
        qCDebug(lcFtp) << "EPSV port unreachable:" << m_data->errorString();
        fallBackToPasv();
        return;
    }
    if (!m_dataConnected) {
        // The server has the command already: its reply ends the transfer.
        abandonTransfer(tr("Cannot open the data connection: %1").arg(m_data->errorString()));
        finishTransferIfComplete();
        return;
    }
    if (m_tlsData && !m_tlsData->isEncrypted()) {
        abandonTransfer(tr("The encrypted data connection failed: %1").arg(m_data->errorString()));
        finishTransferIfComplete();
        return;
    }
    // The server ended the stream with its close_notify while the connection stays up; vsftpd
    // then waits for this side to close before it replies. Queued: this runs inside the socket.
    if (m_data->error() == QAbstractSocket::RemoteHostClosedError
        && m_data->state() != QAbstractSocket::UnconnectedState) {
        QMetaObject::invokeMethod(m_data, &QAbstractSocket::disconnectFromHost, Qt::QueuedConnection);
        return;
    }
    // A transfer that breaks shows as a closed connection; the server's reply tells the rest.
    if (m_data->state() == QAbstractSocket::UnconnectedState)
        onDataDisconnected();
}

// The server sees the data connection end and replies; that reply then fails the command with
// this local reason.
void FtpClient::abandonTransfer(const QString &fault)
{
    m_localFault = fault;
    m_sending = false;
    m_dataClosed = true;
    releaseData();
}

QString FtpClient::transferFailure(const QString &reason) const
{
    // A put cut short here, or whose encrypted data connection failed, may leave a partial or
    // empty file on the server: it must not pass for a file that arrived.
    if (current().command == Put && (!m_localFault.isEmpty() || (m_encrypted && m_done == 0)))
        return tr("The file %1 was not sent: %2").arg(current().name, m_localFault.isEmpty() ? reason : m_localFault);
    return m_localFault.isEmpty() ? commandFailure(reason) : m_localFault;
}

void FtpClient::finishTransferIfComplete()
{
    if (!m_finalReply)
        return;
    if (current().command == List) {
        if (m_dataClosed && m_localFault.isEmpty())
            finish();
        else if (m_dataClosed)
            fail(UnknownError, m_localFault);
    } else if (!m_localFault.isEmpty()) {
        fail(UnknownError, transferFailure(m_localFault));
    } else if (!m_allSent) {
        fail(UnknownError, tr("The data connection closed before the whole file was sent"));
    } else if (current().offset > 0) {
        m_step = Step::VerifySize;
        send("SIZE " + current().name.toUtf8());
    } else {
        finish();
    }
}
