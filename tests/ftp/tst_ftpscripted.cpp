#include <QBuffer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QTest>

#include "clientrecorder.h"
#include "ftp/ftpclient.h"
#include "tests/kit/testkit.h"
#include "scriptedftpserver.h"

namespace {

constexpr int Patience = 20000;

} // namespace

// Against a scripted server, for what a real one will not do on demand.
class TestFtpScripted : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void splitAndMultiLineRepliesAreUnderstood_data();
    void splitAndMultiLineRepliesAreUnderstood();
    void dataConnectionGoesToTheControlPeerWhateverPasvNames();
    void everyEpsvAnswerLeadsToTheData_data();
    void everyEpsvAnswerLeadsToTheData();
    void refusalsCarryTheServersCodeAndText_data();
    void refusalsCarryTheServersCodeAndText();
    void unreachableEpsvPortFallsBackToPasvForTheSession();
    void strayReplyIsNotTakenForTheNextCommands_data();
    void strayReplyIsNotTakenForTheNextCommands();
    void silentQuitClosesWithinSeconds();
    void listLinesOfUnixAndDosServersArePassedOnWithDots();
    void mlsdIsUsedWhenOffered();
    void serverGoingAwayFailsTheQueue_data();
    void serverGoingAwayFailsTheQueue();
    void putEndsWithTheServersFinalReply_data();
    void putEndsWithTheServersFinalReply();
    void resumedPutIsCheckedWithTheServersSize_data();
    void resumedPutIsCheckedWithTheServersSize();
    void droppedDataConnectionFailsThePut_data();
    void droppedDataConnectionFailsThePut();
    void silenceFailsTheCommandAndCloses_data();
    void silenceFailsTheCommandAndCloses();
    void lineBreaksInNamesNeverReachTheServer();
    void lineBreaksInThePasswordNeverReachTheServer();
    void overlongListingLineFailsTheListing();
    void serverWithoutTlsGetsThePasswordOnlyWhenPlainIsAllowed_data();
    void serverWithoutTlsGetsThePasswordOnlyWhenPlainIsAllowed();

private:
    void queueLogin();
    void waitDone();

    std::unique_ptr<testkit::WorkDir> m_workDir;
    std::unique_ptr<ScriptedFtpServer> m_server;
    std::unique_ptr<FtpClient> m_client;
    std::unique_ptr<ClientRecorder> m_recorder;
};

void TestFtpScripted::init()
{
    m_workDir = std::make_unique<testkit::WorkDir>();
    m_server = std::make_unique<ScriptedFtpServer>();
    m_client = std::make_unique<FtpClient>();
    m_recorder = std::make_unique<ClientRecorder>(m_client.get());
}

void TestFtpScripted::cleanup()
{
    m_recorder.reset();
    m_client.reset();
    m_server.reset();
    m_workDir.reset();
}

void TestFtpScripted::queueLogin()
{
    m_client->connectToHost(QStringLiteral("127.0.0.1"), m_server->port());
    m_client->login(QStringLiteral("user"), QStringLiteral("password"));
}

void TestFtpScripted::waitDone()
{
    QTRY_VERIFY_WITH_TIMEOUT(m_recorder->doneCount > 0, Patience);
}

void TestFtpScripted::splitAndMultiLineRepliesAreUnderstood_data()
{
    QTest::addColumn<QList<QByteArray>>("greeting");
    QTest::addColumn<QList<QByteArray>>("features");

    QTest::newRow("one line each") << QList<QByteArray>{"220 Hello\r\n"} << QList<QByteArray>{"211 None\r\n"};
    QTest::newRow("multi-line in one packet")
        << QList<QByteArray>{"220-Welcome\r\n220-Be nice\r\n220 Ready\r\n"}
        << QList<QByteArray>{"211-Features:\r\n MDTM\r\n UTF8\r\n211 End\r\n"};
    QTest::newRow("split inside lines and codes")
        << QList<QByteArray>{"22", "0-Wel", "come\r", "\n220-", "Be nice\r\n2", "20 Ready\r", "\n"}
        << QList<QByteArray>{"211-Feat", "ures:\r\n UT", "F8\r\n21", "1 End\r\n"};
    QTest::newRow("bare line feeds") << QList<QByteArray>{"220-Welcome\n", "220 Ready\n"}
                                     << QList<QByteArray>{"211-Features:\n UTF8\n211 End\n"};
}

