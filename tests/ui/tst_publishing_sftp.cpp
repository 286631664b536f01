#include <memory>

#include <QCheckBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include "remote/remoteclient.h"
#include "tests/kit/sshserver.h"
#include "tests/kit/testkit.h"
#include "tests/ui/publishingkit.h"
#include "ui/ftpupload.h"

namespace {

const QString hostKeyTitle = QStringLiteral("Clé d'hôte inconnue");
const QString trustAlways = QStringLiteral("Toujours faire confiance");
const QString trustOnce = QStringLiteral("Faire confiance cette fois");
const QString cancel = QStringLiteral("Annuler");
const QString loggedIn = QStringLiteral(" : La connexion et l'identification ont été accomplies.");
const QString overSsh = QStringLiteral(" : Connexion chiffrée (SSH).");

// The key's fingerprint as ssh-keygen -l prints it: "256 SHA256:... comment (ED25519)".
QString fingerprintOf(const QString &publicKeyFile)
{
    QProcess keygen;
    keygen.start(QStringLiteral("ssh-keygen"), {QStringLiteral("-l"), QStringLiteral("-f"), publicKeyFile});
    keygen.waitForFinished();
    return QString::fromLatin1(keygen.readAllStandardOutput().split(' ').value(1));
}

} // namespace

// Publishing through the window to Debian's OpenSSH server with a profile named sftp://: the
// episodes of src/ go into server/site/MP3. The test's folder is the home folder too, so that the
// client logs in with home/.ssh/id_ed25519 and reads home/.ssh/known_hosts.
class PublishingSftpTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void onlyChangesDecidesFromTheServersCopy_data();
    void onlyChangesDecidesFromTheServersCopy();
    void emptyingMp3RemovesOnlyPlainFiles();
    void hostKeyAnswerDecidesLoginAndKnownHosts_data();
    void hostKeyAnswerDecidesLoginAndKnownHosts();
    void closingDuringAnUploadClosesTheFileFirst();

private:
    // OpenSSH's sshd; with a fault, the Python server, which logs in by password.
    void startServer(bool authorized = true, const QString &fault = QString());
    // Presses the button, waits until the connection it queues has ended, and returns the log.
    QStringList press(QPushButton *button);
    QString remote(const QString &name) const { return m_dir->filePath(QStringLiteral("server/site/") + name); }
    QString home(const QString &name) const { return m_dir->filePath(QStringLiteral("home/") + name); }
    // The known_hosts line of a key of the server's.
    QByteArray knownLine(const QByteArray &key) const
    {
        return "[127.0.0.1]:" + QByteArray::number(m_server->port()) + ' ' + key + '\n';
    }
    QByteArray serverLine() const { return knownLine(m_server->hostKey()); }
    qsizetype hostKeyQuestions() const;

    std::unique_ptr<testkit::WorkDir> m_dir;
    std::unique_ptr<testkit::SshServer> m_server;
    std::unique_ptr<testkit::ModalAnswerer> m_boxes;
    std::unique_ptr<ftpupload> m_window;
    std::unique_ptr<QSignalSpy> m_states;
    QByteArray m_userKey;
};

void PublishingSftpTest::initTestCase()
{
    // The keys are the test's own, never those of an agent.
    qunsetenv("SSH_AUTH_SOCK");
}

void PublishingSftpTest::init()
{
    m_dir = std::make_unique<testkit::WorkDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("server/site")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("sshd")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("home/.ssh")));
    qputenv("HOME", m_dir->filePath(QStringLiteral("home")).toLocal8Bit());
    QString error;
    m_userKey = testkit::makeSshKey(home(QStringLiteral(".ssh/id_ed25519")), QStringLiteral("ed25519"), QString(), &error);
    QVERIFY2(!m_userKey.isEmpty(), qPrintable(error));
    m_boxes = std::make_unique<testkit::ModalAnswerer>();
    m_window = std::make_unique<ftpupload>(QString());
}

void PublishingSftpTest::cleanup()
{
    m_states.reset();
    m_window.reset();
    m_boxes.reset();
    m_server.reset();
    m_dir.reset();
}

