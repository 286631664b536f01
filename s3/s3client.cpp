#include "s3/s3client.h"

#include <algorithm>
#include <optional>
#include <iterator>
#include <utility>

#include <QCryptographicHash>
#include <QDateTime>
#include <QHash>
#include <QHostAddress>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#ifdef Q_OS_LINUX
#include <dirent.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

#include "remote/uploadsource.h"
#include "s3/s3objects.h"
#include "s3/s3xml.h"

namespace {

// Sends of a part after a failure, with these waits between them.
constexpr int partRetryDelaysMs[] = {500, 1000, 2000};

bool isLoopback(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

QByteArray md5Base64(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Md5).toBase64();
}

// A failure that may pass when the same request is sent again.
bool isTransient(int status, QNetworkReply::NetworkError network)
{
    return (status == 0 && network != QNetworkReply::OperationCanceledError) || status == 408 || status == 429
           || status >= 500;
}

// Qt's HTTP leaves Nagle's algorithm on and hands the socket a request in blocks of 16 KiB, so
// the last block of a body over about 16 KiB waits for the store to acknowledge the rest: up to
// its delayed acknowledgement (40 ms on Linux) per request, which made small files crawl. Qt
// shows no way to its sockets: the process's TCP connections to the store's port are found among
// its descriptors and told to send at once (what already waits then goes).
void sendPromptly(quint16 port)
{
#ifdef Q_OS_LINUX
    DIR *descriptors = ::opendir("/proc/self/fd");
    if (!descriptors)
        return;
    while (const dirent *entry = ::readdir(descriptors)) {
        bool number = false;
        const int descriptor = QByteArray(entry->d_name).toInt(&number);
        sockaddr_storage peer{};
        socklen_t size = sizeof peer;
        if (!number || descriptor == ::dirfd(descriptors)
            || ::getpeername(descriptor, reinterpret_cast<sockaddr *>(&peer), &size) != 0)
            continue;
        quint16 peerPort = 0;
        if (peer.ss_family == AF_INET)
            peerPort = ntohs(reinterpret_cast<const sockaddr_in *>(&peer)->sin_port);
        else if (peer.ss_family == AF_INET6)
            peerPort = ntohs(reinterpret_cast<const sockaddr_in6 *>(&peer)->sin6_port);
        int type = 0;
        socklen_t typeSize = sizeof type;
        if (peerPort != port || ::getsockopt(descriptor, SOL_SOCKET, SO_TYPE, &type, &typeSize) != 0 || type != SOCK_STREAM)
            continue;
        const int one = 1;
        ::setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    }
    ::closedir(descriptors);
#else
    Q_UNUSED(port)
#endif
}

} // namespace

// A multipart upload under way.
struct S3Client::Upload
{
    QString key;
    qint64 size = 0;
    s3::PartPlan plan;
    QString uploadId;
    int nextPart = 1; // the next part to read from the device
    int inFlight = 0;
    QList<QByteArray> etags;
    QHash<int, qint64> sending; // bytes of each part in flight sent so far
    qint64 partsDone = 0; // bytes of the parts the store holds
    bool abandoned = false;
};

// A file sent in one PUT, maybe ahead of its turn.
struct S3Client::WholePut
{
    int id = 0;
    QPointer<QIODevice> device;
    bool openedDevice = false;
    qint64 size = 0;
    qint64 sent = 0;
    std::optional<Outcome> outcome;
    QString readFault; // the file gave less than its size
};

S3Client::S3Client(QObject *parent)
    : RemoteClient(parent)
    , m_network(new QNetworkAccessManager(this))
{
    m_network->setAutoDeleteReplies(false);
}

S3Client::~S3Client()
{
    releaseReplies();
}

void S3Client::setTimeouts(std::chrono::milliseconds, std::chrono::milliseconds idle)
{
    m_idleTimeout = idle;
}

void S3Client::abort()
{
    clearPendingCommands();
    if (!isRunning())
        return;
    // The parts the store holds already are dropped with the upload; the answer is not awaited.
    if (m_upload && !m_upload->uploadId.isEmpty())
        abandonParts(Outcome());
    releaseReplies();
    fail(UnknownError, tr("Aborted"));
}

bool S3Client::hasFeature(const QString &feature) const
{
    // Listings carry each object's exact time; a cut upload leaves no object to complete.
    return feature == QLatin1String("MLST");
}

