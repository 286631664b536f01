#include <algorithm>
#include <memory>

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

#include "s3/s3client.h"
#include "s3/s3objects.h"
#include "tests/kit/minihttpserver.h"
#include "tests/kit/s3server.h"
#include "tests/kit/testkit.h"

// The S3 client against a local store (s3rver), read back by boto3; what the store's refusals
// and the requests on the wire look like, against a canned HTTP server.
class TestS3Client : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void partsAreEqualAndFewEnough_data();
    void partsAreEqualAndFewEnough();
    void putStoresTheBytesWithTheirType_data();
    void putStoresTheBytesWithTheirType();
    void partsAndTheirCompletionCarryTheirChecksums();
    void failedPartIsRetriedThenTheUploadAbandoned_data();
    void failedPartIsRetriedThenTheUploadAbandoned();
    void listingContinuesPastAThousandKeys();
    void removalStaysInTheCurrentFolder_data();
    void removalStaysInTheCurrentFolder();
    void removalsQueuedTogetherGoInOneRequest_data();
    void removalsQueuedTogetherGoInOneRequest();
    void putsQueuedTogetherAreToldInTurn();
    void putsSentAheadAreCutWithTheQueue();
    void storeRefusalsAreWorded_data();
    void storeRefusalsAreWorded();
    void cannedRefusalsAreWorded_data();
    void cannedRefusalsAreWorded();
    void regionNamedByTheStoreIsSignedForOnce();

private:
    void connectTo(const QString &host, quint16 port, const QString &key = QStringLiteral("S3RVER"));
    bool runQueue();
    QByteArray randomBytes(qint64 size) const;
    QString write(const QString &name, const QByteArray &content) const;

    std::unique_ptr<testkit::WorkDir> m_dir;
    std::unique_ptr<testkit::S3Server> m_store;
    std::unique_ptr<S3Client> m_client;
};

namespace {

QByteArray errorXml(const QByteArray &code, const QByteArray &message, const QByteArray &extra = QByteArray())
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Error><Code>" + code + "</Code><Message>" + message
           + "</Message>" + extra + "<RequestId>4442587FB7D0A2F9</RequestId></Error>";
}

QByteArray md5(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Md5).toBase64();
}

} // namespace

void TestS3Client::init()
{
    m_dir = std::make_unique<testkit::WorkDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("store")));
    m_store = std::make_unique<testkit::S3Server>();
    QVERIFY2(m_store->start(m_dir->filePath(QStringLiteral("store")), {QStringLiteral("show")}),
             qPrintable(m_store->errorString()));
    m_client = std::make_unique<S3Client>();
}

void TestS3Client::cleanup()
{
    m_client.reset();
    m_store.reset();
    m_dir.reset();
}

void TestS3Client::connectTo(const QString &host, quint16 port, const QString &key)
{
    m_client->connectToHost(host, port);
    m_client->login(key, QStringLiteral("S3RVER"));
}

bool TestS3Client::runQueue()
{
    QSignalSpy done(m_client.get(), &RemoteClient::done);
    return done.wait(60000);
}

QByteArray TestS3Client::randomBytes(qint64 size) const
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(static_cast<quint32>(size));
    generator.fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

QString TestS3Client::write(const QString &name, const QByteArray &content) const
{
    const QString path = m_dir->filePath(QStringLiteral("src/") + name);
    return testkit::writeFile(path, content) ? path : QString();
}

void TestS3Client::partsAreEqualAndFewEnough_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("partSize");
    QTest::addColumn<int>("count");
    constexpr qint64 mib = 1024 * 1024;
    QTest::newRow("just above one PUT") << s3::singlePutLimit + 1 << 8 * mib << 3;
    QTest::newRow("whole parts") << 80 * mib << 8 * mib << 10;
    QTest::newRow("last of the 8 MiB uploads") << 10000 * 8 * mib << 8 * mib << 10000;
    QTest::newRow("one byte more takes larger parts") << 10000 * 8 * mib + 1 << 9 * mib << 8889;
    QTest::newRow("100 GiB") << 100 * 1024 * mib << 11 * mib << 9310;
}