void TestFtpScripted::splitAndMultiLineRepliesAreUnderstood()
{
    QFETCH(QList<QByteArray>, greeting);
    QFETCH(QList<QByteArray>, features);
    m_server->setGreeting(greeting);
    m_server->on("FEAT", [&](const QByteArray &) { m_server->replyInPieces(features); });
    m_server->on("OPTS", [&](const QByteArray &) { m_server->replyInPieces({"200 ", "Always ", "in UTF8 mode.\r\n"}); });
    queueLogin();
    m_client->cd(QStringLiteral("/"));
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QCOMPARE(m_client->state(), FtpClient::LoggedIn);
    const bool utf8 = features.join().contains("UTF8");
    QCOMPARE(m_server->commands().contains("OPTS UTF8 ON"), utf8);
}

void TestFtpScripted::dataConnectionGoesToTheControlPeerWhateverPasvNames()
{
    m_server->on("EPSV", [&](const QByteArray &) { m_server->reply("500 EPSV not understood."); });
    // An address that leads nowhere: obeying it would hang or reach another host.
    m_server->on("PASV", [&](const QByteArray &) {
        const quint16 port = m_server->dataPort();
        m_server->reply("227 Entering Passive Mode (10,255,255,1," + QByteArray::number(port / 256) + ','
                        + QByteArray::number(port % 256) + ").");
    });
    m_server->setListing("-rw-r--r-- 1 o g 3 Mar 01  2024 a.mp3\r\n");
    queueLogin();
    m_client->list();
    m_client->list();
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QCOMPARE(m_server->dataConnections(), 2);
    QCOMPARE(m_recorder->entryNames(), (QStringList{"a.mp3", "a.mp3"}));
    // EPSV is not asked again once the server refused it.
    QCOMPARE(m_server->commands().count("EPSV"), 1);
    QCOMPARE(m_server->commands().count("PASV"), 2);
}

void TestFtpScripted::everyEpsvAnswerLeadsToTheData_data()
{
    QTest::addColumn<QByteArray>("epsvReply"); // %1 and %2: the data port's two bytes
    QTest::addColumn<int>("pasvCount");

    // The address is ignored as for PASV: it leads nowhere.
    QTest::newRow("227 to EPSV") << QByteArray("227 Entering Passive Mode (10,255,255,1,%1,%2)") << 0;
    QTest::newRow("229 without a port") << QByteArray("229 Entering Extended Passive Mode") << 1;
    QTest::newRow("temporary refusal") << QByteArray("425 Cannot open passive connection.") << 1;
}

void TestFtpScripted::everyEpsvAnswerLeadsToTheData()
{
    QFETCH(QByteArray, epsvReply);
    QFETCH(int, pasvCount);
    m_server->on("EPSV", [&](const QByteArray &) {
        const quint16 port = m_server->dataPort();
        m_server->reply(QString::fromLatin1(epsvReply).arg(port / 256).arg(port % 256).toLatin1());
    });
    m_server->setListing("-rw-r--r-- 1 o g 3 Mar 01  2024 a.mp3\r\n");
    queueLogin();
    m_client->list();
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QCOMPARE(m_recorder->entryNames(), QStringList{"a.mp3"});
    QCOMPARE(m_server->commands().count("PASV"), pasvCount);
}

