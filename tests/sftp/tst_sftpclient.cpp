#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QTimeZone>

#include "sftp/sftpclient.h"
#include "tests/ftp/clientrecorder.h"
#include "tests/kit/sshserver.h"
#include "tests/kit/testkit.h"

namespace {

constexpr int Patience = 30000;
const QString Password = QStringLiteral("s3cret-pass");

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAll());
}

} // namespace

// Against Debian's sshd and a paramiko server, both started by the test.
class TestSftpClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void sessionPassesThroughEveryStateInOrder();
    void putArrivesByteForByte_data();
    void putArrivesByteForByte();
    void smallPutsQueuedTogetherAreToldInTurn_data();
    void smallPutsQueuedTogetherAreToldInTurn();
    void resumedPutCompletesOrFailsTheCheck_data();
    void resumedPutCompletesOrFailsTheCheck();
    void cdFollowsRelativeAndAbsolutePaths_data();
    void cdFollowsRelativeAndAbsolutePaths();
    void listingGivesExactSizesAndTimes_data();
    void listingGivesExactSizesAndTimes();
    void hostKeyIsCheckedBeforeTheLogin_data();
    void hostKeyIsCheckedBeforeTheLogin();
    void loginTriesEveryWayInOpenSshOrder_data();
    void loginTriesEveryWayInOpenSshOrder();
    void faultsEndTheCommandCleanly_data();
    void faultsEndTheCommandCleanly();
    void cutTransferStopsAtOnceAndTheClientGoesOn_data();
    void cutTransferStopsAtOnceAndTheClientGoesOn();

private:
    void startServer(testkit::SshServer::Options options = {});
    void trustServer();
    void queueLogin();
    void waitDone(int count = 1);
    QString entry() const { return QStringLiteral("[127.0.0.1]:%1").arg(m_server->port()); }

    std::unique_ptr<testkit::WorkDir> m_workDir;
    std::unique_ptr<testkit::SshServer> m_server;
    std::unique_ptr<SftpClient> m_client;
    std::unique_ptr<ClientRecorder> m_recorder;
    std::unique_ptr<QProcess> m_agent;
    QString m_root;
    QString m_sshDir;
    QByteArray m_home;
};

void TestSftpClient::init()
{
    m_workDir = std::make_unique<testkit::WorkDir>();
    m_root = m_workDir->filePath(QStringLiteral("root"));
    m_sshDir = m_workDir->filePath(QStringLiteral("home/.ssh"));
    QVERIFY(QDir().mkpath(m_root) && QDir().mkpath(m_sshDir) && QDir().mkpath(m_workDir->filePath(QStringLiteral("server"))));
    // The user's keys and known hosts are the test's.
    m_home = qgetenv("HOME");
    qputenv("HOME", m_workDir->filePath(QStringLiteral("home")).toUtf8());
    qunsetenv("SSH_AUTH_SOCK");
    m_client = std::make_unique<SftpClient>();
    m_recorder = std::make_unique<ClientRecorder>(m_client.get());
}

void TestSftpClient::cleanup()
{
    m_recorder.reset();
    m_client.reset();
    if (m_agent) {
        m_agent->kill();
        m_agent->waitForFinished();
        m_agent.reset();
    }
    m_server.reset();
    qputenv("HOME", m_home);
    m_workDir.reset();
}

// By default sshd, which lets root in with a new id_ed25519 of the user's.
void TestSftpClient::startServer(testkit::SshServer::Options options)
{
    options.root = m_root;
    options.folder = m_workDir->filePath(QStringLiteral("server"));
    QString error;
    if (!options.python && options.authorizedKey.isEmpty()) {
        options.authorizedKey = testkit::makeSshKey(m_sshDir + QStringLiteral("/id_ed25519"), QStringLiteral("ed25519"), QString(), &error);
        QVERIFY2(!options.authorizedKey.isEmpty(), qPrintable(error));
    }
    m_server = std::make_unique<testkit::SshServer>();
    QVERIFY2(m_server->start(options), qPrintable(m_server->errorString()));
}

void TestSftpClient::trustServer()
{
    QVERIFY(testkit::writeFile(m_workDir->filePath(QStringLiteral("known_hosts")), entry().toUtf8() + ' ' + m_server->hostKey() + '\n'));
}