void PublishingSftpTest::startServer(bool authorized, const QString &fault)
{
    testkit::SshServer::Options options;
    options.root = m_dir->filePath(QStringLiteral("server"));
    options.folder = m_dir->filePath(QStringLiteral("sshd"));
    options.authorizedKey = m_userKey;
    options.python = !fault.isEmpty();
    options.fault = fault;
    QString error;
    if (!authorized)
        options.authorizedKey = testkit::makeSshKey(m_dir->filePath(QStringLiteral("other")), QStringLiteral("ed25519"), QString(), &error);
    QVERIFY2(!options.authorizedKey.isEmpty(), qPrintable(error));
    m_server = std::make_unique<testkit::SshServer>();
    QVERIFY2(m_server->start(options), qPrintable(m_server->errorString()));
    publishingkit::fillForm(m_window.get(), QStringLiteral("sftp://") + m_server->host(), m_server->port(), m_server->user(),
                            m_server->password(), m_dir->filePath(QStringLiteral("src")), m_dir->filePath(QStringLiteral("server/site")));
}

QStringList PublishingSftpTest::press(QPushButton *button)
{
    m_window->log->clear();
    QTest::mouseClick(button, Qt::LeftButton);
    // The SFTP client replaces the FTP one when the connection is queued; it starts from the
    // event loop, so no state change is missed.
    m_states = std::make_unique<QSignalSpy>(m_window->ftp, &RemoteClient::stateChanged);
    if (!publishingkit::waitForIdle(m_window->ftp, *m_states, *m_boxes))
        return {QStringLiteral("the connection did not end")};
    return publishingkit::logLines(m_window->log);
}

qsizetype PublishingSftpTest::hostKeyQuestions() const
{
    return std::count_if(m_boxes->boxes().cbegin(), m_boxes->boxes().cend(),
                         [](const testkit::ModalAnswerer::Box &box) { return box.title == hostKeyTitle; });
}

void PublishingSftpTest::onlyChangesDecidesFromTheServersCopy_data()
{
    QTest::addColumn<bool>("onlyChanges");
    QTest::addColumn<int>("copySize"); // of the server's copy of the episode; -1: none, nor MP3
    QTest::addColumn<bool>("copyIsOlder"); // than the local file; otherwise newer
    QTest::addColumn<QString>("line"); // the plan's line for the episode

    const QString queued = QStringLiteral("episode.mp3 mis en file d'attente.");
    const int whole = 3 * 1024 * 1024 + 11;
    const int cut = 700 * 1024 + 3;
    QTest::newRow("no MP3 yet") << true << -1 << false << queued;
    QTest::newRow("same copy, newer") << true << whole << false << QStringLiteral("1 fichier(s) déjà à jour sur le serveur.");
    // The size alone would keep it: the listing's time tells it apart.
    QTest::newRow("same size, older") << true << whole << true << queued;
    QTest::newRow("cut upload") << true << cut << false
                                << QStringLiteral("episode.mp3 mis en file d'attente (suite de l'envoi interrompu, à partir de l'octet %1).").arg(cut);
    QTest::newRow("everything sent") << false << whole << false << queued;
}

void PublishingSftpTest::onlyChangesDecidesFromTheServersCopy()
{
    QFETCH(bool, onlyChanges);
    QFETCH(int, copySize);
    QFETCH(bool, copyIsOlder);
    QFETCH(QString, line);
    QByteArray episode(3 * 1024 * 1024 + 11, Qt::Uninitialized);
    QRandomGenerator(3).fillRange(reinterpret_cast<quint32 *>(episode.data()), episode.size() / 4);
    const QString local = m_dir->filePath(QStringLiteral("src/episode.mp3"));
    QVERIFY(testkit::writeFile(local, episode));
    const QDateTime hourAgo = QDateTime::currentDateTimeUtc().addSecs(-3600);
    QFile localFile(local);
    QVERIFY(localFile.open(QIODevice::ReadWrite) && localFile.setFileTime(hourAgo, QFileDevice::FileModificationTime));
    if (copySize >= 0) {
        // A copy of the same size but older holds other bytes: only sending it again mends them.
        QByteArray copy = episode.first(copySize);
        if (copyIsOlder)
            copy.fill('x');
        QVERIFY(testkit::writeFile(remote(QStringLiteral("MP3/episode.mp3")), copy));
        QFile copyFile(remote(QStringLiteral("MP3/episode.mp3")));
        QVERIFY(!copyIsOlder
                || (copyFile.open(QIODevice::ReadWrite)
                    && copyFile.setFileTime(hourAgo.addSecs(-3600), QFileDevice::FileModificationTime)));
    }
    startServer();
    QVERIFY(testkit::writeFile(QStringLiteral("known_hosts"), serverLine()));
    m_window->findChild<QCheckBox *>(QStringLiteral("onlyChangesBox"))->setChecked(onlyChanges);
    const bool sent = line != QStringLiteral("1 fichier(s) déjà à jour sur le serveur.");
    if (sent)
        m_boxes->answer(QMessageBox::Ok);

    const QStringList lines = press(m_window->sendButton);

    QVERIFY2(lines.contains(line), qPrintable(lines.join(u'\n')));
    QCOMPARE(lines.value(lines.indexOf(loggedIn) + 1), overSsh);
    QCOMPARE(lines.contains(QStringLiteral(" : MKDIR MP3")), copySize < 0);
    QCOMPARE(lines.contains(QStringLiteral(" : Envoi du fichier ") + local), sent);
    QVERIFY(lines.contains(QStringLiteral(" : Prêt.")));
    QCOMPARE(testkit::readFile(remote(QStringLiteral("MP3/episode.mp3"))), episode);
    QCOMPARE(m_boxes->boxes().size(), sent ? 1 : 0);
    // The TLS servers' file stays FTP's.
    QVERIFY(!QFileInfo::exists(QStringLiteral("serveurs-tls.txt")));
}

