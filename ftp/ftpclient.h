#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <QSslError>
#include <QString>
#include <QStringList>

#include "ftp/ftpparsers.h"
#include "remote/remoteclient.h"
#include "remote/urlinfo.h"

class QIODevice;
class QSslSocket;
class QTcpSocket;
class QTimer;

// An FTP client with a command queue, after Qt 4's QFtp: every call queues one command and
// returns its id; commands run one at a time, in order, on the calling thread. A failed command
// discards the commands queued behind it. Data connections are passive (EPSV, then PASV) and
// always go to the control connection's peer.
//
// Every connection asks for explicit TLS (AUTH TLS) right after the greeting, before the user
// name and password; when the server offers it, the data connections are encrypted too. A
// server that refuses it is used in plain FTP, unless TLS was required for the connection.
class FtpClient final : public RemoteClient
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FtpClient)
public:
    explicit FtpClient(QObject *parent = nullptr);
    ~FtpClient() override;

    // The connection refuses plain FTP if TLS was required (setTlsRequired()) when it was queued.
    int connectToHost(const QString &host, quint16 port = 21) override;
    int login(const QString &user, const QString &password) override;
    int cd(const QString &dir) override;
    int mkdir(const QString &dir) override;
    // Lists dir, or the current directory when dir is empty: one listInfo() per entry.
    int list(const QString &dir = QString()) override;
    // Sends device, read in chunks, to remoteName. The put opens the device read-only when it
    // starts (and closes it again) unless it is already open; it must live until the put ends.
    // A device that gives less than its size fails the put. A sequential device is read until
    // it has nothing more to give, so it must hold all its data when the put starts.
    int put(QIODevice *device, const QString &remoteName, TransferType type = Binary) override;
    // Completes remoteName, which holds the first offset bytes of device, with the rest of it
    // (REST offset, then STOR). The server must have announced REST STREAM. The put fails
    // unless the server's SIZE of the file then equals offset + the bytes sent.
    int resumePut(QIODevice *device, const QString &remoteName, qint64 offset, TransferType type = Binary) override;
    // Sends command as it is; its final reply comes in rawCommandReply(). A reply that refuses
    // does not fail the command: the caller judges it.
    int rawCommand(const QString &command) override;
    int remove(const QString &file) override;
    int close() override;

    State state() const override { return m_state; }
    // While commandFinished() is delivered: the command that finished.
    Command currentCommand() const override;
    int currentId() const override;
    // Commands queued and not started yet.
    bool hasPendingCommands() const override { return !m_pending.empty(); }
    // The last failure, until the next command starts. A refusal by the server reads as what
    // failed, then the server's code and text: "Login failed: 530 Login incorrect."
    Error error() const override { return m_error; }
    QString errorString() const override { return m_errorString; }

    void clearPendingCommands() override;
    // Discards the queue and fails the running command at once; as the server may be in the
    // middle of anything, the connection is dropped too. A running put is aborted (ABOR) and its
    // data connection reset, so that the server does not keep the partial file as a whole one.
    void abort() override;

    // Time allowed to set up a TCP connection, and to wait for a reply or for data to move.
    void setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds idle) override;

    // For the connections queued from now on, to a server that has encrypted before: if it now
    // refuses TLS, the connection fails before the password is sent, instead of going on in
    // plain FTP.
    void setTlsRequired(bool required) override { m_tlsRequired = required; }
    // The control connection is encrypted (and so are its data connections).
    bool isEncrypted() const override { return m_encrypted; }
    // The server announced feature ("MDTM", "SIZE", "MLST", "REST STREAM") in its FEAT reply,
    // after the login of the current connection.
    bool hasFeature(const QString &feature) const override;

    // Answers untrustedCertificate(): the handshake goes on, ignoring the errors reported (and
    // the same errors on the data connections), or the connection fails.
    void acceptCertificate() override;
    void rejectCertificate() override;

