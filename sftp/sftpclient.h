#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "remote/remoteclient.h"
#include "remote/urlinfo.h"

class QIODevice;
class QThread;
class QTimer;
class SftpWorker;

namespace sftp {
class Interrupt;
class UploadPipe;
} // namespace sftp

// An SFTP client with FtpClient's command queue: libssh for the SSH connection (host key,
// authentication, the "sftp" channel) on a worker thread, and our own SFTP version 3 on that
// channel, which keeps many writes in flight (libssh's own waits for each reply).
//
// A host key is checked against known_hosts files in OpenSSH's format before any password or
// key is offered: an unknown one is asked about (unknownHostKey()), a changed one fails the
// connection. The login tries, as OpenSSH does, the user's agent, the keys id_ed25519, id_ecdsa
// and id_rsa of ~/.ssh (the password opens an encrypted one), the password, then
// keyboard-interactive with the password.
//
// cd() is relative to the current directory (the home folder after the login) or absolute. A
// resumed put writes the device's bytes after offset into the file from offset on, then fails
// unless the file's size is offset + the bytes sent. Small puts queued one behind the other go
// out side by side, each told in its turn. SFTP has no raw commands: they fail.
class SftpClient final : public RemoteClient
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SftpClient)
public:
    explicit SftpClient(QObject *parent = nullptr);
    // Stops the worker at once, whatever it waits for.
    ~SftpClient() override;

    // known: where "always" adds a host key (by default "known_hosts" in the working directory);
    // userKnown: read only (by default ~/.ssh/known_hosts). Both in OpenSSH's format, the host
    // as "[host]:port" for a port other than 22. For the connections queued from now on.
    void setKnownHostsFiles(const QString &known, const QString &userKnown);
    // Time allowed to connect (up to the host key's check), and to wait for any reply or for an
    // upload to move; a connection that dies mid-transfer is noticed after idle.
    void setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds idle);

    // The running command fails at once and the connection is dropped. A cut upload's file is
    // closed first, behind the client's back, within two seconds; its confirmed bytes alone
    // were reported.
    void abort() override;

    bool isEncrypted() const override { return true; }
    // "REST STREAM", "SIZE" and "MLST": SFTP writes at any offset, stats, and lists exact times.
    bool hasFeature(const QString &feature) const override;

    // Answers unknownHostKey(); always: the key is added to the known file once the login succeeds.
    void acceptHostKey(bool always) override;
    void rejectHostKey() override;

private:
    enum class Step { Working, HostKey, Transfer };

    void execute() override;
    void commandEnding() override;
    void pendingDiscarded() override;
    void startPut();
    bool startFiles();
    void onFileSent(int id, const QString &fault);
    void fileSent(qint64 size, const QString &fault);
    void fail(Error error, const QString &text, bool dropConnection = false);

    void startWorker();
    void retireWorker(bool closeFileFirst = false);
    // Runs call on the worker's thread, with the worker.
    template<typename Call>
    void onWorker(Call call);
    void restartWatchdog();
    void onWatchdog();

    void onReached(int state);
    void onHostKeyUnknown(const QString &keyType, const QString &fingerprint);
    void onSucceeded();
    void onFailed(int error, const QString &text, bool connectionLost);
    void onEntries(const QList<UrlInfo> &entries);
    void onUploadBegan();
    void onProgressed();
    void fillPipe();

    Step m_step = Step::Working;

    QString m_knownHosts;
    QString m_userKnownHosts;
    std::chrono::milliseconds m_connectTimeout{30000};
    std::chrono::milliseconds m_idleTimeout{20000};
    QTimer *m_watchdog = nullptr;

    // One per connection.
    QThread *m_thread = nullptr;
    SftpWorker *m_worker = nullptr;
    // Of the current worker: what a retired one still reports is ignored.
    int m_generation = 0;
    std::shared_ptr<sftp::Interrupt> m_interrupt;
    // The last worker left to close an aborted upload's file.
    QPointer<QThread> m_leaving;
    std::shared_ptr<sftp::Interrupt> m_leavingInterrupt;
    bool m_saveHostKey = false;

    // Small puts handed to the worker together, by id: their size, and what the worker said
    // of them once it has.
    struct SentAlong
    {
        qint64 size = 0;
        std::optional<QString> fault;
    };
    std::map<int, SentAlong> m_sentAlong;

    // The running upload.
    std::shared_ptr<sftp::UploadPipe> m_pipe;
    bool m_pipeClosed = false;
    qint64 m_read = 0;
    qint64 m_total = 0;
    qint64 m_reported = -1;
};