void TestSftpClient::queueLogin()
{
    m_client->connectToHost(m_server->host(), m_server->port());
    m_client->login(m_server->user(), m_server->python() ? m_server->password() : Password);
}

void TestSftpClient::waitDone(int count)
{
    QTRY_VERIFY_WITH_TIMEOUT(m_recorder->doneCount >= count, Patience);
}

void TestSftpClient::sessionPassesThroughEveryStateInOrder()
{
    startServer();
    trustServer();
    queueLogin();
    m_client->close();
    waitDone();

    QCOMPARE(m_recorder->events,
             QStringList({"start 1", "state 1", "state 2", "state 3", "finish 1 ok", "start 2", "state 4", "finish 2 ok",
                          "start 3", "state 5", "state 0", "finish 3 ok", "done ok"}));
    QVERIFY(m_client->isEncrypted());
    QVERIFY(m_client->hasFeature(QStringLiteral("REST STREAM")) && m_client->hasFeature(QStringLiteral("MLST")));
    QVERIFY(!m_client->hasFeature(QStringLiteral("MDTM")));
}

void TestSftpClient::putArrivesByteForByte_data()
{
    QTest::addColumn<bool>("python");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QByteArray>("existing");

    QTest::newRow("empty") << false << qint64(0) << QByteArray();
    // Exactly the writes that may be in flight, then more than fit.
    QTest::newRow("2 MiB") << false << qint64(2 * 1024 * 1024) << QByteArray();
    QTest::newRow("3 MiB and some") << false << qint64(3 * 1024 * 1024 + 123) << QByteArray();
    QTest::newRow("over a longer file") << false << qint64(40000) << randomBytes(100000);
    QTest::newRow("paramiko") << true << qint64(300000) << QByteArray();
}

void TestSftpClient::putArrivesByteForByte()
{
    QFETCH(bool, python);
    QFETCH(qint64, size);
    QFETCH(QByteArray, existing);
    testkit::SshServer::Options options;
    options.python = python;
    startServer(options);
    trustServer();
    if (!existing.isEmpty())
        QVERIFY(testkit::writeFile(m_root + "/MP3/episode.mp3", existing));
    else
        QVERIFY(QDir(m_root).mkdir(QStringLiteral("MP3")));
    const QByteArray content = randomBytes(size);
    QBuffer device;
    device.setData(content);
    queueLogin();
    m_client->cd(QStringLiteral("MP3"));
    m_client->put(&device, QStringLiteral("episode.mp3"));
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QVERIFY(testkit::readFile(m_root + "/MP3/episode.mp3") == content);
    QCOMPARE(m_recorder->progress.first(), qMakePair(qint64(0), size));
    QCOMPARE(m_recorder->progress.last(), qMakePair(size, size));
    QVERIFY(std::is_sorted(m_recorder->progress.cbegin(), m_recorder->progress.cend()));
}

void TestSftpClient::smallPutsQueuedTogetherAreToldInTurn_data()
{
    QTest::addColumn<int>("refused"); // the file with a folder in its way, or -1

    QTest::newRow("all sent") << -1;
    QTest::newRow("one refused") << 2;
}

// Twelve files, the fifth too large to go with the others: each is told in turn, and those
// behind a refused one are not told at all.
void TestSftpClient::smallPutsQueuedTogetherAreToldInTurn()
{
    QFETCH(int, refused);
    startServer();
    trustServer();
    queueLogin();
    if (refused >= 0)
        QVERIFY(QDir(m_root).mkdir(QStringLiteral("f%1").arg(refused)));
    std::vector<std::unique_ptr<QBuffer>> devices;
    QStringList expected;
    for (int i = 0; i < 12; ++i) {
        devices.push_back(std::make_unique<QBuffer>());
        devices.back()->setData(randomBytes(i == 4 ? 300 * 1024 : 20000 + i));
        const int id = m_client->put(devices.back().get(), QStringLiteral("f%1").arg(i));
        if (refused < 0 || i <= refused)
            expected << QStringLiteral("start %1").arg(id) << QStringLiteral("progress 0/%1").arg(devices.back()->size());
        if (i == refused)
            expected << QStringLiteral("finish %1 error").arg(id);
        else if (refused < 0 || i < refused)
            expected << QStringLiteral("progress %1/%1").arg(devices.back()->size()) << QStringLiteral("finish %1 ok").arg(id);
    }
    waitDone();

    QStringList events = m_recorder->events.mid(m_recorder->events.indexOf(QStringLiteral("state 4")) + 2);
    events.removeDuplicates();
    QCOMPARE(events, expected << (refused < 0 ? "done ok" : "done error"));
    if (refused >= 0)
        QCOMPARE(m_client->errorString(), QStringLiteral("Uploading file failed: Failure"));
    for (int i = 0; i < (refused < 0 ? 12 : refused); ++i)
        QVERIFY2(testkit::readFile(m_root + QStringLiteral("/f%1").arg(i)) == devices.at(i)->data(), qPrintable(QString::number(i)));
}