void TestS3Client::partsAreEqualAndFewEnough()
{
    QFETCH(qint64, size);
    QFETCH(qint64, partSize);
    QFETCH(int, count);
    const s3::PartPlan plan = s3::partPlan(size);
    QCOMPARE(plan.partSize, partSize);
    QCOMPARE(plan.count, count);
}

void TestS3Client::putStoresTheBytesWithTheirType_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("cache");
    QTest::newRow("episode with spaces and accents") << "épisode 1 & 2.mp3" << randomBytes(300 * 1024) << "audio/mpeg" << "";
    QTest::newRow("feed") << "feed.xml"
                          << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"><channel/></rss>")
                          << "application/rss+xml" << "max-age=300";
    QTest::newRow("playlist") << "playlist.xml" << QByteArray("<?xml version=\"1.0\"?><playlist/>") << "application/xml"
                              << "max-age=300";
    QTest::newRow("cover") << "cover.JPG" << randomBytes(4096) << "image/jpeg" << "";
    QTest::newRow("player") << "player_mp3_multi.swf" << QByteArray("FWS player") << "application/x-shockwave-flash" << "";
    QTest::newRow("largest single PUT") << "sixteen.mp3" << randomBytes(s3::singlePutLimit) << "audio/mpeg" << "";
    QTest::newRow("multipart, last part short") << "long.mp3" << randomBytes(2 * s3::minimumPartSize + 12345)
                                                << "audio/mpeg" << "";
}

void TestS3Client::putStoresTheBytesWithTheirType()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, type);
    QFETCH(QString, cache);
    QFile file(write(name, content));
    QSignalSpy progress(m_client.get(), &RemoteClient::dataTransferProgress);
    connectTo(m_store->host(), m_store->port());
    m_client->cd(QStringLiteral("show/season 1"));
    m_client->mkdir(QStringLiteral("MP3"));
    m_client->cd(QStringLiteral("MP3"));
    m_client->put(&file, name);
    QVERIFY(runQueue());
    QCOMPARE(m_client->errorString(), QString());
    QVERIFY(!file.isOpen());
    QCOMPARE(progress.last().at(0).toLongLong(), content.size());
    QCOMPARE(progress.last().at(1).toLongLong(), content.size());

    const QString back = m_dir->filePath(QStringLiteral("back"));
    const QJsonValue stored = m_store->boto3({QStringLiteral("get"), QStringLiteral("show"),
                                              QStringLiteral("season 1/MP3/") + name, back});
    QVERIFY2(stored.isObject(), qPrintable(m_store->errorString()));
    QCOMPARE(stored[QLatin1String("type")].toString(), type);
    QCOMPARE(stored[QLatin1String("cache")].toString(), cache);
    QVERIFY(testkit::readFile(back) == content);
}