void S3Client::execute()
{
    const Request &task = current();
    const bool needsLogin = task.command != ConnectToHost && task.command != Close;
    if (task.command == Login && state() != Connected) {
        fail(NotConnected, tr("Not connected"));
        return;
    }
    if (needsLogin && task.command != Login && state() != LoggedIn) {
        fail(NotConnected, tr("Not connected"));
        return;
    }
    // A put or a removal names one object of the current folder, never one elsewhere.
    if ((task.command == Put || task.command == Remove) && (m_path.isEmpty() || !s3::isObjectName(task.name))) {
        fail(UnknownError, commandFailure(tr("\"%1\" is no file name of the current folder").arg(task.name)));
        return;
    }
    switch (task.command) {
    case ConnectToHost:
        checkEndpoint();
        return;
    case Login:
        m_credentials.accessKey = task.name;
        m_credentials.secret = task.password;
        checkKeys();
        return;
    case Cd: {
        const std::optional<QStringList> path = s3::enterPath(m_path, task.name);
        if (!path || path->isEmpty()) {
            fail(UnknownError, commandFailure(tr("the folder must name a bucket, as bucket or bucket/prefix")));
            return;
        }
        enterFolder(*path);
        return;
    }
    case Mkdir:
        // Keys hold their folders: there is nothing to make.
        finish();
        return;
    case List: {
        const std::optional<QStringList> path = s3::enterPath(m_path, task.name);
        if (!path || path->isEmpty()) {
            fail(UnknownError, commandFailure(tr("the folder must name a bucket, as bucket or bucket/prefix")));
            return;
        }
        listPage(*path, QString());
        return;
    }
    case Put:
        startPut();
        return;
    case Remove:
        startRemoval();
        return;
    case RawCommand:
        fail(UnknownError, tr("An object store takes no command \"%1\"").arg(task.name));
        return;
    case Close:
        setState(Closing);
        releaseReplies();
        setState(Unconnected);
        finish();
        return;
    default:
        fail(UnknownError, tr("Unknown command"));
        return;
    }
}

void S3Client::commandEnding()
{
    m_upload.reset();
    const auto put = m_wholePuts.find(currentId());
    if (put != m_wholePuts.end()) {
        if (put->second->openedDevice && put->second->device)
            put->second->device->close();
        m_wholePuts.erase(put);
    }
    m_removals.erase(currentId());
}

// The puts sent ahead are cut and forgotten, and so are the removals sent with the current one.
void S3Client::pendingDiscarded()
{
    for (auto put = m_wholePuts.begin(); put != m_wholePuts.end();) {
        if (put->first == currentId()) {
            ++put;
            continue;
        }
        releaseReplies(put->first);
        if (put->second->openedDevice && put->second->device)
            put->second->device->close();
        put = m_wholePuts.erase(put);
    }
    std::erase_if(m_removals, [this](const auto &removal) { return removal.first != currentId(); });
}

void S3Client::fail(Error error, const QString &reason)
{
    stop(error, reason);
    releaseReplies();
    // Without a login that went through, nothing is connected.
    if (current().command == ConnectToHost || current().command == Login)
        setState(Unconnected);
    finish();
}

void S3Client::failWith(const Outcome &outcome)
{
    Error error = UnknownError;
    if (outcome.network == QNetworkReply::HostNotFoundError)
        error = HostNotFound;
    else if (outcome.network == QNetworkReply::ConnectionRefusedError)
        error = ConnectionRefused;
    fail(error, commandFailure(storeFailure(outcome)));
}

// As the FTP client words it, with the reason after the colon.
QString S3Client::commandFailure(const QString &reason) const
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
    default:
        return reason;
    }
}

// The program's own words for what it knows, then the store's code and message as it sent them.
QString S3Client::storeFailure(const Outcome &outcome) const
{
    if (outcome.status == 0) {
        switch (outcome.network) {
        case QNetworkReply::HostNotFoundError:
            return tr("Host %1 not found").arg(m_host);
        case QNetworkReply::ConnectionRefusedError:
            return tr("Connection refused to host %1").arg(m_host);
        default:
            return tr("Connection to host %1 failed: %2").arg(m_host, outcome.networkText);
        }
    }
    return storeFailure(s3::parseError(outcome.body), outcome.status);
}

