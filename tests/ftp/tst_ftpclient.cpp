#include <QBuffer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTest>
#include <QTimeZone>
#include <QTimeZone>
#include <QTimer>

#include "clientrecorder.h"
#include "ftp/ftpclient.h"
#include "ftp/ftpparsers.h"
#include "ftp/ftpparsers.h"
#include "tests/kit/ftpserver.h"
#include "tests/kit/testkit.h"

namespace {

constexpr int Patience = 20000;

QStringList capturedMessages;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedMessages << message;
}

} // namespace

// Against a real server (pyftpdlib).
class TestFtpClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void loginPassesThroughEveryStateInOrder();
    void refusedLoginFailsWithTheServersTextAndDiscardsTheQueue();
    void directoryCommandsChangeTheServer();
    void listingGivesOneEntryPerFile();
    void largePutArrivesByteForByteWithProgress();
    void nonAsciiNamesSurviveTheRoundTrip();
    void putOfAFileThatCannotBeOpenedFailsClearly();
    void putOfDataThatEndsEarlyFails();
    void connectionFailuresEndUnconnected_data();
    void connectionFailuresEndUnconnected();
    void commandWithoutConnectionFailsWithNotConnected();
    void closePassesClosingThenUnconnectedBeforeFinishing();
    void finishedCommandIsDescribedWhileReported();
    void nextCommandWaitsForEverySlotOfCommandFinished();
    void putFinishesWhileTheLastProgressSlotHoldsTheEventLoop();
    void errorIsClearedWhenTheNextCommandStarts();
    void passwordNeverReachesTheDebugOutput();
    void resumedPutCompletesACutFileByteForByte();
    void rawCommandsGiveTheServersReplyAndFeatures();

private:
    void startServer();
    void queueLogin();
    void waitDone(int count = 1);

    std::unique_ptr<testkit::WorkDir> m_workDir;
    std::unique_ptr<testkit::FtpServer> m_server;
    std::unique_ptr<FtpClient> m_client;
    std::unique_ptr<ClientRecorder> m_recorder;
    QString m_root;
};

void TestFtpClient::init()
{
    m_workDir = std::make_unique<testkit::WorkDir>();
    m_root = m_workDir->filePath(QStringLiteral("root"));
    QVERIFY(QDir().mkpath(m_root));
    m_server = std::make_unique<testkit::FtpServer>();
    QVERIFY2(m_server->start({m_root}), qPrintable(m_server->errorString()));
    m_client = std::make_unique<FtpClient>();
    m_recorder = std::make_unique<ClientRecorder>(m_client.get());
}

void TestFtpClient::cleanup()
{
    m_recorder.reset();
    m_client.reset();
    m_server.reset();
    m_workDir.reset();
}

void TestFtpClient::queueLogin()
{
    m_client->connectToHost(m_server->host(), m_server->port());
    m_client->login(m_server->user(), m_server->password());
}

void TestFtpClient::waitDone(int count)
{
    QTRY_VERIFY_WITH_TIMEOUT(m_recorder->doneCount >= count, Patience);
}

void TestFtpClient::loginPassesThroughEveryStateInOrder()
{
    const int connectId = m_client->connectToHost(m_server->host(), m_server->port());
    const int loginId = m_client->login(m_server->user(), m_server->password());
    QCOMPARE(loginId, connectId + 1);
    QCOMPARE(m_client->state(), FtpClient::Unconnected);
    waitDone();

    QCOMPARE(m_recorder->events,
             QStringList({QStringLiteral("start %1").arg(connectId), "state 1", "state 2", "state 3",
                          QStringLiteral("finish %1 ok").arg(connectId), QStringLiteral("start %1").arg(loginId),
                          "state 4", QStringLiteral("finish %1 ok").arg(loginId), "done ok"}));
    QCOMPARE(m_client->state(), FtpClient::LoggedIn);
    QCOMPARE(m_client->error(), FtpClient::NoError);
}