void TestS3Client::partsAndTheirCompletionCarryTheirChecksums()
{
    testkit::MiniHttpServer server;
    server.setRoute("/", {200, "<ListAllMyBucketsResult/>"});
    server.setRoute("/show?list-type=2&max-keys=1&prefix=MP3/", {200, "<ListBucketResult/>"});
    server.setRoute("/show/MP3/small.mp3", {200, QByteArray()});
    server.setRoute("/show/MP3/long.mp3?uploads=",
                    {200, "<InitiateMultipartUploadResult><UploadId>U+1</UploadId></InitiateMultipartUploadResult>"});
    for (const QByteArray part : {"1", "2", "3"})
        server.setRoute("/show/MP3/long.mp3?partNumber=" + part + "&uploadId=U+1", {200, QByteArray()});
    server.setRoute("/show/MP3/long.mp3?uploadId=U+1", {200, "<CompleteMultipartUploadResult/>"});
    const QByteArray small = randomBytes(1000);
    const QByteArray large = randomBytes(2 * s3::minimumPartSize + 100);
    QFile smallFile(write(QStringLiteral("small.mp3"), small));
    QFile largeFile(write(QStringLiteral("long.mp3"), large));

    connectTo(server.serverAddress().toString(), server.serverPort());
    m_client->cd(QStringLiteral("show/MP3"));
    m_client->put(&smallFile, QStringLiteral("small.mp3"));
    m_client->put(&largeFile, QStringLiteral("long.mp3"));
    QVERIFY(runQueue());
    QCOMPARE(m_client->errorString(), QString());

    QList<testkit::MiniHttpServer::Received> puts;
    QByteArray completion;
    // After the unsigned check of the endpoint.
    for (const auto &request : server.received().mid(1)) {
        QVERIFY(request.headers.value("authorization").startsWith("AWS4-HMAC-SHA256 Credential=S3RVER/"));
        if (request.method == "PUT")
            puts.append(request);
        else if (request.method == "POST" && request.path.endsWith("uploadId=U+1"))
            completion = request.body;
    }
    QCOMPARE(puts.size(), 4);
    QCOMPARE(puts.at(0).body, small);
    QList<QByteArray> parts;
    for (const auto &put : puts) {
        QCOMPARE(put.headers.value("content-md5"), md5(put.body));
        QCOMPARE(put.headers.value("x-amz-content-sha256"), QByteArray("UNSIGNED-PAYLOAD"));
        if (put.path.contains("partNumber="))
            parts.append(put.path.mid(put.path.indexOf("partNumber=") + 11, 1) + ':' + QByteArray::number(put.body.size()));
    }
    std::sort(parts.begin(), parts.end());
    QCOMPARE(parts, (QList<QByteArray>{"1:" + QByteArray::number(s3::minimumPartSize),
                                       "2:" + QByteArray::number(s3::minimumPartSize), "3:100"}));
    QCOMPARE(completion.count("<Part>"), 3);
    QVERIFY(completion.indexOf("<PartNumber>1<") < completion.indexOf("<PartNumber>2<"));
    QVERIFY(completion.indexOf("<PartNumber>2<") < completion.indexOf("<PartNumber>3<"));
}

void TestS3Client::failedPartIsRetriedThenTheUploadAbandoned_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::newRow("store failing") << 500
                                   << errorXml("InternalError", "We encountered an internal error. Please try again.")
                                   << "Uploading file failed: InternalError: We encountered an internal error. Please try again.";
    QTest::newRow("bytes damaged on the way")
        << 400 << errorXml("BadDigest", "The Content-MD5 you specified did not match what we received.")
        << "Uploading file failed: the bytes were damaged on the way and the store refused them (BadDigest: The "
           "Content-MD5 you specified did not match what we received.)";
}

void TestS3Client::failedPartIsRetriedThenTheUploadAbandoned()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    testkit::MiniHttpServer server;
    server.setRoute("/", {200, "<ListAllMyBucketsResult/>"});
    server.setRoute("/show?list-type=2&max-keys=1&prefix=", {200, "<ListBucketResult/>"});
    server.setRoute("/show/long.mp3?uploads=",
                    {200, "<InitiateMultipartUploadResult><UploadId>U1</UploadId></InitiateMultipartUploadResult>"});
    server.setRoute("/show/long.mp3?partNumber=1&uploadId=U1", {200, QByteArray()});
    server.setRoute("/show/long.mp3?partNumber=3&uploadId=U1", {200, QByteArray()});
    server.setRoute("/show/long.mp3?partNumber=2&uploadId=U1", {status, body});
    server.setRoute("/show/long.mp3?uploadId=U1", {204, QByteArray()});
    QFile file(write(QStringLiteral("long.mp3"), randomBytes(2 * s3::minimumPartSize + 1)));
    connectTo(server.serverAddress().toString(), server.serverPort());
    m_client->cd(QStringLiteral("show"));
    m_client->put(&file, QStringLiteral("long.mp3"));
    QVERIFY(runQueue());
    QCOMPARE(m_client->errorString(), text);
    QTRY_VERIFY(server.requests().endsWith("/show/long.mp3?uploadId=U1"));
    QByteArrayList tail;
    for (const auto &request : server.received()) {
        if (request.path.contains("partNumber=2") || request.path.endsWith("?uploadId=U1"))
            tail.append(request.method + ' ' + request.path.mid(request.path.indexOf('?')));
    }
    QCOMPARE(tail, (QByteArrayList{"PUT ?partNumber=2&uploadId=U1", "PUT ?partNumber=2&uploadId=U1",
                                   "PUT ?partNumber=2&uploadId=U1", "PUT ?partNumber=2&uploadId=U1", "DELETE ?uploadId=U1"}));
}

