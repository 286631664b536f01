#pragma once

#include <chrono>

#include <functional>
#include <map>
#include <memory>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QNetworkReply>
#include <QString>
#include <QStringList>

#include "remote/remoteclient.h"
#include "s3/s3xml.h"
#include "s3/sigv4.h"

class QNetworkAccessManager;

// A client of an S3-compatible object store, behind the same command queue as FTP, on
// QNetworkAccessManager. connectToHost() names the endpoint (HTTPS, plain HTTP only to a loopback
// address; port 0 is the scheme's own), login() the access key id and the secret key; the first
// segment of the path cd() enters is the bucket, the rest a key prefix. Folders do not exist in
// a store: mkdir() and cd() below the bucket succeed without a request. Files up to 16 MiB are
// sent in one PUT, larger ones in parts; each request carries a Content-MD5 that the store
// checks. An object appears only once whole, so a cut upload is sent again, never resumed.
// While a file goes in one PUT, the next ones queued behind it are sent too, a few at a time;
// each put is still reported in its turn. remove() deletes one object of the current folder;
// removals queued one after the other go to the store in one request, a thousand at most.
class S3Client final : public RemoteClient
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(S3Client)
public:
    explicit S3Client(QObject *parent = nullptr);
    ~S3Client() override;

    void abort() override;

    // The store's requests are timed as a whole without progress, setting up the connection
    // included: idle bounds each of them, connect is not timed apart.
    void setTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds idle) override;
    bool isEncrypted() const override { return m_https; }
    bool hasFeature(const QString &feature) const override;

    // Parts of a multipart upload sent at once, and whole files.
    static constexpr int partsInFlight = 4;
    static constexpr int putsInFlight = 4;
    // Removals sent in one request at most.
    static constexpr int removalsPerRequest = 1000;

private:
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
        // The command it serves, when not the current one (a put sent ahead of its turn).
        int commandId = 0;
        // The bytes of the body sent so far.
        std::function<void(qint64)> progress = nullptr;
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
    struct WholePut;

    void execute() override;
    void commandEnding() override;
    void pendingDiscarded() override;
    void fail(Error error, const QString &reason);
    void failWith(const Outcome &outcome);
    QString commandFailure(const QString &reason) const;
    QString storeFailure(const Outcome &outcome) const;
    QString storeFailure(const s3::StoreError &error, int status) const;

    QNetworkReply *send(Call call, Handler handler);
    void received(QNetworkReply *reply, const Call &call, const Handler &handler);
    static bool succeeded(const Outcome &outcome);

    void checkEndpoint();
    void checkKeys();
    void enterFolder(const QStringList &path);
    void listPage(const QStringList &path, const QString &token);
    void startPut();
    void sendWhole(const Request &request, const QString &key, bool openedDevice);
    void sendAhead();
    void wholeSent(const WholePut &put);
    void startParts(const QString &key);
    void sendNextParts();
    void sendPart(int number, const std::shared_ptr<const QByteArray> &data, int attempt);
    void partDone(int number, const std::shared_ptr<const QByteArray> &data, int attempt, const Outcome &outcome);
    void completeParts();
    void abandonParts(const Outcome &cause);
    void reportProgress();
    void startRemoval();
    void removeObject(const QString &key);
    void removeObjects(const QList<int> &ids, const QStringList &keys);
    void settleRemoval();
    // Cuts the requests of the command id, or of every command.
    void releaseReplies(int id = 0);

    QNetworkAccessManager *m_network;
    QString m_host;
    quint16 m_port = 0;
    bool m_https = true;
    s3::Credentials m_credentials;
    QStringList m_path;
    // The bucket checked by the last cd() that named it.
    QString m_checkedBucket;
    // Each request in flight, with the command it serves.
    QHash<QNetworkReply *, int> m_replies;
    std::unique_ptr<Upload> m_upload;
    // The whole-file puts under way, the current one and those sent ahead, by command id.
    std::map<int, std::shared_ptr<WholePut>> m_wholePuts;
    // Removals sent together, by command id, until each is reported in its turn.
    struct Removal
    {
        QString name;
        bool removed = false;
        QString failure; // the store's refusal
    };
    std::map<int, Removal> m_removals;
    bool m_deleteObjects = true; // the store takes DeleteObjects
    std::chrono::milliseconds m_idleTimeout{60000};
};