private:
    struct Request
    {
        Request(Command command, const QString &name)
            : command(command)
            , name(name)
        {
        }

        int id = 0;
        Command command;
        QString name; // host, user, directory or file
        QString password;
        quint16 port = 0;
        bool tlsRequired = false;
        QPointer<QIODevice> device;
        TransferType type = Binary;
        qint64 offset = 0; // of a resumed put
    };

    enum class Step {
        Connect,
        Greeting,
        Auth,
        Handshake,
        Certificate,
        User,
        Password,
        Pbsz,
        Prot,
        Features,
        Utf8,
        Simple,
        // A NOOP after an unexpected positive reply.
        Sync,
        Type,
        Epsv,
        Pasv,
        // The data connection opens before the transfer command is sent.
        EpsvConnect,
        Transfer,
        Rest,
        VerifySize,
        Raw,
        Quit
    };

    int enqueue(Request request);
    void startNext();
    void execute();
    void fail(Error error, const QString &text, bool dropConnection = false);
    // Fails the running command with the server's own words, after what was being done.
    void failWithReply(const ftp::Reply &reply, bool dropConnection = false);
    QString commandFailure(const QString &reason) const;
    void finish();
    bool isRunning(int id) const { return m_running && m_current && m_current->id == id; }
    void setState(State state);

    QTcpSocket *createSocket();
    QSslSocket *createTlsSocket();
    void dropSocket(QTcpSocket *socket);
    void releaseControl();
    void releaseData();
    // Drops the control connection and reports the state as Unconnected.
    void disconnectControl();
    void send(const QByteArray &command);
    void restartWatchdog();
    void onWatchdog();

    void onControlStateChanged();
    void onControlConnected();
    void onControlReadyRead();
    void onControlLost();
    void onControlSslErrors(const QList<QSslError> &errors);
    void onControlEncrypted();
    void onReply(const ftp::Reply &reply);
    void onAuthReply(const ftp::Reply &reply);
    void afterLogin();
    void onTransferReply(const ftp::Reply &reply);

    void startTransfer();
    void fallBackToPasv();
    void requestPassivePort();
    void onPassiveReply(const ftp::Reply &reply);
    void openDataConnection(quint16 port);
    void sendTransferCommand();
    void onDataConnected();
    void startDataIfReady();
    void sendStore();
    void beginTransfer();
    void onDataReadyRead();
    void onDataBytesWritten(qint64 bytes);
    void reportProgress();
    void onDataDisconnected();
    void onDataError();
    void emitListEntries(bool flush);
    void fillDataSocket();
    QByteArray &freeChunk(qint64 size);
    void closeDataConnection();
    void releaseHeldData();
    void abandonTransfer(const QString &fault);
    QString transferFailure(const QString &reason) const;
    void finishTransferIfComplete();

    State m_state = Unconnected;
    Error m_error = NoError;
    QString m_errorString;
    std::deque<Request> m_pending;
    std::optional<Request> m_current;
    bool m_running = false;
    bool m_startScheduled = false;
    int m_lastId = 0;
    Step m_step = Step::Connect;

    bool m_tlsRequired = false;
    QSslSocket *m_control = nullptr;
    // Released, waiting to be deleted.
    std::vector<QTcpSocket *> m_dropped;
    ftp::ReplyReader m_replies;
    // Replies still to come for commands already done with: dropped.
    int m_staleReplies = 0;
    QTimer *m_watchdog = nullptr;
    std::chrono::milliseconds m_connectTimeout{30000};
    std::chrono::milliseconds m_idleTimeout{60000};

    // Per connection, learnt from the server.
    bool m_encrypted = false;
    // Verification errors of the control connection's certificate: asked about, then accepted.
    QList<QSslError> m_certificateErrors;
    bool m_epsvRefused = false;
    // A data connection reached a port EPSV named.
    bool m_epsvReached = false;
    bool m_useMlsd = false;
    QStringList m_features;
    std::optional<TransferType> m_transferType;

    // The running transfer.
    QTcpSocket *m_data = nullptr;
    // m_data when it is encrypted.
    QSslSocket *m_tlsData = nullptr;
    bool m_dataConnected = false;
    // The server's preliminary reply (150) has come.
    bool m_transferStarted = false;
    // The data handshake has started, or the data has.
    bool m_dataStarted = false;
    // The encrypted data connection, closed by its socket but kept open by this descriptor
    // until the server's final reply; -1 when there is none.
    int m_heldData = -1;
    ftp::LineBuffer m_listLines;
    // Lent to the data socket, which holds each until it is sent, instead of copying it: one is
    // filled again once the socket has let it go.
    std::vector<QByteArray> m_chunks;
    QString m_localFault;
    bool m_openedDevice = false;
    bool m_finalReply = false;
    bool m_dataClosed = false;
    bool m_sending = false;
    bool m_allSent = false;
    bool m_progressScheduled = false;
    qint64 m_done = 0;
    qint64 m_read = 0; // bytes taken from the device
    qint64 m_total = 0;
};