void TestFtpScripted::refusalsCarryTheServersCodeAndText_data()
{
    QTest::addColumn<QByteArray>("verb"); // empty: the greeting
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("text");

    QTest::newRow("421 greeting") << QByteArray() << QByteArray("421 Too many connections (8) from this IP\r\n")
                                  << "Connecting to host failed: 421 Too many connections (8) from this IP";
    QTest::newRow("530 explained before the last line") << QByteArray("PASS") << QByteArray("530-Login incorrect.\r\n530 Bye.")
                                                         << "Login failed: 530 Login incorrect. Bye.";
    QTest::newRow("550 mkdir") << QByteArray("MKD") << QByteArray("550 Permission denied.")
                               << "Creating directory failed: 550 Permission denied.";
    QTest::newRow("450 delete") << QByteArray("DELE") << QByteArray("450 File busy, try later.")
                                << "Removing file failed: 450 File busy, try later.";
}

void TestFtpScripted::refusalsCarryTheServersCodeAndText()
{
    QFETCH(QByteArray, verb);
    QFETCH(QByteArray, reply);
    if (verb.isEmpty())
        m_server->setGreeting({reply});
    else
        m_server->on(verb, [&](const QByteArray &) { m_server->reply(reply); });
    queueLogin();
    m_client->mkdir(QStringLiteral("MP3"));
    m_client->remove(QStringLiteral("a.mp3"));
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done error"));
    QTEST(m_client->errorString(), "text");
    // Reached before being turned away, as QFtp reports it.
    const QStringList &events = m_recorder->events;
    QVERIFY(events.indexOf(QStringLiteral("state 3")) > events.indexOf(QStringLiteral("state 2")));
    if (verb.isEmpty())
        QCOMPARE(events.mid(events.indexOf(QStringLiteral("state 3"))),
                 (QStringList{"state 3", "state 0", "finish 1 error", "done error"}));
}

void TestFtpScripted::unreachableEpsvPortFallsBackToPasvForTheSession()
{
    quint16 closedPort = 0;
    {
        QTcpServer listener;
        QVERIFY(listener.listen(QHostAddress::LocalHost));
        closedPort = listener.serverPort();
    }
    // As behind a firewall: the port EPSV names accepts nothing, and the server, given the
    // command, would wait for a data connection on it.
    m_server->on("EPSV", [&](const QByteArray &) {
        m_server->reply("229 Entering Extended Passive Mode (|||" + QByteArray::number(closedPort) + "|)");
    });
    m_server->setListing("-rw-r--r-- 1 o g 3 Mar 01  2024 a.mp3\r\n");
    QBuffer content;
    content.setData("episode");
    queueLogin();
    m_client->list();
    m_client->put(&content, QStringLiteral("a.mp3"));
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QCOMPARE(m_recorder->entryNames(), QStringList{"a.mp3"});
    QCOMPARE(m_server->received(), QByteArray("episode"));
    const QList<QByteArray> &commands = m_server->commands();
    QCOMPARE(commands.mid(commands.indexOf("EPSV"), 3), (QList<QByteArray>{"EPSV", "PASV", "LIST"}));
    QCOMPARE(commands.count("EPSV"), 1);
    QCOMPARE(commands.count("PASV"), 2);
}

void TestFtpScripted::strayReplyIsNotTakenForTheNextCommands_data()
{
    QTest::addColumn<QByteArray>("lateReply"); // after the stray "200"; empty: none comes
    QTest::addColumn<QString>("cdError");

    QTest::newRow("stray 200 before the 250") << QByteArray("250 Directory changed.") << QString();
    QTest::newRow("200 as the only reply") << QByteArray() << QString();
    QTest::newRow("stray 200 before a refusal") << QByteArray("550 No such directory.")
                                                << "Changing directory failed: 550 No such directory.";
}

