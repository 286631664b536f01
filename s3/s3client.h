#pragma once

#include <chrono>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QSet>
#include <QString>
#include <QStringList>

#include "remote/remoteclient.h"
#include "s3/sigv4.h"

class QNetworkAccessManager;

// A client of an S3-compatible object store, behind the same command queue as FTP, on
// QNetworkAccessManager. connectToHost() names the endpoint (HTTPS, plain HTTP only to a loopback
// address; port 0 is the scheme's own), login() the access key id and the secret key; the first
// segment of the path cd() enters is the bucket, the rest a key prefix. Folders do not exist in
// a store: mkdir() and cd() below the bucket succeed without a request. Files up to 16 MiB are
// sent in one PUT, larger ones in parts; each request carries a Content-MD5 that the store
// checks. An object appears only once whole, so a cut upload is sent again, never resumed.
// remove() deletes one object of the current folder per command.
class S3Client final : public RemoteClient
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(S3Client)
public:
    explicit S3Client(QObject *parent = nullptr);
    ~S3Client() override;

    int connectToHost(const QString &host, quint16 port) override;
    int login(const QString &user, const QString &password) override;
    int cd(const QString &dir) override;
    int mkdir(const QString &dir) override;
    int list(const QString &dir = QString()) override;
    int put(QIODevice *device, const QString &remoteName, TransferType type = Binary) override;
    int resumePut(QIODevice *device, const QString &remoteName, qint64 offset, TransferType type = Binary) override;
    int rawCommand(const QString &command) override;
    int remove(const QString &file) override;
    int close() override;

    State state() const override { return m_state; }
    Command currentCommand() const override;
    int currentId() const override;
    bool hasPendingCommands() const override { return !m_pending.empty(); }
    Error error() const override { return m_error; }
    QString errorString() const override { return m_errorString; }

    void clearPendingCommands() override;
    void abort() override;

    // The store's requests are timed as a whole without progress, setting up the connection
    // included: idle bounds each of them, connect is not timed apart.
    void setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds idle) override;
    bool isEncrypted() const override { return m_https; }
    bool hasFeature(const QString &feature) const override;

    // Parts of a multipart upload sent at once.
    static constexpr int partsInFlight = 4;

private:
    struct Task
    {
        int id = 0;
        Command command = None;
        QString name;
        QString secret;
        quint16 port = 0;
        QIODevice *device = nullptr;
    };
    // One request to the store, kept whole so that it can be signed again for another region.
    struct Call
    {
        QByteArray method;
        QString bucket;
        QString key;
        s3::Pairs query;
        s3::Pairs headers;
        QByteArray body;
        QByteArray payloadHash;
        bool signedAgain = false;
        int partNumber = 0; // of a multipart upload
    };
    struct Outcome
    {
        QNetworkReply::NetworkError network = QNetworkReply::NoError;
        QString networkText;
        int status = 0;
        QByteArray body;
        QByteArray etag;
    };
    using Handler = std::function<void(const Outcome &)>;
    struct Upload;

    int enqueue(Task task);
    void startNext();
    void execute();
    void finish();
    void fail(Error error, const QString &reason);
    void failWith(const Outcome &outcome);
    QString commandFailure(const QString &reason) const;
    QString storeFailure(const Outcome &outcome) const;
    void setState(State state);

    void send(Call call, Handler handler);
    void received(QNetworkReply *reply, const Call &call, const Handler &handler);
    static bool succeeded(const Outcome &outcome);

    void checkEndpoint();
    void checkKeys();
    void enterFolder(const QStringList &path);
    void listPage(const QStringList &path, const QString &token);
    void sendWhole(const QString &key);
    void startParts(const QString &key);
    void sendNextParts();
    void sendPart(int number, const std::shared_ptr<const QByteArray> &data, int attempt);
    void partDone(int number, const std::shared_ptr<const QByteArray> &data, int attempt, const Outcome &outcome);
    void completeParts();
    void abandonParts(const Outcome &cause);
    void reportProgress();
    void removeObject(const QString &key);
    void releaseReplies();

    QNetworkAccessManager *m_network;
    std::deque<Task> m_pending;
    std::optional<Task> m_current;
    bool m_startScheduled = false;
    int m_lastId = 0;
    State m_state = Unconnected;
    Error m_error = NoError;
    QString m_errorString;

    QString m_host;
    quint16 m_port = 0;
    bool m_https = true;
    s3::Credentials m_credentials;
    QStringList m_path;
    // The bucket checked by the last cd() that named it.
    QString m_checkedBucket;
    QSet<QNetworkReply *> m_replies;
    std::unique_ptr<Upload> m_upload;
    bool m_openedDevice = false;
    std::chrono::milliseconds m_idleTimeout{60000};
};