void TestFtpClient::refusedLoginFailsWithTheServersTextAndDiscardsTheQueue()
{
    m_client->connectToHost(m_server->host(), m_server->port());
    const int loginId = m_client->login(m_server->user(), QStringLiteral("wrong"));
    const int cdId = m_client->cd(QStringLiteral("/"));
    bool pendingWhenReported = true;
    connect(m_client.get(), &FtpClient::commandFinished, this, [&](int id) {
        if (id == loginId)
            pendingWhenReported = m_client->hasPendingCommands();
    });
    waitDone();

    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 error").arg(loginId)));
    QVERIFY(!m_recorder->events.contains(QStringLiteral("start %1").arg(cdId)));
    QVERIFY(!pendingWhenReported);
    QCOMPARE(m_recorder->events.last(), QStringLiteral("done error"));
    QCOMPARE(m_client->error(), FtpClient::UnknownError);
    QCOMPARE(m_client->errorString(), QStringLiteral("Authentication failed."));
    QCOMPARE(m_client->state(), FtpClient::Connected);
}

void TestFtpClient::directoryCommandsChangeTheServer()
{
    QVERIFY(testkit::writeFile(m_root + "/old.mp3", "old"));
    QBuffer content;
    content.setData("new episode");
    queueLogin();
    m_client->remove(QStringLiteral("old.mp3"));
    m_client->mkdir(QStringLiteral("MP3"));
    m_client->cd(QStringLiteral("MP3"));
    m_client->put(&content, QStringLiteral("new.mp3"));
    m_client->list();
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QVERIFY(!QFile::exists(m_root + "/old.mp3"));
    QCOMPARE(testkit::readFile(m_root + "/MP3/new.mp3"), QByteArray("new episode"));
    QCOMPARE(m_recorder->entryNames(), QStringList{"new.mp3"});
}

void TestFtpClient::listingGivesOneEntryPerFile()
{
    QVERIFY(testkit::writeFile(m_root + "/episode one.mp3", QByteArray(1500, 'x')));
    QVERIFY(testkit::writeFile(m_root + "/playlist.xml", "<xml/>"));
    QVERIFY(QDir(m_root).mkpath(QStringLiteral("MP3")));
    queueLogin();
    m_client->list();
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QHash<QString, UrlInfo> byName;
    for (const UrlInfo &info : std::as_const(m_recorder->entries))
        byName.insert(info.name(), info);
    QCOMPARE(byName.size(), 3);
    QCOMPARE(m_recorder->entries.size(), 3);
    QVERIFY(byName.value("MP3").isDir());
    QVERIFY(byName.value("episode one.mp3").isFile());
    QCOMPARE(byName.value("episode one.mp3").size(), 1500);
    QCOMPARE(byName.value("playlist.xml").size(), 6);
    QVERIFY(byName.value("playlist.xml").lastModified().isValid());
}

void TestFtpClient::largePutArrivesByteForByteWithProgress()
{
    QByteArray content(6 * 1024 * 1024 + 123, Qt::Uninitialized);
    QRandomGenerator generator(42);
    generator.fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
    QVERIFY(testkit::writeFile(m_workDir->filePath("big.mp3"), content));
    QFile file(m_workDir->filePath("big.mp3"));
    queueLogin();
    const int putId = m_client->put(&file, QStringLiteral("big.mp3"));
    bool openDuringTransfer = false;
    connect(m_client.get(), &FtpClient::dataTransferProgress, this, [&] { openDuringTransfer = file.isOpen(); });
    waitDone();

    const qint64 size = content.size();
    QCOMPARE(m_recorder->events.mid(m_recorder->events.indexOf(QStringLiteral("start %1").arg(putId))),
             QStringList({QStringLiteral("start %1").arg(putId), QStringLiteral("progress 0/%1").arg(size),
                          QStringLiteral("progress %1/%1").arg(size), QStringLiteral("finish %1 ok").arg(putId),
                          "done ok"}));
    QVERIFY(openDuringTransfer);
    QVERIFY(!file.isOpen());
    for (qsizetype i = 1; i < m_recorder->progress.size(); ++i)
        QVERIFY(m_recorder->progress[i].first > m_recorder->progress[i - 1].first);
    QCOMPARE(testkit::readFile(m_root + "/big.mp3"), content);
}

void TestFtpClient::nonAsciiNamesSurviveTheRoundTrip()
{
    const QString name = QString::fromUtf8("épisode Ünïcode 日本.mp3");
    const QString folder = QString::fromUtf8("Émissions");
    QBuffer content;
    content.setData("son");
    queueLogin();
    m_client->mkdir(folder);
    m_client->cd(folder);
    m_client->put(&content, name);
    m_client->list();
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QCOMPARE(m_recorder->entryNames(), QStringList{name});
    QCOMPARE(testkit::readFile(m_root + '/' + folder + '/' + name), QByteArray("son"));
}