void TestSftpClient::resumedPutCompletesOrFailsTheCheck_data()
{
    QTest::addColumn<qint64>("onServer");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<qint64>("serverSize"); // what the server holds after the local file's bytes
    QTest::addColumn<QString>("error");

    const qint64 cut = 1024 * 1024 + 5;
    QTest::newRow("cut file completed") << cut << cut << cut << QString();
    QTest::newRow("nothing left to send") << qint64(3000000) << qint64(3000000) << qint64(3000000) << QString();
    // A file the resume does not make whole must not pass for one.
    QTest::newRow("longer than the local file") << cut << cut << qint64(4000000)
                                                << QStringLiteral("The file episode.mp3 was not completed: 3000000 bytes expected, the server has 4000000");
}

void TestSftpClient::resumedPutCompletesOrFailsTheCheck()
{
    QFETCH(qint64, onServer);
    QFETCH(qint64, offset);
    QFETCH(qint64, serverSize);
    QFETCH(QString, error);
    startServer();
    trustServer();
    const QByteArray content = randomBytes(3000000);
    QVERIFY(testkit::writeFile(m_root + "/episode.mp3", content.left(onServer).leftJustified(serverSize, 'x')));
    QBuffer device;
    device.setData(content);
    queueLogin();
    m_client->resumePut(&device, QStringLiteral("episode.mp3"), offset);
    waitDone();

    QCOMPARE(m_client->errorString(), error);
    if (error.isEmpty())
        QVERIFY(testkit::readFile(m_root + "/episode.mp3") == content);
    QCOMPARE(m_recorder->progress.first(), qMakePair(qint64(0), content.size() - offset));
}

void TestSftpClient::cdFollowsRelativeAndAbsolutePaths_data()
{
    QTest::addColumn<QStringList>("dirs");
    QTest::addColumn<QString>("landsIn");
    QTest::addColumn<QString>("error");

    QTest::newRow("relative") << QStringList{"MP3"} << "MP3" << QString();
    QTest::newRow("relative to the last one") << QStringList{"MP3", "../other"} << "other" << QString();
    QTest::newRow("absolute") << QStringList{"MP3", "%ROOT%/other"} << "other" << QString();
    QTest::newRow("missing folder") << QStringList{"missing"} << QString() << "Changing directory failed: No such file";
    QTest::newRow("a file") << QStringList{"notes.txt"} << QString() << "Changing directory failed: notes.txt is not a folder";
}

void TestSftpClient::cdFollowsRelativeAndAbsolutePaths()
{
    QFETCH(QStringList, dirs);
    QFETCH(QString, landsIn);
    QFETCH(QString, error);
    startServer();
    trustServer();
    QVERIFY(QDir(m_root).mkdir(QStringLiteral("MP3")) && QDir(m_root).mkdir(QStringLiteral("other")));
    QVERIFY(testkit::writeFile(m_root + "/notes.txt", "notes"));
    QBuffer device;
    device.setData("episode");
    queueLogin();
    for (const QString &dir : std::as_const(dirs))
        m_client->cd(QString(dir).replace(QStringLiteral("%ROOT%"), m_root));
    const int putId = m_client->put(&device, QStringLiteral("episode.mp3"));
    waitDone();

    QCOMPARE(m_client->errorString(), error);
    if (error.isEmpty())
        QCOMPARE(testkit::readFile(m_root + u'/' + landsIn + "/episode.mp3"), QByteArray("episode"));
    else
        QVERIFY(!m_recorder->events.contains(QStringLiteral("start %1").arg(putId)));
}