void TestS3Client::listingContinuesPastAThousandKeys()
{
    QVERIFY2(!m_store->boto3({QStringLiteral("fill"), QStringLiteral("show"), QStringLiteral("s/MP3/"), QStringLiteral("1001")})
                  .isUndefined(),
             qPrintable(m_store->errorString()));
    for (const QString &key : {QStringLiteral("s/MP3/sub/deeper.mp3"), QStringLiteral("s/outside.mp3"), QStringLiteral("s/MP3/")})
        QVERIFY(!m_store->boto3({QStringLiteral("put"), QStringLiteral("show"), key, QStringLiteral("x")}).isUndefined());
    const QJsonObject stored = m_store->boto3({QStringLiteral("list"), QStringLiteral("show"), QStringLiteral("s/MP3/")}).toObject();

    QList<UrlInfo> entries;
    connect(m_client.get(), &RemoteClient::listInfo, this, [&entries](const UrlInfo &info) { entries.append(info); });
    connectTo(m_store->host(), m_store->port());
    m_client->cd(QStringLiteral("show/s/MP3"));
    m_client->list();
    QVERIFY(runQueue());
    QCOMPARE(m_client->errorString(), QString());

    QCOMPARE(entries.size(), 1002);
    int folders = 0;
    for (const UrlInfo &entry : std::as_const(entries)) {
        if (entry.isDir()) {
            QCOMPARE(entry.name(), QStringLiteral("sub"));
            ++folders;
            continue;
        }
        const QJsonArray known = stored.value(QStringLiteral("s/MP3/") + entry.name()).toArray();
        QCOMPARE(entry.size(), known.at(0).toInteger());
        QCOMPARE(entry.lastModified().timeSpec(), Qt::UTC);
        QCOMPARE(entry.lastModified(), QDateTime::fromString(known.at(1).toString(), Qt::ISODateWithMs));
    }
    QCOMPARE(folders, 1);
}

void TestS3Client::removalStaysInTheCurrentFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("left");
    const QStringList all{"s/MP3/a.mp3", "s/MP3/b.mp3", "s/MP3/sub/x.mp3", "s/feed.xml"};
    QTest::newRow("a file of the folder") << "a.mp3" << "" << QStringList{"s/MP3/b.mp3", "s/MP3/sub/x.mp3", "s/feed.xml"};
    QTest::newRow("the folder above") << "../feed.xml" << "Removing file failed: \"../feed.xml\" is no file name of the current folder" << all;
    QTest::newRow("a folder below") << "sub/x.mp3" << "Removing file failed: \"sub/x.mp3\" is no file name of the current folder" << all;
    QTest::newRow("the folder itself") << "." << "Removing file failed: \".\" is no file name of the current folder" << all;
}

void TestS3Client::removalStaysInTheCurrentFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, error);
    QFETCH(QStringList, left);
    for (const QString key : {"s/MP3/a.mp3", "s/MP3/b.mp3", "s/MP3/sub/x.mp3", "s/feed.xml"})
        QVERIFY(!m_store->boto3({QStringLiteral("put"), QStringLiteral("show"), key, QStringLiteral("x")}).isUndefined());
    connectTo(m_store->host(), m_store->port());
    m_client->cd(QStringLiteral("show/s/MP3"));
    m_client->remove(name);
    QVERIFY(runQueue());
    QCOMPARE(m_client->errorString(), error);
    QCOMPARE(m_store->boto3({QStringLiteral("keys"), QStringLiteral("show")}).toVariant().toStringList(), left);
}

