#pragma once

#include <chrono>
#include <deque>
#include <optional>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QIODevice>
#include <QSslCertificate>
#include <QSslError>
#include <QString>

#include "remote/urlinfo.h"

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

    // The queue, the same for every protocol.
    int connectToHost(const QString &host, quint16 port);
    int login(const QString &user, const QString &password);
    int cd(const QString &dir);
    int mkdir(const QString &dir);
    // Lists dir, or the current directory when dir is empty: one listInfo() per entry.
    int list(const QString &dir = QString());
    // Sends device to remoteName. The put opens the device read-only when it starts (and closes
    // it again) unless it is already open; it must live until the put ends.
    int put(QIODevice *device, const QString &remoteName, TransferType type = Binary);
    // Completes remoteName, which holds the first offset bytes of device, with the rest of it.
    // Only where hasFeature("REST STREAM") tells that the server can.
    int resumePut(QIODevice *device, const QString &remoteName, qint64 offset, TransferType type = Binary);
    // A protocol command sent as it is; its final reply comes in rawCommandReply().
    int rawCommand(const QString &command);
    int remove(const QString &file);
    int close();

    State state() const { return m_state; }
    // While commandFinished() is delivered: the command that finished.
    Command currentCommand() const;
    int currentId() const;
    // Commands queued and not started yet.
    bool hasPendingCommands() const { return !m_pending.empty(); }
    // The last failure, until the next command starts.
    Error error() const { return m_error; }
    QString errorString() const { return m_errorString; }

    void clearPendingCommands();
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
    void setTlsRequired(bool required) { m_tlsRequired = required; }

    // Answers untrustedCertificate(): the handshake goes on, or the connection fails. A client
    // that never asks ignores the answer.
    virtual void acceptCertificate();
    virtual void rejectCertificate();
    // Answers unknownHostKey(): the login goes on (always: the key joins the known hosts once
    // the login has succeeded), or the connection fails.
    virtual void acceptHostKey(bool always);
    virtual void rejectHostKey();

protected:
    struct Request
    {
        explicit Request(Command command = None, const QString &name = QString())
            : command(command)
            , name(name)
        {
        }
        int id = 0;
        Command command;
        QString name; // host, user, directory, file or raw command
        QString password;
        quint16 port = 0;
        bool tlsRequired = false; // of a connection
        QPointer<QIODevice> device;
        TransferType type = Binary;
        qint64 offset = 0; // of a resumed put
    };

    // Runs the current command, started from the event loop after commandStarted(). It ends
    // with finish(), or with stop() then finish() where it fails.
    virtual void execute() = 0;
    // Releases what the ending command holds, before commandFinished() is emitted.
    virtual void commandEnding() {}
    // The commands queued and not started yet were discarded.
    virtual void pendingDiscarded() {}

    const Request &current() const { return *m_current; }
    const std::deque<Request> &pending() const { return m_pending; }
    // The current command has not ended yet (a slot of one of its signals may have ended it).
    bool isRunning() const { return m_running; }
    bool isRunning(int id) const { return m_running && m_current && m_current->id == id; }
    // Opens the current put's device as remote::openForUpload does, to be closed when it ends.
    QString openDevice();
    // The whole file of a put, the current one or one queued behind it, read without moving its
    // device or leaving open a device it had to open. Nothing for a resumed put, a sequential
    // device, a file over limit bytes or one that cannot be read: those go the usual way.
    static std::optional<QByteArray> readAhead(const Request &request, qint64 limit);
    // Ends the running command as failed and discards the queue; finish() reports it.
    void stop(Error error, const QString &text);
    // Reports the current command's end and starts the next one from the event loop.
    void finish();
    void setState(State state);

private:
    int enqueue(Request request);
    void scheduleStart();
    void startNext();

    std::deque<Request> m_pending;
    std::optional<Request> m_current;
    bool m_running = false;
    bool m_startScheduled = false;
    bool m_openedDevice = false;
    int m_lastId = 0;
    State m_state = Unconnected;
    Error m_error = NoError;
    QString m_errorString;
    bool m_tlsRequired = false;

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
