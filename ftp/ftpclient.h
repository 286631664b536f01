#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QObject>
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

// An FTP client, after Qt 4's QFtp, on the queue of RemoteClient. Data connections are passive
// (EPSV, then PASV) and always go to the control connection's peer.
//
// Every connection asks for explicit TLS (AUTH TLS) right after the greeting, before the user
// name and password; when the server offers it, the data connections are encrypted too. A
// server that refuses it is used in plain FTP, unless TLS was required (setTlsRequired()) when
// the connection was queued: it then fails before the password is sent.
//
// A put reads its device in chunks; one that gives less than its size fails the put, and a
// sequential one is read until it has nothing more to give, so it must hold all its data when
// the put starts. A resumed put is REST offset, then STOR (the server must have announced REST
// STREAM), and fails unless the server's SIZE of the file then equals offset + the bytes sent.
// A raw command's refusal does not fail the command: the caller judges it. A refusal by the
// server reads as what failed, then the server's code and text: "Login failed: 530 Login
// incorrect."
class FtpClient final : public RemoteClient
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FtpClient)
public:
    explicit FtpClient(QObject *parent = nullptr);
    ~FtpClient() override;

    // Discards the queue and fails the running command at once; as the server may be in the
    // middle of anything, the connection is dropped too. A running put is aborted (ABOR) and its
    // data connection reset, so that the server does not keep the partial file as a whole one.
    void abort() override;

    // Time allowed to set up a TCP connection, and to wait for a reply or for data to move.
    void setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds idle) override;

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

    void execute() override;
    void commandEnding() override;
    void fail(Error error, const QString &text, bool dropConnection = false);
    // Fails the running command with the server's own words, after what was being done.
    void failWithReply(const ftp::Reply &reply, bool dropConnection = false);
    QString commandFailure(const QString &reason) const;

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

    Step m_step = Step::Connect;

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
    bool m_finalReply = false;
    bool m_dataClosed = false;
    bool m_sending = false;
    bool m_allSent = false;
    bool m_progressScheduled = false;
    qint64 m_done = 0;
    qint64 m_read = 0; // bytes taken from the device
    qint64 m_total = 0;
};