// A file that shrinks while it is sent: its size says more than it then gives.
class ShrunkBuffer : public QBuffer
{
public:
    qint64 size() const override { return QBuffer::size() + 1000; }
};

void TestFtpClient::putOfDataThatEndsEarlyFails()
{
    ShrunkBuffer data;
    data.setData(QByteArray(4000, 'x'));
    queueLogin();
    const int putId = m_client->put(&data, QStringLiteral("short.mp3"));
    waitDone();

    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 error").arg(putId)));
    QVERIFY2(m_client->errorString().contains(QStringLiteral("4000 of 5000")), qPrintable(m_client->errorString()));
}

void TestFtpClient::putOfAFileThatCannotBeOpenedFailsClearly()
{
    const QString missing = m_workDir->filePath(QStringLiteral("missing.mp3"));
    QFile file(missing);
    QBuffer next;
    next.setData("x");
    queueLogin();
    const int putId = m_client->put(&file, QStringLiteral("missing.mp3"));
    const int nextId = m_client->put(&next, QStringLiteral("next.mp3"));
    waitDone();

    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 error").arg(putId)));
    QVERIFY(!m_recorder->events.contains(QStringLiteral("start %1").arg(nextId)));
    QCOMPARE(m_client->error(), FtpClient::UnknownError);
    QVERIFY2(m_client->errorString().contains(missing), qPrintable(m_client->errorString()));
    QVERIFY(!next.isOpen());
    QVERIFY(m_recorder->progress.isEmpty());
    QCOMPARE(m_client->state(), FtpClient::LoggedIn);
    QVERIFY(!QFile::exists(m_root + "/missing.mp3"));
}

void TestFtpClient::connectionFailuresEndUnconnected_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("refusedPort");
    QTest::addColumn<int>("error");
    QTest::addColumn<QStringList>("states");

    QTest::newRow("host that does not resolve") << "no-such-host.invalid" << false << int(FtpClient::HostNotFound)
                                                << QStringList{"state 1", "state 0"};
    QTest::newRow("empty host") << "" << false << int(FtpClient::HostNotFound) << QStringList{"state 1", "state 0"};
    QTest::newRow("refused port") << "127.0.0.1" << true << int(FtpClient::ConnectionRefused)
                                  << QStringList{"state 1", "state 2", "state 0"};
}