void TestS3Client::removalsQueuedTogetherGoInOneRequest_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("status"); // of DeleteObjects
    QTest::addColumn<QString>("refused"); // a name the store does not remove
    QTest::addColumn<QByteArrayList>("methods");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("note");
    QTest::newRow("a thousand per request") << 1001 << 200 << "" << QByteArrayList{"POST", "POST"} << 1001 << "" << "";
    QTest::newRow("one refused") << 3 << 200 << "f1.mp3" << QByteArrayList{"POST"} << 1
                                 << "Removing file failed: the key is not allowed to do this (AccessDenied: Access Denied)"
                                 << "Removed by the same request all the same: f2.mp3";
    QTest::newRow("store without DeleteObjects") << 2 << 501 << "" << QByteArrayList{"POST", "DELETE", "DELETE"} << 2 << "" << "";
}

void TestS3Client::removalsQueuedTogetherGoInOneRequest()
{
    QFETCH(int, count);
    QFETCH(int, status);
    QFETCH(QString, refused);
    QFETCH(QByteArrayList, methods);
    QFETCH(int, removed);
    QFETCH(QString, error);
    QFETCH(QString, note);
    testkit::MiniHttpServer server;
    server.setRoute("/", {403, errorXml("AccessDenied", "Access Denied")});
    server.setRoute("/show?list-type=2&max-keys=1&prefix=MP3/", {200, {}});
    QByteArray result = "<DeleteResult xmlns=\"http://s3.amazonaws.com/doc/2006-03-01/\">";
    for (int i = 0; i < count; ++i) {
        const QByteArray key = "MP3/f" + QByteArray::number(i) + ".mp3";
        result += refused.toUtf8() == key.mid(4) ? "<Error><Key>" + key + "</Key><Code>AccessDenied</Code><Message>Access Denied</Message></Error>"
                                                 : "<Deleted><Key>" + key + "</Key></Deleted>";
        server.setRoute("/show/" + key, {204, {}});
    }
    server.setRoute("/show?delete=", {status, status == 200 ? result + "</DeleteResult>" : errorXml("NotImplemented", "Not implemented")});
    QSignalSpy finished(m_client.get(), &RemoteClient::commandFinished);
    QSignalSpy notes(m_client.get(), &RemoteClient::information);
    connectTo(server.serverAddress().toString(), server.serverPort());
    m_client->cd(QStringLiteral("show/MP3"));
    for (int i = 0; i < count; ++i)
        m_client->remove(QStringLiteral("f%1.mp3").arg(i));
    QVERIFY(runQueue());
    QCOMPARE(m_client->errorString(), error);
    QCOMPARE(std::count_if(finished.cbegin(), finished.cend(), [](const QVariantList &f) { return !f.at(1).toBool(); }) - 3, removed);
    QCOMPARE(notes.isEmpty() ? QString() : notes.first().first().toString(), note);
    const QList<testkit::MiniHttpServer::Received> requests = server.received().mid(3);
    QByteArrayList sent;
    for (const auto &request : requests)
        sent.append(request.method);
    QCOMPARE(sent, methods);
    QCOMPARE(requests.first().body.count("<Object>"), std::min(count, S3Client::removalsPerRequest));
    QCOMPARE(requests.first().headers.value("content-md5"), md5(requests.first().body));
}

void TestS3Client::putsQueuedTogetherAreToldInTurn()
{
    std::vector<std::unique_ptr<QFile>> files;
    for (int i = 0; i < 7; ++i)
        files.push_back(std::make_unique<QFile>(write(QStringLiteral("e%1.mp3").arg(i), randomBytes(20000 + 4 * i))));
    QStringList events;
    QObject context;
    connect(m_client.get(), &RemoteClient::commandStarted, &context, [&](int id) { events << QStringLiteral("start %1").arg(id); });
    connect(m_client.get(), &RemoteClient::commandFinished, &context, [&](int id) { events << QStringLiteral("end %1").arg(id); });
    connect(m_client.get(), &RemoteClient::dataTransferProgress, &context, [&](qint64 done, qint64 total) {
        if (done == 0 || done == total)
            events << QStringLiteral("%1 of %2").arg(done == 0 ? "0" : "all").arg(total);
    });
    connectTo(m_store->host(), m_store->port());
    m_client->cd(QStringLiteral("show"));
    QStringList expected{"start 1", "end 1", "start 2", "end 2", "start 3", "end 3"};
    for (int i = 0; i < 7; ++i) {
        const int id = m_client->put(files.at(i).get(), QStringLiteral("e%1.mp3").arg(i));
        const QString size = QString::number(20000 + 4 * i);
        expected << QStringLiteral("start %1").arg(id) << "0 of " + size << "all of " + size << QStringLiteral("end %1").arg(id);
    }
    QVERIFY(runQueue());
    QCOMPARE(m_client->errorString(), QString());
    events.removeDuplicates();
    QCOMPARE(events, expected);
    for (int i = 0; i < 7; ++i) {
        const QString back = m_dir->filePath(QStringLiteral("back"));
        QVERIFY(m_store->boto3({QStringLiteral("get"), QStringLiteral("show"), QStringLiteral("e%1.mp3").arg(i), back}).isObject());
        QCOMPARE(testkit::readFile(back).size(), 20000 + 4 * i);
        QVERIFY(!files.at(i)->isOpen());
    }
}