void TestFtpScripted::strayReplyIsNotTakenForTheNextCommands()
{
    QFETCH(QByteArray, lateReply);
    QFETCH(QString, cdError);
    m_server->on("CWD", [&](const QByteArray &) {
        m_server->reply("200 Stray.");
        if (!lateReply.isEmpty())
            m_server->replyLater(lateReply, 100);
    });
    m_server->setListing("-rw-r--r-- 1 o g 3 Mar 01  2024 a.mp3\r\n");
    queueLogin();
    const int cdId = m_client->cd(QStringLiteral("MP3"));
    m_client->list();
    waitDone();
    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 %2").arg(cdId).arg(cdError.isEmpty() ? "ok" : "error")));
    QCOMPARE(m_client->errorString(), cdError);
    // Whatever came late, the replies that follow are in step.
    m_client->list();
    QTRY_VERIFY_WITH_TIMEOUT(m_recorder->doneCount > 1, Patience);

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QCOMPARE(m_recorder->entryNames(), QStringList(cdError.isEmpty() ? 2 : 1, QStringLiteral("a.mp3")));
    QVERIFY(!m_server->commands().contains("PASV"));
}

void TestFtpScripted::silentQuitClosesWithinSeconds()
{
    m_server->on("QUIT", [](const QByteArray &) {});
    m_client->setTimeouts(std::chrono::milliseconds(2000), std::chrono::minutes(2));
    queueLogin();
    waitDone();
    m_client->close();
    QTRY_VERIFY_WITH_TIMEOUT(m_recorder->doneCount > 1, 3000);

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QCOMPARE(m_client->state(), FtpClient::Unconnected);
}

// A line that cannot be read is skipped, not the listing.
void TestFtpScripted::listLinesOfUnixAndDosServersArePassedOnWithDots()
{
    m_server->setListing("total 3\r\n"
                         "drwxr-xr-x   2 owner group 4096 Mar 10  2024 .\r\n"
                         "drwxr-xr-x   2 owner group 4096 Mar 10  2024 ..\r\n"
                         "drwxr-xr-x   2 owner group 4096 Mar 10  2024 MP3\r\n"
                         "-rw-r--r--   1 owner group 1234 Mar 10  2024 first episode.mp3\r\n"
                         "-rw-r--r--   1 owner group 1234 03 10 21:22 numeric date.mp3\r\n"
                         "-rw-r--r--   1 owner group 1234 31 02 21:22 no such date.mp3\r\n"
                         "01-31-20  10:30AM       <DIR>          Old Shows\r\n"
                         "01-31-20  10:31AM               77 notes .xml");
    queueLogin();
    m_client->list();
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QCOMPARE(m_recorder->entryNames(),
             (QStringList{".", "..", "MP3", "first episode.mp3", "numeric date.mp3", "Old Shows", "notes .xml"}));
    QVERIFY(m_server->commands().contains("TYPE A"));
    QVERIFY(m_server->commands().contains("LIST"));
}

void TestFtpScripted::mlsdIsUsedWhenOffered()
{
    m_server->on("FEAT", [&](const QByteArray &) {
        m_server->reply("211-Features:\r\n MLST type*;size*;modify*;\r\n211 End");
    });
    m_server->on("MLSD", [&](const QByteArray &) {
        m_server->reply("150 Listing.");
        m_server->sendListing();
    });
    m_server->setListing("type=cdir;modify=20240101000000; /\r\n"
                         "type=dir;modify=20240101000000; MP3\r\n"
                         "type=file;size=5;modify=20240101000000; a b.mp3\r\n");
    queueLogin();
    m_client->list(QStringLiteral("some dir"));
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QVERIFY(m_server->commands().contains("MLSD some dir"));
    QCOMPARE(m_recorder->entryNames(), (QStringList{".", "MP3", "a b.mp3"}));
    QCOMPARE(m_recorder->entries[2].size(), 5);
}

void TestFtpScripted::serverGoingAwayFailsTheQueue_data()
{
    QTest::addColumn<bool>("say421");
    QTest::addColumn<QString>("text");

    QTest::newRow("421 reply") << true << "Changing directory failed: 421 Service not available, closing control connection.";
    QTest::newRow("connection dropped") << false << "Connection closed by the server";
}