void PublishingSftpTest::emptyingMp3RemovesOnlyPlainFiles()
{
    for (const QString &name : {QStringLiteral("episode 1.mp3"), QStringLiteral("playlist.xml"), QStringLiteral("c\\d.mp3"),
                                QStringLiteral("bad\rname.mp3"), QStringLiteral("old/kept.mp3")})
        QVERIFY(testkit::writeFile(remote(QStringLiteral("MP3/") + name), "x"));
    QVERIFY(testkit::writeFile(remote(QStringLiteral("index.html")), "site"));
    startServer();
    QVERIFY(testkit::writeFile(QStringLiteral("known_hosts"), serverLine()));
    m_boxes->answer(QMessageBox::Yes);

    const QStringList lines = press(m_window->deleteFilesButton);

    QCOMPARE(QDir(remote(QStringLiteral("MP3"))).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{QStringLiteral("bad\rname.mp3"), QStringLiteral("c\\d.mp3"), QStringLiteral("old")}));
    QVERIFY(QFileInfo::exists(remote(QStringLiteral("MP3/old/kept.mp3"))));
    QVERIFY(QFileInfo::exists(remote(QStringLiteral("index.html"))));
    for (const QString &name : {QStringLiteral("c\\d.mp3"), QStringLiteral("bad\\x0dname.mp3")})
        QVERIFY2(lines.contains(QStringLiteral(" : Nom de fichier distant invalide, non supprimé : ") + name), qPrintable(name));
    QVERIFY(lines.contains(QStringLiteral(" : Supprimer episode 1.mp3")));
    QVERIFY(!lines.contains(QStringLiteral(" : Supprimer old")));
    QCOMPARE(lines.count(QStringLiteral(" : Fichiers supprimés du serveur.")), 1);
    QVERIFY(lines.contains(QStringLiteral(" : Prêt.")));
}

void PublishingSftpTest::hostKeyAnswerDecidesLoginAndKnownHosts_data()
{
    QTest::addColumn<QString>("known"); // where the server's key is known before: "", "user", "other key"
    QTest::addColumn<QString>("answer"); // the button clicked in the host key box; empty: no box
    QTest::addColumn<bool>("authorized"); // the server accepts the user's key
    QTest::addColumn<bool>("sent");

    QTest::newRow("trust always") << QString() << trustAlways << true << true;
    QTest::newRow("trust this time") << QString() << trustOnce << true << true;
    QTest::newRow("cancel") << QString() << cancel << true << false;
    // The key joins known_hosts only once a login has gone through with it.
    QTest::newRow("trust always, login refused") << QString() << trustAlways << false << false;
    QTest::newRow("in the user's known_hosts") << QStringLiteral("user") << QString() << true << true;
    QTest::newRow("changed key") << QStringLiteral("other key") << QString() << true << false;
}