void TestS3Client::putsSentAheadAreCutWithTheQueue()
{
    testkit::MiniHttpServer server;
    server.setRoute("/", {403, errorXml("AccessDenied", "Access Denied")});
    server.setRoute("/show?list-type=2&max-keys=1&prefix=", {200, {}});
    std::vector<std::unique_ptr<QFile>> files;
    for (int i = 0; i < 6; ++i) {
        files.push_back(std::make_unique<QFile>(write(QStringLiteral("e%1.mp3").arg(i), randomBytes(1000 + 4 * i))));
        server.setRoute("/show/e" + QByteArray::number(i) + ".mp3", {200, {}, i == 0});
    }
    QSignalSpy finished(m_client.get(), &RemoteClient::commandFinished);
    QSignalSpy progress(m_client.get(), &RemoteClient::dataTransferProgress);
    connectTo(server.serverAddress().toString(), server.serverPort());
    m_client->cd(QStringLiteral("show"));
    for (int i = 0; i < 6; ++i)
        m_client->put(files.at(i).get(), QStringLiteral("e%1.mp3").arg(i));
    // The first put gets no answer: the ones behind it are sent meanwhile, yet not told of.
    QTRY_COMPARE(std::count_if(server.received().cbegin(), server.received().cend(),
                               [](const auto &request) { return request.method == "PUT"; }),
                 S3Client::putsInFlight);
    QCOMPARE(finished.size(), 3);
    QVERIFY(std::all_of(progress.cbegin(), progress.cend(), [](const QVariantList &p) { return p.at(1).toLongLong() == 1000; }));
    QVERIFY(files.at(S3Client::putsInFlight - 1)->isOpen() && !files.at(S3Client::putsInFlight)->isOpen());
    m_client->abort();
    QCOMPARE(finished.size(), 4);
    QVERIFY(finished.last().at(1).toBool());
    QVERIFY(std::none_of(files.cbegin(), files.cend(), [](const auto &file) { return file->isOpen(); }));
}

void TestS3Client::storeRefusalsAreWorded_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("closedPort");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::newRow("unknown key id") << "AKIDWRONG" << "show" << false << int(RemoteClient::UnknownError)
                                    << "Login failed: the store knows no such access key id (InvalidAccessKeyId: The AWS "
                                       "Access Key Id you provided does not exist in our records.)";
    QTest::newRow("missing bucket") << "S3RVER" << "nobucket/site" << false << int(RemoteClient::UnknownError)
                                    << "Changing directory failed: the bucket does not exist (NoSuchBucket: The specified "
                                       "bucket does not exist)";
    QTest::newRow("no bucket named") << "S3RVER" << "/" << false << int(RemoteClient::UnknownError)
                                     << "Changing directory failed: the folder must name a bucket, as bucket or bucket/prefix";
    QTest::newRow("unreachable endpoint") << "S3RVER" << "show" << true << int(RemoteClient::ConnectionRefused)
                                          << "Connecting to host failed: Connection refused to host 127.0.0.1";
}