void TestSftpClient::listingGivesExactSizesAndTimes_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QStringList>("expected"); // name size time kind

    QTest::newRow("current") << QString()
                             << QStringList{"MP3 - - dir", "a.mp3 5 2024-03-10T12:34:56+00:00 file", "b.mp3 3 2001-01-01T00:00:01+00:00 file"};
    QTest::newRow("named") << "MP3" << QStringList{"c.mp3 7 2025-12-31T23:59:59+00:00 file"};
}

void TestSftpClient::listingGivesExactSizesAndTimes()
{
    QFETCH(QString, dir);
    QFETCH(QStringList, expected);
    startServer();
    trustServer();
    const auto make = [this](const QString &name, const QByteArray &content, const char *time) {
        QFile file(m_root + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.flush());
        QVERIFY(file.setFileTime(QDateTime::fromString(QLatin1String(time), Qt::ISODate), QFileDevice::FileModificationTime));
    };
    QVERIFY(QDir(m_root).mkdir(QStringLiteral("MP3")));
    make(QStringLiteral("a.mp3"), "12345", "2024-03-10T12:34:56Z");
    make(QStringLiteral("b.mp3"), "123", "2001-01-01T00:00:01Z");
    make(QStringLiteral("MP3/c.mp3"), "1234567", "2025-12-31T23:59:59Z");
    queueLogin();
    m_client->list(dir);
    waitDone();

    QStringList listed;
    for (const UrlInfo &info : std::as_const(m_recorder->entries)) {
        listed << QStringList{info.name(), info.isDir() ? "-" : QString::number(info.size()),
                              info.isDir() ? "-" : info.lastModified().toString(Qt::ISODate),
                              info.isDir() ? "dir" : info.isFile() ? "file" : "other"}.join(u' ');
    }
    listed.sort();
    QCOMPARE(listed, expected);
}

void TestSftpClient::hostKeyIsCheckedBeforeTheLogin_data()
{
    QTest::addColumn<QByteArray>("known");
    QTest::addColumn<QByteArray>("userKnown");
    QTest::addColumn<QString>("answer"); // to the question, if one is expected
    QTest::addColumn<bool>("authorized");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QByteArray>("knownAfter");

    const QByteArray line = "%ENTRY% %KEY%\n";
    QTest::newRow("unknown, always") << QByteArray() << QByteArray() << "always" << true << QString() << line;
    QTest::newRow("unknown, once") << QByteArray() << QByteArray() << "once" << true << QString() << QByteArray();
    QTest::newRow("unknown, always, login refused") << QByteArray() << QByteArray() << "always" << false
                                                    << "Login failed: the server accepted none of the keys nor the password (it offers: publickey)"
                                                    << QByteArray();
    QTest::newRow("unknown, refused") << QByteArray() << QByteArray() << "reject" << true
                                      << "The host key of 127.0.0.1 was not accepted: connection cancelled" << QByteArray();
    QTest::newRow("known here") << line << QByteArray() << QString() << true << QString() << line;
    QTest::newRow("known by the user, hashed") << QByteArray() << QByteArray("%HASHED%") << QString() << true << QString() << QByteArray();
    QTest::newRow("changed") << QByteArray("# old\n%ENTRY% %OTHER%\n") << QByteArray() << QString() << true
                             << "The host key of %ENTRY% has changed: the server now shows the ssh-ed25519 key %FINGERPRINT%. If you "
                                "know why, remove line 2 of %KNOWN% (the old key). The connection was stopped before any password "
                                "or key was sent."
                             << QByteArray("# old\n%ENTRY% %OTHER%\n");
}