void TestFtpClient::connectionFailuresEndUnconnected()
{
    QFETCH(QString, host);
    QFETCH(bool, refusedPort);
    QFETCH(int, error);
    QFETCH(QStringList, states);

    quint16 port = 21;
    if (refusedPort) {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    const int connectId = m_client->connectToHost(host, port);
    const int loginId = m_client->login(QStringLiteral("user"), QStringLiteral("password"));
    waitDone();

    QStringList expected{QStringLiteral("start %1").arg(connectId)};
    expected << states << QStringLiteral("finish %1 error").arg(connectId) << "done error";
    QCOMPARE(m_recorder->events, expected);
    QVERIFY(!m_recorder->events.contains(QStringLiteral("start %1").arg(loginId)));
    QCOMPARE(int(m_client->error()), error);
    QVERIFY(!m_client->errorString().isEmpty());
}

void TestFtpClient::commandWithoutConnectionFailsWithNotConnected()
{
    const int cdId = m_client->cd(QStringLiteral("/"));
    waitDone();

    QCOMPARE(m_recorder->events, QStringList({QStringLiteral("start %1").arg(cdId),
                                              QStringLiteral("finish %1 error").arg(cdId), "done error"}));
    QCOMPARE(m_client->error(), FtpClient::NotConnected);
}

void TestFtpClient::closePassesClosingThenUnconnectedBeforeFinishing()
{
    queueLogin();
    const int closeId = m_client->close();
    waitDone();

    const QStringList tail = m_recorder->events.mid(m_recorder->events.indexOf(QStringLiteral("start %1").arg(closeId)));
    QCOMPARE(tail, QStringList({QStringLiteral("start %1").arg(closeId), "state 5", "state 0",
                                QStringLiteral("finish %1 ok").arg(closeId), "done ok"}));
}

void TestFtpClient::finishedCommandIsDescribedWhileReported()
{
    QStringList seen;
    connect(m_client.get(), &FtpClient::commandFinished, this, [&](int id) {
        seen << QStringLiteral("%1 %2 %3 %4")
                    .arg(id)
                    .arg(m_client->currentId())
                    .arg(m_client->currentCommand())
                    .arg(m_client->hasPendingCommands());
    });
    QBuffer content;
    content.setData("x");
    const int a = m_client->connectToHost(m_server->host(), m_server->port());
    const int b = m_client->login(m_server->user(), m_server->password());
    const int c = m_client->list();
    const int d = m_client->put(&content, QStringLiteral("x.mp3"));
    const int e = m_client->close();
    waitDone();

    QCOMPARE(seen, QStringList({QStringLiteral("%1 %1 %2 1").arg(a).arg(FtpClient::ConnectToHost),
                                QStringLiteral("%1 %1 %2 1").arg(b).arg(FtpClient::Login),
                                QStringLiteral("%1 %1 %2 1").arg(c).arg(FtpClient::List),
                                QStringLiteral("%1 %1 %2 1").arg(d).arg(FtpClient::Put),
                                QStringLiteral("%1 %1 %2 0").arg(e).arg(FtpClient::Close)}));
}

void TestFtpClient::nextCommandWaitsForEverySlotOfCommandFinished()
{
    int loginId = 0;
    int queuedFromSlot = 0;
    QStringList duringBox;
    // The window shows a modal box from commandFinished: a nested event loop, in which the
    // client must not move on.
    connect(m_client.get(), &FtpClient::commandFinished, this, [&](int id) {
        if (id != loginId)
            return;
        const qsizetype before = m_recorder->events.size();
        QEventLoop box;
        QTimer::singleShot(300, &box, &QEventLoop::quit);
        box.exec();
        duringBox = m_recorder->events.mid(before);
    });
    connect(m_client.get(), &FtpClient::commandFinished, this, [&](int id) {
        if (id == loginId)
            queuedFromSlot = m_client->cd(QStringLiteral("/"));
    });
    m_client->connectToHost(m_server->host(), m_server->port());
    loginId = m_client->login(m_server->user(), m_server->password());
    const int listId = m_client->list();
    waitDone();

    QVERIFY2(duringBox.isEmpty(), qPrintable(duringBox.join(", ")));
    const QStringList &events = m_recorder->events;
    QVERIFY(events.indexOf(QStringLiteral("finish %1 ok").arg(listId))
            < events.indexOf(QStringLiteral("start %1").arg(queuedFromSlot)));
    QVERIFY(events.contains(QStringLiteral("finish %1 ok").arg(queuedFromSlot)));
    QCOMPARE(events.last(), QStringLiteral("done ok"));
}

void TestFtpClient::putFinishesWhileTheLastProgressSlotHoldsTheEventLoop()
{
    QBuffer content;
    content.setData(QByteArray(3 * 1024 * 1024, 'p'));
    queueLogin();
    const int putId = m_client->put(&content, QStringLiteral("last.mp3"));
    const int closeId = m_client->close();
    QStringList duringBox;
    // The window announces success with a modal box at 100 %, before the server has confirmed.
    connect(m_client.get(), &FtpClient::dataTransferProgress, this, [&](qint64 done, qint64 total) {
        if (done != total)
            return;
        const qsizetype before = m_recorder->events.size();
        QEventLoop box;
        connect(m_client.get(), &FtpClient::done, &box, &QEventLoop::quit);
        QTimer::singleShot(Patience, &box, &QEventLoop::quit);
        box.exec();
        duringBox = m_recorder->events.mid(before);
    });
    waitDone();

    QCOMPARE(duringBox, QStringList({QStringLiteral("finish %1 ok").arg(putId), QStringLiteral("start %1").arg(closeId),
                                     "state 5", "state 0", QStringLiteral("finish %1 ok").arg(closeId), "done ok"}));
    QCOMPARE(testkit::readFile(m_root + "/last.mp3"), content.data());
}

void TestFtpClient::errorIsClearedWhenTheNextCommandStarts()
{
    queueLogin();
    const int cdId = m_client->cd(QStringLiteral("does-not-exist"));
    FtpClient::Error errorAtFailure = FtpClient::NoError;
    FtpClient::Error errorAtNextStart = FtpClient::UnknownError;
    int nextId = 0;
    connect(m_client.get(), &FtpClient::commandFinished, this, [&](int id) {
        if (id == cdId) {
            errorAtFailure = m_client->error();
            nextId = m_client->mkdir(QStringLiteral("made"));
        }
    });
    connect(m_client.get(), &FtpClient::commandStarted, this, [&](int id) {
        if (id == nextId)
            errorAtNextStart = m_client->error();
    });
    waitDone();

    QCOMPARE(errorAtFailure, FtpClient::UnknownError);
    QCOMPARE(errorAtNextStart, FtpClient::NoError);
    QCOMPARE(m_client->error(), FtpClient::NoError);
    QVERIFY(QDir(m_root).exists(QStringLiteral("made")));
}

void TestFtpClient::passwordNeverReachesTheDebugOutput()
{
    QLoggingCategory::setFilterRules(QStringLiteral("tessaly.ftp.debug=true"));
    capturedMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
    queueLogin();
    m_client->login(m_server->user(), QStringLiteral("another-s3cret"));
    waitDone();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());

    QVERIFY(!capturedMessages.isEmpty());
    QVERIFY(capturedMessages.join('\n').contains(QStringLiteral("PASS")));
    for (const QString &message : std::as_const(capturedMessages)) {
        QVERIFY2(!message.contains(m_server->password()), qPrintable(message));
        QVERIFY2(!message.contains(QStringLiteral("another-s3cret")), qPrintable(message));
    }
}