void PublishingSftpTest::hostKeyAnswerDecidesLoginAndKnownHosts()
{
    QFETCH(QString, known);
    QFETCH(QString, answer);
    QFETCH(bool, authorized);
    QFETCH(bool, sent);
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("src/episode.mp3")), QByteArray(100 * 1024, 'e')));
    startServer(authorized);
    QByteArray knownBefore;
    if (known == QStringLiteral("user")) {
        QVERIFY(testkit::writeFile(home(QStringLiteral(".ssh/known_hosts")), serverLine()));
    } else if (known == QStringLiteral("other key")) {
        QString error;
        const QByteArray former = testkit::makeSshKey(m_dir->filePath(QStringLiteral("former")), QStringLiteral("ed25519"), QString(), &error);
        QVERIFY2(!former.isEmpty(), qPrintable(error));
        knownBefore = knownLine(former.split(' ').mid(0, 2).join(' '));
        QVERIFY(testkit::writeFile(QStringLiteral("known_hosts"), knownBefore));
    }
    if (!answer.isEmpty())
        publishingkit::clickNext(*m_boxes, answer);
    m_boxes->answer(QMessageBox::Ok); // success, or the error

    const QStringList lines = press(m_window->sendButton);

    QCOMPARE(hostKeyQuestions(), answer.isEmpty() ? 0 : 1);
    const QString fingerprint = fingerprintOf(m_server->hostKeyFile());
    QVERIFY(fingerprint.startsWith(QStringLiteral("SHA256:")));
    if (!answer.isEmpty()) {
        const QString question = m_boxes->boxes().first().text;
        QVERIFY2(question.contains(QStringLiteral("sftp://127.0.0.1 (port %1)").arg(m_server->port())), qPrintable(question));
        QVERIFY2(question.contains(QStringLiteral("ed25519"), Qt::CaseInsensitive), qPrintable(question));
        QVERIFY2(question.contains(fingerprint), qPrintable(question));
    }
    QCOMPARE(testkit::readFile(remote(QStringLiteral("MP3/episode.mp3"))), sent ? QByteArray(100 * 1024, 'e') : QByteArray());
    QCOMPARE(lines.contains(loggedIn), sent);
    const testkit::ModalAnswerer::Box last = m_boxes->boxes().last();
    QCOMPARE(last.title, sent ? QStringLiteral("Fichiers envoyés") : QStringLiteral("erreur"));
    if (!sent)
        QCOMPARE(lines.filter(QStringLiteral(" : ") + last.text).size(), 1);
    if (known == QStringLiteral("other key")) {
        // Refused before any key is offered, with what the user needs to mend known_hosts.
        QVERIFY2(last.text.contains(fingerprint), qPrintable(last.text));
        QVERIFY2(last.text.contains(QStringLiteral("known_hosts")), qPrintable(last.text));
        QVERIFY(!testkit::readFile(m_dir->filePath(QStringLiteral("sshd/sshd.log"))).contains("Accepted publickey"));
    }
    const bool kept = answer == trustAlways && sent;
    QCOMPARE(testkit::readFile(QStringLiteral("known_hosts")), kept ? serverLine() : knownBefore);

    // The next connection asks again unless the key is known now.
    const bool asksAgain = !kept && known.isEmpty();
    if (asksAgain)
        publishingkit::clickNext(*m_boxes, cancel);
    m_boxes->answer(QMessageBox::Ok); // sent again, or the error
    press(m_window->sendButton);
    QCOMPARE(hostKeyQuestions(), (answer.isEmpty() ? 0 : 1) + (asksAgain ? 1 : 0));
}

// Quitting during an upload aborts it; the window goes at once, and the file on the server is
// closed before the program ends.
void PublishingSftpTest::closingDuringAnUploadClosesTheFileFirst()
{
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("src/episode.mp3")), QByteArray(4 * 1024 * 1024, 'e')));
    startServer(true, QStringLiteral("hold"));
    QVERIFY(testkit::writeFile(QStringLiteral("known_hosts"), serverLine()));
    m_window->show();
    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(m_window->progressBar->value() > 0, 20000);

    m_boxes->answer(QMessageBox::Yes);
    m_window->close();
    QVERIFY(!m_window->isVisible());
    QVERIFY(m_server->release());
    m_window.reset();
    QCOMPARE(m_server->closedFiles(), QStringList{QStringLiteral("episode.mp3")});
}

QTEST_MAIN(PublishingSftpTest)
#include "tst_publishing_sftp.moc"