void TestSftpClient::hostKeyIsCheckedBeforeTheLogin()
{
    QFETCH(QByteArray, known);
    QFETCH(QByteArray, userKnown);
    QFETCH(QString, answer);
    QFETCH(bool, authorized);
    QFETCH(QString, error);
    QFETCH(QByteArray, knownAfter);
    testkit::SshServer::Options options;
    QString keyError;
    const QByteArray other = testkit::makeSshKey(m_workDir->filePath("other"), "ed25519", QString(), &keyError).split(' ').mid(0, 2).join(' ');
    QVERIFY2(!other.isEmpty(), qPrintable(keyError));
    if (!authorized)
        options.authorizedKey = other;
    startServer(options);
    const QString knownFile = m_workDir->filePath(QStringLiteral("known_hosts"));
    const QString fingerprint = run("ssh-keygen", {"-l", "-f", m_server->hostKeyFile()}).split(u' ').value(1);
    const auto fill = [&](QByteArray text) {
        return text.replace("%ENTRY%", entry().toUtf8()).replace("%KEY%", m_server->hostKey()).replace("%OTHER%", other);
    };
    if (!known.isEmpty())
        QVERIFY(testkit::writeFile(knownFile, fill(known)));
    const QString userFile = m_sshDir + QStringLiteral("/known_hosts");
    if (!userKnown.isEmpty()) {
        QVERIFY(testkit::writeFile(userFile, fill("%ENTRY% %KEY%\n")));
        run("ssh-keygen", {"-H", "-f", userFile});
        QVERIFY(!testkit::readFile(userFile).contains("127.0.0.1"));
    }
    const QByteArray userBefore = testkit::readFile(userFile);
    QStringList questions;
    bool knownBeforeLogin = false;
    connect(m_client.get(), &RemoteClient::unknownHostKey, this, [&](const QString &type, const QString &print) {
        questions << type + u' ' + print;
        if (answer == QLatin1String("reject"))
            m_client->rejectHostKey();
        else
            m_client->acceptHostKey(answer == QLatin1String("always"));
    });
    connect(m_client.get(), &RemoteClient::commandStarted, this, [&](int id) {
        if (id == 2)
            knownBeforeLogin = QFile::exists(knownFile) && knownAfter != known;
    });
    queueLogin();
    waitDone();

    QCOMPARE(m_client->errorString(), QString(error).replace("%ENTRY%", entry()).replace("%FINGERPRINT%", fingerprint).replace("%KNOWN%", knownFile));
    QCOMPARE(questions, answer.isEmpty() ? QStringList() : QStringList{"ssh-ed25519 " + fingerprint});
    QVERIFY(fingerprint.startsWith("SHA256:"));
    QVERIFY(!knownBeforeLogin);
    QCOMPARE(testkit::readFile(knownFile), fill(knownAfter));
    QCOMPARE(testkit::readFile(userFile), userBefore);
    if (answer == QLatin1String("reject") || (!known.isEmpty() && !error.isEmpty()))
        QVERIFY(!m_recorder->events.contains(QStringLiteral("start 2")));
}

void TestSftpClient::loginTriesEveryWayInOpenSshOrder_data()
{
    QTest::addColumn<bool>("python");
    QTest::addColumn<QStringList>("keys"); // type[:encrypted], the authorized one marked with a *
    QTest::addColumn<bool>("agent");
    QTest::addColumn<QStringList>("auth");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("error");

    const QStringList none;
    QTest::newRow("ed25519 key") << false << QStringList{"ed25519*"} << false << none << QString() << QString();
    QTest::newRow("rsa key after a refused one") << false << QStringList{"ed25519", "rsa*"} << false << none << QString() << QString();
    QTest::newRow("encrypted ecdsa key") << false << QStringList{"ecdsa:encrypted*"} << false << none << Password << QString();
    QTest::newRow("agent") << false << none << true << none << QString() << QString();
    QTest::newRow("no key known") << false << QStringList{"ed25519"} << false << none << Password
                                  << "Login failed: the server accepted none of the keys nor the password (it offers: publickey)";
    QTest::newRow("password") << true << none << false << QStringList{"password"} << Password << QString();
    QTest::newRow("keyboard-interactive") << true << none << false << QStringList{"keyboard-interactive"} << Password << QString();
    QTest::newRow("wrong password") << true << none << false << QStringList{"password", "keyboard-interactive"} << "wrong"
                                    << "Login failed: the server accepted none of the keys nor the password (it offers: password, keyboard-interactive)";
}