void TestS3Client::storeRefusalsAreWorded()
{
    QFETCH(QString, key);
    QFETCH(QString, folder);
    QFETCH(bool, closedPort);
    QFETCH(int, error);
    QFETCH(QString, text);
    quint16 port = m_store->port();
    if (closedPort) {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    connectTo(m_store->host(), port, key);
    m_client->cd(folder);
    m_client->list();
    QVERIFY(runQueue());
    QCOMPARE(int(m_client->error()), error);
    QCOMPARE(m_client->errorString(), text);
    QVERIFY(!m_client->hasPendingCommands());
}

void TestS3Client::cannedRefusalsAreWorded_data()
{
    QTest::addColumn<QByteArray>("route");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::newRow("clock off") << QByteArray("/") << 403
                               << errorXml("RequestTimeTooSkewed", "The difference between the request time and the current time is too large.")
                               << "Login failed: the computer's clock is off: set it to the right time and date "
                                  "(RequestTimeTooSkewed: The difference between the request time and the current time is too large.)";
    QTest::newRow("wrong secret") << QByteArray("/") << 403
                                  << errorXml("SignatureDoesNotMatch", "The request signature we calculated does not match the signature you provided.")
                                  << "Login failed: the secret key is not the one of this access key id (SignatureDoesNotMatch: "
                                     "The request signature we calculated does not match the signature you provided.)";
    QTest::newRow("no body") << QByteArray("/") << 502 << QByteArray() << "Login failed: HTTP status 502";
    QTest::newRow("access denied to the bucket") << QByteArray("/show?list-type=2&max-keys=1&prefix=") << 403
                                                 << errorXml("AccessDenied", "Access Denied")
                                                 << "Changing directory failed: the key is not allowed to do this (AccessDenied: Access Denied)";
    QTest::newRow("quota") << QByteArray("/show?list-type=2&max-keys=1&prefix=") << 403
                           << errorXml("StorageQuotaExceeded", "Storage quota exceeded")
                           << "Changing directory failed: the storage quota is reached (StorageQuotaExceeded: Storage quota exceeded)";
}

void TestS3Client::cannedRefusalsAreWorded()
{
    QFETCH(QByteArray, route);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    testkit::MiniHttpServer server;
    // The bucket list refused for want of that right: the keys are good all the same.
    server.setRoute("/", {403, errorXml("AccessDenied", "Access Denied")});
    server.setRoute(route, {status, body});
    QSignalSpy states(m_client.get(), &RemoteClient::stateChanged);
    connectTo(server.serverAddress().toString(), server.serverPort());
    m_client->cd(QStringLiteral("show"));
    m_client->list();
    QVERIFY(runQueue());
    QCOMPARE(m_client->errorString(), text);
    const bool loggedIn = states.contains(QVariantList{int(RemoteClient::LoggedIn)});
    QCOMPARE(loggedIn, route != "/");
}

void TestS3Client::regionNamedByTheStoreIsSignedForOnce()
{
    testkit::MiniHttpServer server;
    server.setRoute("/", {400, errorXml("AuthorizationHeaderMalformed",
                                        "The authorization header is malformed; the region 'us-east-1' is wrong; expecting 'eu-west-1'",
                                        "<Region>eu-west-1</Region>")});
    QSignalSpy notes(m_client.get(), &RemoteClient::information);
    connectTo(server.serverAddress().toString(), server.serverPort());
    QVERIFY(runQueue());
    QCOMPARE(notes.size(), 1);
    QCOMPARE(notes.first().first().toString(),
             QStringLiteral("The store expects the region eu-west-1 (instead of us-east-1): signing again for it."));
    // The unsigned check of the endpoint, the login, and the login signed again.
    QCOMPARE(server.received().size(), 3);
    QVERIFY(server.received().at(1).headers.value("authorization").contains("/us-east-1/s3/aws4_request"));
    QVERIFY(server.received().at(2).headers.value("authorization").contains("/eu-west-1/s3/aws4_request"));
    QVERIFY(m_client->errorString().startsWith(QStringLiteral("Login failed: AuthorizationHeaderMalformed: ")));
}

QTEST_GUILESS_MAIN(TestS3Client)
#include "tst_s3client.moc"
