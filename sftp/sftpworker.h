#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "remote/remoteclient.h"
#include "remote/urlinfo.h"
#include "sftp/handover.h"
#include "sftp/sftpprotocol.h"

struct ssh_session_struct;
struct ssh_channel_struct;

// One SSH connection and its SFTP channel, on a thread of its own: libssh only blocks. Each
// call runs one command of SftpClient to its end and answers with succeeded() or failed(); the
// client calls the next one only then. An Interrupt ends any call at once.
class SftpWorker final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SftpWorker)
public:
    struct Settings
    {
        QString host;
        quint16 port = 22;
        QStringList knownHosts; // the first is the one "always" appends to
        QString sshDir; // the user's keys
        std::chrono::milliseconds connectTimeout{30000};
        std::chrono::milliseconds idleTimeout{20000};
    };

    SftpWorker(const Settings &settings, std::shared_ptr<sftp::Interrupt> interrupt);
    ~SftpWorker() override;

    void connectToHost();
    void login(const QString &user, const QString &password, bool saveHostKey);
    void cd(const QString &dir);
    void mkdir(const QString &dir);
    void remove(const QString &file);
    void list(const QString &dir);
    void put(std::shared_ptr<sftp::UploadPipe> pipe, const QString &remoteName, qint64 offset);
    // Small files sent side by side, each answered by fileSent() with its id.
    struct SmallFile
    {
        int id = 0;
        QString name;
        QByteArray data;
    };
    void putFiles(const QList<SmallFile> &files);
    void close();

    // How long an aborted upload's file may take to close before the connection is left.
    static constexpr std::chrono::milliseconds AbandonTime{2000};

    // Bytes of the running upload that the server has confirmed.
    qint64 confirmedBytes() const { return m_confirmed.load(); }
    // Called by the client when it has read confirmedBytes(), so that progressed() comes again.
    void progressRead() { m_progressPosted = false; }

Q_SIGNALS:
    void reached(int state); // RemoteClient::State
    void hostKeyUnknown(const QString &keyType, const QString &fingerprint);
    void succeeded();
    // connectionLost: the connection is of no more use.
    void failed(int error, const QString &text, bool connectionLost);
    void entries(const QList<UrlInfo> &entries);
    void uploadBegan();
    void progressed();
    void dataWanted();
    // fault: empty once the file is whole on the server.
    void fileSent(int id, const QString &fault);

private:
    bool openTcp();
    bool handshake();
    bool authenticate(const QString &user, const QString &password);
    bool tryKeys(const QString &password);
    bool tryKeyboardInteractive(const QString &password);
    bool startSftp();

    bool send(const QByteArray &packet);
    // The next packet's body from the server; wait: until one comes, else only if one is there
    // (nothing, and m_broken still false, when none is).
    std::optional<QByteArray> receivePacket(bool wait);
    std::optional<sftp::Reply> receive(bool wait);
    std::optional<sftp::Reply> call(const QByteArray &packet, quint32 id);
    bool expectType(const sftp::Reply &reply, quint8 type, const QString &failure);
    QString path(const QString &name) const;
    quint32 nextId() { return ++m_lastId; }
    bool closeHandle(const QByteArray &handle, QString *fault);
    void abandon(const QByteArray &handle);
    bool uploadBody(sftp::UploadPipe &pipe, const QByteArray &handle, qint64 offset, QString *fault);

    void protocolError();
    void failCommand(const QString &text);
    void failConnection(const QString &text, int error = RemoteClient::UnknownError);
    void fail(const QString &text, bool connectionLost, int error);
    QString sessionError() const;
    static QString statusText(const sftp::Reply &reply);
    static QString writeFault(const sftp::Reply &reply);
    void release();

    Settings m_settings;
    std::shared_ptr<sftp::Interrupt> m_interrupt;
    int m_socket = -1;
    ssh_session_struct *m_session = nullptr;
    ssh_channel_struct *m_channel = nullptr;
    QString m_keyType;
    QByteArray m_keyBlob;
    QString m_cwd;
    QByteArray m_in;
    QByteArray m_readBuffer;
    bool m_broken = false;
    QDeadlineTimer m_abandonBy{QDeadlineTimer::Forever};
    quint32 m_lastId = 0;
    std::atomic<qint64> m_confirmed{0};
    std::atomic<bool> m_progressPosted{false};
};