void TestFtpScripted::serverGoingAwayFailsTheQueue()
{
    QFETCH(bool, say421);
    QFETCH(QString, text);
    m_server->on("CWD", [&](const QByteArray &argument) {
        if (argument != "b") {
            m_server->reply("250 OK.");
            return;
        }
        if (say421)
            m_server->reply("421 Service not available, closing control connection.");
        m_server->dropControl();
    });
    queueLogin();
    m_client->cd(QStringLiteral("a"));
    const int failing = m_client->cd(QStringLiteral("b"));
    const int discarded = m_client->mkdir(QStringLiteral("c"));
    waitDone();

    const QStringList &events = m_recorder->events;
    QCOMPARE(events.mid(events.indexOf(QStringLiteral("start %1").arg(failing))),
             QStringList({QStringLiteral("start %1").arg(failing), "state 0",
                          QStringLiteral("finish %1 error").arg(failing), "done error"}));
    QVERIFY(!events.contains(QStringLiteral("start %1").arg(discarded)));
    QCOMPARE(m_client->error(), FtpClient::UnknownError);
    QCOMPARE(m_client->errorString(), text);
    QCOMPARE(m_client->state(), FtpClient::Unconnected);
    QVERIFY(!m_server->commands().contains("MKD c"));
}

void TestFtpScripted::putEndsWithTheServersFinalReply_data()
{
    QTest::addColumn<QByteArray>("finalReply");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<QString>("text");

    QTest::newRow("accepted") << QByteArray("226 Transfer complete.") << false << QString();
    QTest::newRow("quota") << QByteArray("552 Quota exceeded.") << true << "Uploading file failed: 552 Quota exceeded.";
    QTest::newRow("transient") << QByteArray("451 Local error, try later.") << true << "Uploading file failed: 451 Local error, try later.";
}

void TestFtpScripted::putEndsWithTheServersFinalReply()
{
    QFETCH(QByteArray, finalReply);
    QFETCH(bool, failed);
    QFETCH(QString, text);
    bool replied = false;
    bool finishedBeforeReply = false;
    m_server->on("STOR", [&](const QByteArray &) {
        m_server->reply("150 Send it.");
        m_server->withDataConnection([&](QTcpSocket *data) {
            QObject::connect(data, &QTcpSocket::readyRead, data, [data] { data->readAll(); });
            QObject::connect(data, &QTcpSocket::disconnected, m_server.get(), [&] {
                QTimer::singleShot(200, m_server.get(), [&] {
                    replied = true;
                    m_server->reply(finalReply);
                });
            });
        });
    });
    QBuffer content;
    content.setData(QByteArray(300000, 'a'));
    queueLogin();
    const int putId = m_client->put(&content, QStringLiteral("a.mp3"));
    connect(m_client.get(), &FtpClient::commandFinished, this, [&](int id) {
        if (id == putId)
            finishedBeforeReply = !replied;
    });
    waitDone();

    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 %2").arg(putId).arg(failed ? "error" : "ok")));
    QVERIFY(m_recorder->events.contains(QStringLiteral("progress 300000/300000")));
    QCOMPARE(m_client->errorString(), text);
    QCOMPARE(m_client->state(), FtpClient::LoggedIn);
    QVERIFY(m_server->commands().contains("TYPE I"));
    QVERIFY(m_server->commands().contains("STOR a.mp3"));
    QVERIFY(!finishedBeforeReply);
}

void TestFtpScripted::resumedPutIsCheckedWithTheServersSize_data()
{
    QTest::addColumn<QByteArray>("sizeReply");
    QTest::addColumn<QString>("error");

    QTest::newRow("whole") << QByteArray("213 1000") << QString();
    QTest::newRow("short") << QByteArray("213 999")
                           << "The file a.mp3 was not completed: 1000 bytes expected, the server answered SIZE with \"213 999\"";
    QTest::newRow("refused") << QByteArray("550 No such file.")
                             << "The file a.mp3 was not completed: 1000 bytes expected, the server answered SIZE with \"550 No such file.\"";
}