void TestFtpClient::resumedPutCompletesACutFileByteForByte()
{
    QByteArray content(3 * 1024 * 1024 + 77, Qt::Uninitialized);
    QRandomGenerator generator(11);
    generator.fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
    QVERIFY(testkit::writeFile(m_workDir->filePath("cut.mp3"), content));
    const qint64 cut = 1024 * 1024 + 5;
    QVERIFY(testkit::writeFile(m_root + "/cut.mp3", content.first(cut)));
    QFile file(m_workDir->filePath("cut.mp3"));
    queueLogin();
    const int putId = m_client->resumePut(&file, QStringLiteral("cut.mp3"), cut);
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QVERIFY(m_recorder->events.contains(QStringLiteral("progress 0/%1").arg(content.size() - cut)));
    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 ok").arg(putId)));
    QCOMPARE(testkit::readFile(m_root + "/cut.mp3"), content);
}

void TestFtpClient::rawCommandsGiveTheServersReplyAndFeatures()
{
    QVERIFY(testkit::writeFile(m_root + "/a.mp3", "12345"));
    const QDateTime when(QDate(2024, 1, 31), QTime(12, 0, 5), QTimeZone::utc());
    QFile stamped(m_root + "/a.mp3");
    QVERIFY(stamped.open(QIODevice::ReadWrite));
    QVERIFY(stamped.setFileTime(when, QFileDevice::FileModificationTime));
    stamped.close();
    QList<QPair<int, QString>> replies;
    connect(m_client.get(), &FtpClient::rawCommandReply, this,
            [&](int code, const QString &detail) { replies.append({code, detail}); });
    queueLogin();
    m_client->rawCommand(QStringLiteral("TYPE I"));
    m_client->rawCommand(QStringLiteral("SIZE a.mp3"));
    m_client->rawCommand(QStringLiteral("MDTM a.mp3"));
    const int refusedId = m_client->rawCommand(QStringLiteral("MDTM missing.mp3"));
    m_client->rawCommand(QStringLiteral("NOOP"));
    waitDone();

    // A refusal is the caller's to judge: the queue goes on.
    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 ok").arg(refusedId)));
    QCOMPARE(replies.size(), 5);
    QCOMPARE(replies[1], qMakePair(213, QStringLiteral("5")));
    QCOMPARE(ftp::parseTimeVal(replies[2].second), std::optional<QDateTime>(when));
    QCOMPARE(replies[3].first, 550);
    QCOMPARE(replies[4].first, 200);
    QVERIFY(m_client->hasFeature(QStringLiteral("REST STREAM")));
    QVERIFY(m_client->hasFeature(QStringLiteral("mdtm")));
    QVERIFY(m_client->hasFeature(QStringLiteral("MLST")));
    QVERIFY(!m_client->hasFeature(QStringLiteral("MLS")));
}

QTEST_GUILESS_MAIN(TestFtpClient)
#include "tst_ftpclient.moc"