void TestSftpClient::loginTriesEveryWayInOpenSshOrder()
{
    QFETCH(bool, python);
    QFETCH(QStringList, keys);
    QFETCH(bool, agent);
    QFETCH(QStringList, auth);
    QFETCH(QString, password);
    QFETCH(QString, error);
    testkit::SshServer::Options options;
    options.python = python;
    options.auth = auth;
    QString keyError;
    for (QString key : std::as_const(keys)) {
        const bool allowed = key.endsWith(u'*');
        key.remove(u'*');
        const QStringList parts = key.split(u':');
        const QByteArray line = testkit::makeSshKey(m_sshDir + "/id_" + parts[0], parts[0], parts.size() > 1 ? Password : QString(), &keyError);
        QVERIFY2(!line.isEmpty(), qPrintable(keyError));
        if (allowed)
            options.authorizedKey = line;
    }
    if (agent) {
        const QString key = m_workDir->filePath(QStringLiteral("agent_key"));
        options.authorizedKey = testkit::makeSshKey(key, "ed25519", QString(), &keyError);
        const QString socket = m_workDir->filePath(QStringLiteral("agent.sock"));
        m_agent = std::make_unique<QProcess>();
        m_agent->start("ssh-agent", {"-D", "-a", socket});
        QTRY_VERIFY(QFile::exists(socket));
        qputenv("SSH_AUTH_SOCK", socket.toUtf8());
        QCOMPARE(QProcess::execute("ssh-add", {"-q", key}), 0);
    }
    if (!python && options.authorizedKey.isEmpty())
        options.authorizedKey = testkit::makeSshKey(m_workDir->filePath("stranger"), "ed25519", QString(), &keyError);
    startServer(options);
    trustServer();
    m_client->connectToHost(m_server->host(), m_server->port());
    m_client->login(m_server->user(), password);
    waitDone();

    QCOMPARE(m_client->errorString(), error);
    QCOMPARE(m_client->state(), error.isEmpty() ? RemoteClient::LoggedIn : RemoteClient::Connected);
}

void TestSftpClient::faultsEndTheCommandCleanly_data()
{
    QTest::addColumn<QString>("server"); // "none", "sshd" or the paramiko server's fault
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state");
    QTest::addColumn<qint64>("confirmed"); // by the server, at most

    const int unknown = RemoteClient::UnknownError;
    QTest::newRow("refused") << "none" << "127.0.0.1" << "connect" << int(RemoteClient::ConnectionRefused)
                             << "Connection refused to host 127.0.0.1" << int(RemoteClient::Unconnected) << qint64(0);
    QTest::newRow("host not found") << "none" << "no-such-host.invalid" << "connect" << int(RemoteClient::HostNotFound)
                                    << "Host no-such-host.invalid not found" << int(RemoteClient::Unconnected) << qint64(0);
    QTest::newRow("silent peer") << "silent" << "127.0.0.1" << "connect" << unknown << "Connection to host 127.0.0.1 timed out"
                                 << int(RemoteClient::Unconnected) << qint64(0);
    QTest::newRow("stalls mid-transfer") << "stall" << "127.0.0.1" << "put" << unknown << "The data transfer stalled"
                                         << int(RemoteClient::Unconnected) << qint64(0);
    // The socket's own word ("disconnected", "Broken pipe") depends on whether the client was reading or writing.
    QTest::newRow("drops mid-transfer") << "drop" << "127.0.0.1" << "put" << unknown << "Connection to the server lost: Socket error: "
                                        << int(RemoteClient::Unconnected) << qint64(0);
    QTest::newRow("disk full") << "disk-full" << "127.0.0.1" << "put" << unknown
                               << "The file episode.mp3 was not sent: the server could not write it (Failure); its disk may be full"
                               << int(RemoteClient::LoggedIn) << qint64(64 * 1024);
    QTest::newRow("permission denied") << "read-only" << "127.0.0.1" << "put" << unknown << "Uploading file failed: Permission denied"
                                       << int(RemoteClient::LoggedIn) << qint64(0);
    QTest::newRow("a folder in the way") << "sshd" << "127.0.0.1" << "put folder" << unknown << "Uploading file failed: Failure"
                                         << int(RemoteClient::LoggedIn) << qint64(0);
    QTest::newRow("raw command") << "sshd" << "127.0.0.1" << "raw" << unknown << "SFTP has no raw commands: \"MDTM episode.mp3\" was not sent"
                                 << int(RemoteClient::LoggedIn) << qint64(0);
}