void TestFtpScripted::resumedPutIsCheckedWithTheServersSize()
{
    QFETCH(QByteArray, sizeReply);
    QFETCH(QString, error);
    m_server->on("REST", [&](const QByteArray &) { m_server->reply("350 Restarting."); });
    m_server->on("SIZE", [&](const QByteArray &) { m_server->reply(sizeReply); });
    QByteArray bytes(1000, 'a');
    bytes.replace(400, 600, QByteArray(600, 'b'));
    QBuffer content(&bytes);
    queueLogin();
    const int putId = m_client->resumePut(&content, QStringLiteral("a.mp3"), 400);
    waitDone();

    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 %2").arg(putId).arg(error.isEmpty() ? "ok" : "error")));
    QCOMPARE(m_client->errorString(), error);
    QCOMPARE(m_server->received(), QByteArray(600, 'b'));
    const QList<QByteArray> &commands = m_server->commands();
    QCOMPARE(commands.mid(commands.indexOf("REST 400"), 3), (QList<QByteArray>{"REST 400", "STOR a.mp3", "SIZE a.mp3"}));
}

void TestFtpScripted::droppedDataConnectionFailsThePut_data()
{
    QTest::addColumn<QByteArray>("finalReply");
    QTest::addColumn<QString>("text");

    QTest::newRow("server reports it") << QByteArray("426 Connection closed; transfer aborted.")
                                       << "Uploading file failed: 426 Connection closed; transfer aborted.";
    QTest::newRow("server claims success") << QByteArray("226 Transfer complete.")
                                           << "The data connection closed before the whole file was sent";
}

void TestFtpScripted::droppedDataConnectionFailsThePut()
{
    QFETCH(QByteArray, finalReply);
    QFETCH(QString, text);
    m_server->on("STOR", [&](const QByteArray &) {
        m_server->reply("150 Send it.");
        m_server->withDataConnection([&](QTcpSocket *data) {
            data->abort();
            QTimer::singleShot(200, m_server.get(), [&] { m_server->reply(finalReply); });
        });
    });
    QBuffer content;
    content.setData(QByteArray(8 * 1024 * 1024, 'a'));
    queueLogin();
    const int putId = m_client->put(&content, QStringLiteral("a.mp3"));
    const int discarded = m_client->cd(QStringLiteral("x"));
    waitDone();

    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 error").arg(putId)));
    QVERIFY(!m_recorder->events.contains(QStringLiteral("start %1").arg(discarded)));
    QCOMPARE(m_client->errorString(), text);
    QCOMPARE(m_client->state(), FtpClient::LoggedIn);
}

void TestFtpScripted::silenceFailsTheCommandAndCloses_data()
{
    QTest::addColumn<QByteArray>("silentVerb"); // empty: no greeting
    QTest::addColumn<int>("command");

    QTest::newRow("no greeting") << QByteArray() << int(FtpClient::ConnectToHost);
    QTest::newRow("no reply") << QByteArray("CWD") << int(FtpClient::Cd);
    QTest::newRow("no listing data") << QByteArray("LIST") << int(FtpClient::List);
}

void TestFtpScripted::silenceFailsTheCommandAndCloses()
{
    QFETCH(QByteArray, silentVerb);
    QFETCH(int, command);
    if (silentVerb.isEmpty())
        m_server->setGreeting({});
    else if (silentVerb == "LIST")
        m_server->on(silentVerb, [&](const QByteArray &) { m_server->reply("150 Here it comes (not)."); });
    else
        m_server->on(silentVerb, [](const QByteArray &) {});
    m_client->setTimeouts(std::chrono::milliseconds(2000), std::chrono::milliseconds(300));
    int failedCommand = FtpClient::None;
    connect(m_client.get(), &FtpClient::commandFinished, this, [&](int, bool error) {
        if (error)
            failedCommand = m_client->currentCommand();
    });
    queueLogin();
    m_client->cd(QStringLiteral("dir"));
    m_client->list();
    waitDone();

    QCOMPARE(failedCommand, command);
    QCOMPARE(m_client->error(), FtpClient::UnknownError);
    QCOMPARE(m_client->state(), FtpClient::Unconnected);
    QCOMPARE(m_recorder->events.last(), QStringLiteral("done error"));
}