QString S3Client::storeFailure(const s3::StoreError &error, int status) const
{
    const QString code = error.code;
    QString own;
    if (code == QLatin1String("InvalidAccessKeyId"))
        own = tr("the store knows no such access key id");
    else if (code == QLatin1String("SignatureDoesNotMatch"))
        own = tr("the secret key is not the one of this access key id");
    else if (code == QLatin1String("NoSuchBucket"))
        own = tr("the bucket does not exist");
    else if (code == QLatin1String("AccessDenied") || code == QLatin1String("AllAccessDisabled"))
        own = tr("the key is not allowed to do this");
    else if (code == QLatin1String("RequestTimeTooSkewed"))
        own = tr("the computer's clock is off: set it to the right time and date");
    else if (code.contains(QLatin1String("Quota")) || code.contains(QLatin1String("Cap")))
        own = tr("the storage quota is reached");
    else if (code == QLatin1String("BadDigest") || code == QLatin1String("InvalidDigest"))
        own = tr("the bytes were damaged on the way and the store refused them");
    QString store = code.isEmpty() ? tr("HTTP status %1").arg(status) : code;
    if (!error.message.isEmpty())
        store += QStringLiteral(": ") + error.message;
    return own.isEmpty() ? store : tr("%1 (%2)").arg(own, store);
}

bool S3Client::succeeded(const Outcome &outcome)
{
    return outcome.network == QNetworkReply::NoError && outcome.status >= 200 && outcome.status < 300;
}

QNetworkReply *S3Client::send(Call call, Handler handler)
{
    const quint16 defaultPort = m_https ? 443 : 80;
    const quint16 port = m_port != 0 ? m_port : defaultPort;
    const QHostAddress address(m_host);
    QByteArray authority = address.protocol() == QAbstractSocket::IPv6Protocol ? '[' + m_host.toLatin1() + ']'
                           : address.isNull()                                  ? QUrl::toAce(m_host)
                                                                               : m_host.toLatin1();
    if (port != defaultPort)
        authority += ':' + QByteArray::number(port);
    QByteArray path = "/";
    if (!call.bucket.isEmpty())
        path += call.bucket.toUtf8() + (call.key.isEmpty() ? QByteArray() : '/' + call.key.toUtf8());
    const QByteArray query = s3::canonicalQuery(call.query);
    const QByteArray target = s3::uriEncode(path, true) + (query.isEmpty() ? QByteArray() : '?' + query);
    const QUrl url = QUrl::fromEncoded((m_https ? "https://" : "http://") + authority + target, QUrl::StrictMode);

    s3::Request signing{call.method, path, call.query, call.headers, call.payloadHash};
    signing.headers.append({"host", authority});
    signing.headers.append({"x-amz-date", QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1()});
    signing.headers.append({"x-amz-content-sha256", call.payloadHash});

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    // A store that neither answers nor fails must not hold the queue for ever.
    request.setTransferTimeout(static_cast<int>(m_idleTimeout.count()));
    for (const auto &[name, value] : std::as_const(signing.headers))
        request.setRawHeader(name, value);
    if (!m_credentials.accessKey.isEmpty())
        request.setRawHeader("Authorization", s3::authorization(signing, m_credentials));

    QNetworkReply *reply = nullptr;
    if (call.method == "PUT")
        reply = m_network->put(request, call.body);
    else if (call.method == "POST")
        reply = m_network->post(request, call.body);
    else if (call.method == "DELETE")
        reply = m_network->deleteResource(request);
    else
        reply = m_network->get(request);
    m_replies.insert(reply, call.commandId ? call.commandId : currentId());
    // A request without a body goes in one write, which Nagle's algorithm does not hold back.
    if (!call.body.isEmpty())
        connect(reply, &QNetworkReply::requestSent, this, [port] { sendPromptly(port); });
    if (call.progress) {
        // A reply tells (0, total) before any byte goes: the caller tells a transfer's start.
        connect(reply, &QNetworkReply::uploadProgress, this, [progress = call.progress](qint64 sent, qint64) {
            if (sent > 0)
                progress(sent);
        });
    }
    connect(reply, &QNetworkReply::finished, this, [this, reply, call, handler] { received(reply, call, handler); });
    return reply;
}