void TestSftpClient::faultsEndTheCommandCleanly()
{
    QFETCH(QString, server);
    QFETCH(QString, host);
    QFETCH(QString, command);
    QFETCH(int, error);
    QFETCH(QString, text);
    QFETCH(int, state);
    QFETCH(qint64, confirmed);
    quint16 port = testkit::freePort();
    if (server != QLatin1String("none")) {
        testkit::SshServer::Options options;
        options.python = server != QLatin1String("sshd");
        options.fault = options.python ? server : QString();
        startServer(options);
        trustServer();
        port = m_server->port();
    }
    m_client->setTimeouts(std::chrono::milliseconds(1500), std::chrono::milliseconds(1500));
    QBuffer device;
    device.setData(randomBytes(1024 * 1024));
    m_client->connectToHost(host, port);
    if (command != QLatin1String("connect"))
        m_client->login(m_server->user(), m_server->python() ? m_server->password() : Password);
    if (command == QLatin1String("put folder"))
        QVERIFY(QDir(m_root).mkdir(QStringLiteral("episode.mp3")));
    if (command.startsWith(QLatin1String("put")))
        m_client->put(&device, QStringLiteral("episode.mp3"));
    if (command == QLatin1String("raw"))
        m_client->rawCommand(QStringLiteral("MDTM episode.mp3"));
    const int listId = m_client->list();
    waitDone();

    QCOMPARE(m_recorder->doneCount, 1);
    QCOMPARE(m_recorder->events.last(), QStringLiteral("done error"));
    QVERIFY(!m_recorder->events.contains(QStringLiteral("start %1").arg(listId)));
    QCOMPARE(int(m_client->error()), error);
    if (text.endsWith(u' '))
        QVERIFY2(m_client->errorString().startsWith(text), qPrintable(m_client->errorString()));
    else
        QCOMPARE(m_client->errorString(), text);
    QCOMPARE(int(m_client->state()), state);
    for (const auto &[done, total] : std::as_const(m_recorder->progress))
        QVERIFY(done <= confirmed);
}

void TestSftpClient::cutTransferStopsAtOnceAndTheClientGoesOn_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("destroy");

    QTest::newRow("abort") << "stall" << false;
    // The writes in flight are answered after the abort: the file is then closed, not left to the session's end.
    QTest::newRow("abort, file closed") << "hold" << false;
    QTest::newRow("client destroyed") << "stall" << true;
}

void TestSftpClient::cutTransferStopsAtOnceAndTheClientGoesOn()
{
    QFETCH(QString, fault);
    QFETCH(bool, destroy);
    testkit::SshServer::Options options;
    options.python = true;
    options.fault = fault;
    startServer(options);
    trustServer();
    QBuffer device;
    device.setData(randomBytes(4 * 1024 * 1024));
    queueLogin();
    const int putId = m_client->put(&device, QStringLiteral("episode.mp3"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_recorder->progress.isEmpty(), Patience);
    if (destroy) {
        m_recorder.reset();
        m_client = std::make_unique<SftpClient>();
        m_recorder = std::make_unique<ClientRecorder>(m_client.get());
    } else {
        m_client->abort();
        QCOMPARE(m_recorder->events.mid(m_recorder->events.size() - 3),
                 QStringList({"state 0", QStringLiteral("finish %1 error").arg(putId), "done error"}));
        QCOMPARE(m_client->errorString(), QStringLiteral("Aborted"));
        if (fault == QLatin1String("hold")) {
            QVERIFY(m_server->release());
            QTRY_COMPARE_WITH_TIMEOUT(m_server->closedFiles(), QStringList{"episode.mp3"}, 2000);
        }
    }
    const int doneBefore = m_recorder->doneCount;
    queueLogin();
    waitDone(doneBefore + 1);
    QCOMPARE(m_client->state(), RemoteClient::LoggedIn);
}

QTEST_MAIN(TestSftpClient)
#include "tst_sftpclient.moc"
