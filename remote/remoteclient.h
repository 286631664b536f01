#pragma once

#include <chrono>

#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslError>
#include <QString>

#include "remote/urlinfo.h"

class QIODevice;

// What the window and the publishing plan ask of a server, whatever protocol reaches it: a
// command queue after Qt 4's QFtp. Every call queues one command and returns its id; commands
// run one at a time, in order, on the calling thread, and are reported from the event loop. A
// failed command discards the commands queued behind it.
class RemoteClient : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RemoteClient)
public:
    enum State { Unconnected, HostLookup, Connecting, Connected, LoggedIn, Closing };
    Q_ENUM(State)
    enum Command {
        None,
        SetTransferMode,
        SetProxy,
        ConnectToHost,
        Login,
        Close,
        List,
        Cd,
        Get,
        Put,
        Remove,
        Mkdir,
        Rmdir,
        Rename,
        RawCommand
    };
    Q_ENUM(Command)
    enum Error { NoError, UnknownError, HostNotFound, ConnectionRefused, NotConnected };
    Q_ENUM(Error)
    enum TransferType { Binary, Ascii };
    Q_ENUM(TransferType)

    explicit RemoteClient(QObject *parent = nullptr);
    ~RemoteClient() override;

    virtual int connectToHost(const QString &host, quint16 port) = 0;
    virtual int login(const QString &user, const QString &password) = 0;
    virtual int cd(const QString &dir) = 0;
    virtual int mkdir(const QString &dir) = 0;
    // Lists dir, or the current directory when dir is empty: one listInfo() per entry.
    virtual int list(const QString &dir = QString()) = 0;
    // Sends device to remoteName. The put opens the device read-only when it starts (and closes
    // it again) unless it is already open; it must live until the put ends.
    virtual int put(QIODevice *device, const QString &remoteName, TransferType type = Binary) = 0;
    // Completes remoteName, which holds the first offset bytes of device, with the rest of it.
    // Only where hasFeature("REST STREAM") tells that the server can.
    virtual int resumePut(QIODevice *device, const QString &remoteName, qint64 offset, TransferType type = Binary) = 0;
    // A protocol command sent as it is; its final reply comes in rawCommandReply().
    virtual int rawCommand(const QString &command) = 0;
    virtual int remove(const QString &file) = 0;
    virtual int close() = 0;

    virtual State state() const = 0;
    // While commandFinished() is delivered: the command that finished.
    virtual Command currentCommand() const = 0;
    virtual int currentId() const = 0;
    // Commands queued and not started yet.
    virtual bool hasPendingCommands() const = 0;
    // The last failure, until the next command starts.
    virtual Error error() const = 0;
    virtual QString errorString() const = 0;

    virtual void clearPendingCommands() = 0;
    // Discards the queue and fails the running command at once. A running put is cut so that
    // the server does not keep the partial file as a whole one.
    virtual void abort() = 0;

    // Time allowed to set up a connection, and to wait for a reply or for data to move.
    virtual void setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds idle) = 0;

    // The connection and the data it carries are encrypted.
    virtual bool isEncrypted() const = 0;
    // What the server can do, in the words of FTP's FEAT: "REST STREAM" and "SIZE" (a cut
    // upload can be completed, then checked), "MLST" (listings give exact times), "MDTM"
    // (rawCommand("MDTM name") tells a file's exact time).
    virtual bool hasFeature(const QString &feature) const = 0;

    // For the connections queued from now on, to a server that has encrypted before: one that
    // now offers no encryption fails before the password is sent. A protocol that always
    // encrypts ignores it.
    virtual void setTlsRequired(bool required);

    // Answers untrustedCertificate(): the handshake goes on, or the connection fails. A client
    // that never asks ignores the answer.
    virtual void acceptCertificate();
    virtual void rejectCertificate();
    // Answers unknownHostKey(): the login goes on (always: the key joins the known hosts once
    // the login has succeeded), or the connection fails.
    virtual void acceptHostKey(bool always);
    virtual void rejectHostKey();

Q_SIGNALS:
    void stateChanged(int state);
    void commandStarted(int id);
    void commandFinished(int id, bool error);
    // The queue has run empty; error tells whether the last command failed.
    void done(bool error);
    void listInfo(const UrlInfo &info);
    void rawCommandReply(int replyCode, const QString &detail);
    // (0, total) when a transfer begins, then the bytes sent so far; total is 0 when unknown.
    void dataTransferProgress(qint64 done, qint64 total);
    // The server's certificate failed verification: the connection waits, however long it
    // takes, until acceptCertificate() or rejectCertificate() is called. Emitted from the event
    // loop, so a slot may ask the user.
    void untrustedCertificate(const QSslCertificate &certificate, const QList<QSslError> &errors);
    // The SSH server's host key is in no known hosts file: the connection waits, before any
    // password or key is offered, until acceptHostKey() or rejectHostKey() is called.
    // fingerprint reads as ssh-keygen -l prints it ("SHA256:..."). Emitted from the event loop.
    void unknownHostKey(const QString &keyType, const QString &fingerprint);
    // A remark on the running command that is no failure, for the log (an object store that
    // named the region to sign for, and got the request again signed for it).
    void information(const QString &text);
};