void TestFtpScripted::lineBreaksInNamesNeverReachTheServer()
{
    queueLogin();
    const int cdId = m_client->cd(QStringLiteral("a\r\nDELE important.mp3"));
    waitDone();

    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 error").arg(cdId)));
    for (const QByteArray &line : m_server->commands())
        QVERIFY2(!line.startsWith("DELE") && !line.startsWith("CWD"), line.constData());
    QCOMPARE(m_client->state(), FtpClient::LoggedIn);
}

void TestFtpScripted::overlongListingLineFailsTheListing()
{
    m_server->setListing("-rw-r--r-- 1 o g 3 Mar 01  2024 a.mp3\r\n" + QByteArray(3 * 1024 * 1024, 'x'));
    queueLogin();
    const int listId = m_client->list();
    waitDone();

    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 error").arg(listId)));
    QCOMPARE(m_recorder->entryNames(), QStringList{"a.mp3"});
    QCOMPARE(m_client->errorString(), QStringLiteral("The server sent an overlong listing line"));
}

void TestFtpScripted::lineBreaksInThePasswordNeverReachTheServer()
{
    m_server->on("AUTH", [&](const QByteArray &) { m_server->reply("502 Command not implemented."); });
    m_client->connectToHost(QStringLiteral("127.0.0.1"), m_server->port());
    const int loginId = m_client->login(QStringLiteral("user"), QStringLiteral("secret\r\nDELE important.mp3"));
    waitDone();

    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 error").arg(loginId)));
    for (const QByteArray &line : m_server->commands())
        QVERIFY2(!line.startsWith("DELE") && !line.startsWith("USER") && !line.startsWith("PASS"), line.constData());
}

void TestFtpScripted::serverWithoutTlsGetsThePasswordOnlyWhenPlainIsAllowed_data()
{
    QTest::addColumn<QByteArray>("authReply");
    QTest::addColumn<bool>("required");
    QTest::addColumn<bool>("plain");

    QTest::newRow("no TLS") << QByteArray("502 Command not implemented.") << false << true;
    QTest::newRow("no TLS where it was trusted") << QByteArray("500 AUTH not understood.") << true << false;
    QTest::newRow("TLS offered but not now") << QByteArray("431 Unable to start TLS now.") << false << false;
}

void TestFtpScripted::serverWithoutTlsGetsThePasswordOnlyWhenPlainIsAllowed()
{
    QFETCH(QByteArray, authReply);
    QFETCH(bool, required);
    QFETCH(bool, plain);
    m_server->on("AUTH", [&](const QByteArray &) { m_server->reply(authReply); });
    m_client->setTlsRequired(required);
    queueLogin();
    m_client->setTlsRequired(false);
    waitDone();

    QCOMPARE(m_server->commands().first(), QByteArray("AUTH TLS"));
    QVERIFY(!m_client->isEncrypted());
    if (plain) {
        QCOMPARE(m_client->state(), FtpClient::LoggedIn);
        QVERIFY(m_server->commands().contains("PASS password"));
        QVERIFY(!m_server->commands().contains("PBSZ 0"));
    } else {
        QCOMPARE(m_server->commands(), QList<QByteArray>{"AUTH TLS"});
        QCOMPARE(m_client->state(), FtpClient::Unconnected);
        QCOMPARE(m_client->error(), FtpClient::UnknownError);
        QVERIFY(!m_client->errorString().isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestFtpScripted)
#include "tst_ftpscripted.moc"