void S3Client::received(QNetworkReply *reply, const Call &call, const Handler &handler)
{
    m_replies.remove(reply);
    reply->deleteLater();
    Outcome outcome;
    outcome.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    outcome.body = reply->readAll();
    outcome.etag = reply->rawHeader("ETag");
    if (outcome.status == 0) {
        outcome.network = reply->error();
        outcome.networkText = reply->errorString();
    }
    // A store that wants another region says which: the request is signed again for it, once.
    if (!succeeded(outcome) && !call.signedAgain) {
        const s3::StoreError error = s3::parseError(outcome.body);
        QString region = error.region;
        if (region.isEmpty() && (outcome.status == 301 || error.code == QLatin1String("AuthorizationHeaderMalformed")))
            region = QString::fromLatin1(reply->rawHeader("x-amz-bucket-region"));
        if (!region.isEmpty() && region != m_credentials.region) {
            emit information(tr("The store expects the region %1 (instead of %2): signing again for it.")
                                 .arg(region, m_credentials.region));
            m_credentials.region = region;
            Call again = call;
            again.signedAgain = true;
            send(again, handler);
            return;
        }
    }
    handler(outcome);
}

void S3Client::releaseReplies(int id)
{
    for (auto entry = m_replies.begin(); entry != m_replies.end();) {
        if (id != 0 && entry.value() != id) {
            ++entry;
            continue;
        }
        QNetworkReply *reply = entry.key();
        entry = m_replies.erase(entry);
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void S3Client::checkEndpoint()
{
    const Request &task = current();
    m_host = task.name.trimmed();
    m_port = task.port;
    m_https = !isLoopback(m_host);
    m_credentials = {QString(), QString(), s3::regionOf(m_host)};
    m_path.clear();
    m_checkedBucket.clear();
    m_deleteObjects = true;
    if (m_host.isEmpty()) {
        fail(HostNotFound, commandFailure(tr("Host %1 not found").arg(m_host)));
        return;
    }
    setState(HostLookup);
    setState(Connecting);
    // Any answer from the endpoint, even a refusal of this unsigned request, tells that it is
    // reached; the keys come with login().
    Call call{"GET", QString(), QString(), {}, {}, {}, s3::emptyPayloadHash, true};
    send(call, [this](const Outcome &outcome) {
        if (outcome.status == 0) {
            failWith(outcome);
            return;
        }
        setState(Connected);
        finish();
    });
}

void S3Client::checkKeys()
{
    // The list of buckets: a refusal for want of that right (AccessDenied) still proves the keys
    // and the clock right, which every other refusal would have named.
    Call call{"GET", QString(), QString(), {}, {}, {}, s3::emptyPayloadHash};
    send(call, [this](const Outcome &outcome) {
        if (!succeeded(outcome) && s3::parseError(outcome.body).code != QLatin1String("AccessDenied")) {
            failWith(outcome);
            return;
        }
        setState(LoggedIn);
        finish();
    });
}

void S3Client::enterFolder(const QStringList &path)
{
    if (path.first() == m_checkedBucket) {
        m_path = path;
        finish();
        return;
    }
    // A listing of one key at most: the bucket exists and the key may list it.
    const s3::Pairs query{{"list-type", "2"}, {"max-keys", "1"}, {"prefix", s3::keyPrefix(path).toUtf8()}};
    Call call{"GET", path.first(), QString(), query, {}, {}, s3::emptyPayloadHash};
    send(call, [this, path](const Outcome &outcome) {
        if (!succeeded(outcome)) {
            failWith(outcome);
            return;
        }
        m_checkedBucket = path.first();
        m_path = path;
        finish();
    });
}

void S3Client::listPage(const QStringList &path, const QString &token)
{
    const QString prefix = s3::keyPrefix(path);
    s3::Pairs query{{"list-type", "2"}, {"delimiter", "/"}, {"prefix", prefix.toUtf8()}};
    if (!token.isEmpty())
        query.append({"continuation-token", token.toUtf8()});
    Call call{"GET", path.first(), QString(), query, {}, {}, s3::emptyPayloadHash};
    send(call, [this, path, prefix](const Outcome &outcome) {
        if (!succeeded(outcome)) {
            failWith(outcome);
            return;
        }
        const s3::ListPage page = s3::parseListPage(outcome.body);
        if (!page.valid) {
            fail(UnknownError, commandFailure(tr("the store's listing cannot be read")));
            return;
        }
        for (const QString &folder : page.commonPrefixes) {
            UrlInfo info;
            info.setName(folder.mid(prefix.size()).chopped(folder.endsWith(QLatin1Char('/')) ? 1 : 0));
            info.setDir(true);
            emit listInfo(info);
        }
        for (const s3::ObjectEntry &object : page.objects) {
            // The key of the folder itself, which some tools make.
            if (!object.key.startsWith(prefix) || object.key.size() == prefix.size())
                continue;
            UrlInfo info;
            info.setName(object.key.mid(prefix.size()));
            info.setFile(true);
            info.setSize(object.size);
            info.setLastModified(object.lastModified);
            emit listInfo(info);
        }
        if (page.continuationToken.isEmpty())
            finish();
        else
            listPage(path, page.continuationToken);
    });
}

void S3Client::startPut()
{
    const Request &request = current();
    const auto ahead = m_wholePuts.find(request.id);
    if (ahead != m_wholePuts.end()) {
        const std::shared_ptr<WholePut> put = ahead->second;
        emit dataTransferProgress(0, put->size);
        sendAhead();
        if (put->outcome)
            wholeSent(*put);
        else if (put->sent > 0)
            emit dataTransferProgress(put->sent, put->size);
        return;
    }
    QString failure = openDevice();
    // A resumed put sends the whole file again: no object can be completed.
    if (failure.isEmpty() && request.offset > 0 && !request.device->seek(0))
        failure = request.device->errorString();
    if (!failure.isEmpty()) {
        fail(UnknownError, commandFailure(failure));
        return;
    }
    const QString key = s3::keyPrefix(m_path) + request.name;
    if (request.device->size() > s3::singlePutLimit) {
        startParts(key);
        return;
    }
    sendWhole(request, key, false);
    if (isRunning(request.id))
        sendAhead();
}

// Reads the whole file of request and sends it. The current command reports its progress; one
// sent ahead keeps it, and its outcome, for its turn.
void S3Client::sendWhole(const Request &request, const QString &key, bool openedDevice)
{
    auto put = std::make_shared<WholePut>();
    put->id = request.id;
    put->device = request.device;
    put->openedDevice = openedDevice;
    put->size = request.device->size();
    m_wholePuts[request.id] = put;
    const QByteArray data = request.device->read(put->size);
    if (data.size() != put->size) {
        put->readFault = tr("Cannot read %1: %2").arg(request.name, request.device->errorString());
        put->outcome = Outcome();
        if (isRunning(request.id))
            wholeSent(*put);
        return;
    }
    s3::Pairs headers{{"content-md5", md5Base64(data)}, {"content-type", s3::contentType(key, data)}};
    const QByteArray cache = s3::cacheControl(key);
    if (!cache.isEmpty())
        headers.append({"cache-control", cache});
    const int id = request.id;
    if (isRunning(id))
        emit dataTransferProgress(0, put->size);
    Call call{"PUT", m_path.first(), key, {}, headers, data, s3::unsignedPayload};
    call.commandId = id;
    call.progress = [this, put](qint64 sent) {
        put->sent = sent;
        if (isRunning(put->id))
            emit dataTransferProgress(sent, put->size);
    };
    send(call, [this, put](const Outcome &outcome) {
        put->outcome = outcome;
        if (isRunning(put->id))
            wholeSent(*put);
    });
}

// Sends the files queued right behind the current one, while they too go whole into the
// current folder: the store takes them side by side, and each waits for its turn to be told.
void S3Client::sendAhead()
{
    int started = 1;
    for (const Request &request : pending()) {
        if (started >= putsInFlight || request.command != Put || !s3::isObjectName(request.name))
            return;
        ++started;
        if (m_wholePuts.contains(request.id))
            continue;
        bool opened = false;
        if (!remote::openForUpload(request.device, request.name, 0, &opened).isEmpty()
            || request.device->size() > s3::singlePutLimit) {
            // Sent, or refused with its reason, in its turn.
            if (opened)
                request.device->close();
            return;
        }
        sendWhole(request, s3::keyPrefix(m_path) + request.name, opened);
    }
}

void S3Client::wholeSent(const WholePut &put)
{
    if (!put.readFault.isEmpty()) {
        fail(UnknownError, commandFailure(put.readFault));
        return;
    }
    const Outcome &outcome = *put.outcome;
    if (!succeeded(outcome)) {
        failWith(outcome);
        return;
    }
    emit dataTransferProgress(put.size, put.size);
    finish();
}

void S3Client::startParts(const QString &key)
{
    m_upload = std::make_unique<Upload>();
    m_upload->key = key;
    m_upload->size = current().device->size();
    m_upload->plan = s3::partPlan(m_upload->size);
    const QByteArray head = current().device->peek(1024);
    s3::Pairs headers{{"content-type", s3::contentType(key, head)}};
    const QByteArray cache = s3::cacheControl(key);
    if (!cache.isEmpty())
        headers.append({"cache-control", cache});
    emit dataTransferProgress(0, m_upload->size);
    Call call{"POST", m_path.first(), key, {{"uploads", ""}}, headers, {}, s3::emptyPayloadHash};
    send(call, [this](const Outcome &outcome) {
        if (!succeeded(outcome)) {
            failWith(outcome);
            return;
        }
        m_upload->uploadId = s3::parseUploadId(outcome.body);
        if (m_upload->uploadId.isEmpty()) {
            fail(UnknownError, commandFailure(tr("the store gave no upload id")));
            return;
        }
        sendNextParts();
    });
}

void S3Client::sendNextParts()
{
    Upload &upload = *m_upload;
    QIODevice *device = current().device;
    while (upload.inFlight < partsInFlight && upload.nextPart <= upload.plan.count) {
        const int number = upload.nextPart++;
        const qint64 length = std::min(upload.plan.partSize, upload.size - (number - 1) * upload.plan.partSize);
        auto data = std::make_shared<const QByteArray>(device->read(length));
        if (data->size() != length) {
            abandonParts(Outcome());
            fail(UnknownError, commandFailure(tr("Cannot read %1: %2").arg(current().name, device->errorString())));
            return;
        }
        ++upload.inFlight;
        sendPart(number, data, 0);
    }
    if (upload.inFlight == 0 && upload.nextPart > upload.plan.count)
        completeParts();
}

void S3Client::sendPart(int number, const std::shared_ptr<const QByteArray> &data, int attempt)
{
    const s3::Pairs query{{"partNumber", QByteArray::number(number)}, {"uploadId", m_upload->uploadId.toUtf8()}};
    const s3::Pairs headers{{"content-md5", md5Base64(*data)}, {"content-type", "application/octet-stream"}};
    Call call{"PUT", m_path.first(), m_upload->key, query, headers, *data, s3::unsignedPayload};
    call.progress = [this, number](qint64 sent) {
        if (!m_upload)
            return;
        m_upload->sending.insert(number, sent);
        reportProgress();
    };
    send(call, [this, number, data, attempt](const Outcome &outcome) { partDone(number, data, attempt, outcome); });
}

void S3Client::partDone(int number, const std::shared_ptr<const QByteArray> &data, int attempt, const Outcome &outcome)
{
    Upload &upload = *m_upload;
    upload.sending.remove(number);
    if (!succeeded(outcome)) {
        const QString code = s3::parseError(outcome.body).code;
        const bool again = isTransient(outcome.status, outcome.network) || code == QLatin1String("BadDigest")
                           || code == QLatin1String("RequestTimeout");
        if (again && attempt < static_cast<int>(std::size(partRetryDelaysMs))) {
            const int id = current().id;
            QTimer::singleShot(partRetryDelaysMs[attempt], this, [this, id, number, data, attempt] {
                if (isRunning(id) && m_upload)
                    sendPart(number, data, attempt + 1);
            });
            return;
        }
        abandonParts(outcome);
        return;
    }
    if (upload.etags.size() < number)
        upload.etags.resize(number);
    upload.etags[number - 1] = outcome.etag;
    upload.partsDone += data->size();
    --upload.inFlight;
    reportProgress();
    sendNextParts();
}

void S3Client::completeParts()
{
    const QByteArray body = s3::completeMultipartBody(m_upload->etags);
    const s3::Pairs headers{{"content-md5", md5Base64(body)}, {"content-type", "application/xml"}};
    Call call{"POST", m_path.first(), m_upload->key, {{"uploadId", m_upload->uploadId.toUtf8()}}, headers, body,
              QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex()};
    send(call, [this](const Outcome &outcome) {
        // The store may refuse after the status line: its error then comes with a 200.
        if (!succeeded(outcome) || !s3::parseError(outcome.body).code.isEmpty()) {
            abandonParts(outcome);
            return;
        }
        emit dataTransferProgress(m_upload->size, m_upload->size);
        finish();
    });
}

void S3Client::abandonParts(const Outcome &cause)
{
    // The parts sent are dropped, so that the store neither keeps nor bills them; its answer is
    // not awaited, nor are the other parts still on their way.
    Upload &upload = *m_upload;
    const bool first = !upload.abandoned;
    upload.abandoned = true;
    releaseReplies();
    if (first) {
        Call call{"DELETE", m_path.first(), upload.key, {{"uploadId", upload.uploadId.toUtf8()}}, {}, {}, s3::emptyPayloadHash};
        // Not one of the command's requests: a later command must not cut it short.
        m_replies.remove(send(call, [](const Outcome &) {}));
    }
    if (cause.status != 0 || cause.network != QNetworkReply::NoError)
        failWith(cause);
}

void S3Client::reportProgress()
{
    qint64 sent = m_upload->partsDone;
    for (const qint64 bytes : std::as_const(m_upload->sending))
        sent += bytes;
    if (sent > 0)
        emit dataTransferProgress(sent, m_upload->size);
}

void S3Client::startRemoval()
{
    const Request &request = current();
    if (m_removals.contains(request.id)) {
        settleRemoval();
        return;
    }
    const QString prefix = s3::keyPrefix(m_path);
    if (!m_deleteObjects) {
        removeObject(prefix + request.name);
        return;
    }
    // This removal and those queued right behind it, in one request.
    QList<int> ids{request.id};
    QStringList keys{prefix + request.name};
    m_removals[request.id].name = request.name;
    for (const Request &next : pending()) {
        if (ids.size() >= removalsPerRequest || next.command != Remove || !s3::isObjectName(next.name))
            break;
        ids.append(next.id);
        keys.append(prefix + next.name);
        m_removals[next.id].name = next.name;
    }
    removeObjects(ids, keys);
}

void S3Client::removeObjects(const QList<int> &ids, const QStringList &keys)
{
    const QByteArray body = s3::deleteObjectsBody(keys);
    const s3::Pairs headers{{"content-md5", md5Base64(body)}, {"content-type", "application/xml"}};
    Call call{"POST", m_path.first(), QString(), {{"delete", ""}}, headers, body,
              QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex()};
    send(call, [this, ids, keys](const Outcome &outcome) {
        // A store without DeleteObjects removes one object per request from now on.
        if (outcome.status == 501 || s3::parseError(outcome.body).code == QLatin1String("NotImplemented")) {
            m_deleteObjects = false;
            m_removals.clear();
            removeObject(keys.first());
            return;
        }
        if (!succeeded(outcome)) {
            failWith(outcome);
            return;
        }
        const s3::DeleteResult result = s3::parseDeleteResult(outcome.body);
        for (qsizetype i = 0; i < ids.size(); ++i) {
            Removal &removal = m_removals[ids.at(i)];
            const auto error = result.errors.constFind(keys.at(i));
            if (error != result.errors.cend())
                removal.failure = storeFailure(*error, outcome.status);
            else if (result.valid && result.deleted.contains(keys.at(i)))
                removal.removed = true;
            else
                removal.failure = tr("the store did not say whether %1 was removed").arg(removal.name);
        }
        settleRemoval();
    });
}

// Reports the current removal, whose outcome came with the request that carried it.
void S3Client::settleRemoval()
{
    const auto removal = m_removals.find(currentId());
    if (removal->second.removed) {
        finish();
        return;
    }
    // The queue behind a failure is discarded, yet the same request may have removed some of
    // the objects it names: the log says which.
    QStringList alsoRemoved;
    for (auto later = std::next(removal); later != m_removals.end(); ++later) {
        if (later->second.removed)
            alsoRemoved.append(later->second.name);
    }
    if (!alsoRemoved.isEmpty())
        emit information(tr("Removed by the same request all the same: %1").arg(alsoRemoved.join(QStringLiteral(", "))));
    fail(UnknownError, commandFailure(removal->second.failure));
}

void S3Client::removeObject(const QString &key)
{
    Call call{"DELETE", m_path.first(), key, {}, {}, {}, s3::emptyPayloadHash};
    send(call, [this](const Outcome &outcome) {
        if (!succeeded(outcome)) {
            failWith(outcome);
            return;
        }
        finish();
    });
}
