#include <memory>

#include <QCheckBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include "remote/remoteclient.h"
#include "tests/kit/ftpserver.h"
#include "tests/kit/testkit.h"
#include "tests/ui/publishingkit.h"
#include "ui/ftpupload.h"

// "N'envoyer que les nouveautés" against real servers: src/ goes into server/site/MP3.
class PublishChangesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void secondPublishSendsOnlyTheNewFile_data();
    void secondPublishSendsOnlyTheNewFile();
    void publishWithNothingNewEndsTheConnection();
    void choiceIsKeptOrItsLossReported_data();
    void choiceIsKeptOrItsLossReported();

private:
    void startServer(const QStringList &unknownCommands, bool vsftpd = false);
    void openWindow();
    // Presses the send button and returns the log lines of that publish.
    QStringList publish();
    QString remote(const QString &name) const { return m_dir->filePath(QStringLiteral("server/site/MP3/") + name); }
    QString local(const QString &name) const { return m_dir->filePath(QStringLiteral("src/") + name); }
    bool writeOld(const QString &path, const QByteArray &content);

    std::unique_ptr<testkit::WorkDir> m_dir;
    std::unique_ptr<testkit::FtpServer> m_server;
    std::unique_ptr<testkit::ModalAnswerer> m_boxes;
    std::unique_ptr<ftpupload> m_window;
    std::unique_ptr<QSignalSpy> m_states;
};

void PublishChangesTest::init()
{
    m_dir = std::make_unique<testkit::WorkDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("server/site")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("src")));
    m_boxes = std::make_unique<testkit::ModalAnswerer>();
}

void PublishChangesTest::cleanup()
{
    m_states.reset();
    m_window.reset();
    m_boxes.reset();
    m_server.reset();
    m_dir.reset();
}

void PublishChangesTest::startServer(const QStringList &unknownCommands, bool vsftpd)
{
    m_server = std::make_unique<testkit::FtpServer>();
    testkit::FtpServer::Options options;
    options.root = m_dir->filePath(QStringLiteral("server"));
    options.unknownCommands = unknownCommands;
    options.vsftpd = vsftpd;
    QVERIFY2(m_server->start(options), qPrintable(m_server->errorString()));
}

void PublishChangesTest::openWindow()
{
    m_states.reset();
    m_window = std::make_unique<ftpupload>(QString());
    m_states = std::make_unique<QSignalSpy>(m_window->ftp, &RemoteClient::stateChanged);
    publishingkit::fillForm(m_window.get(), *m_server, m_dir->filePath(QStringLiteral("src")));
    auto *box = m_window->findChild<QCheckBox *>(QStringLiteral("onlyChangesBox"));
    QVERIFY(box);
    box->setChecked(true);
}

QStringList PublishChangesTest::publish()
{
    m_window->log->clear();
    m_states->clear();
    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    if (!publishingkit::waitForIdle(m_window->ftp, *m_states, *m_boxes))
        return {QStringLiteral("publish did not end")};
    return publishingkit::logLines(m_window->log);
}

// An hour old: the copies that the server writes are newer.
bool PublishChangesTest::writeOld(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return testkit::writeFile(path, content) && file.open(QIODevice::ReadWrite)
           && file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600), QFileDevice::FileModificationTime);
}

// The first publish completes a cut upload; the second sends only the new file.
void PublishChangesTest::secondPublishSendsOnlyTheNewFile_data()
{
    QTest::addColumn<QStringList>("unknownCommands");
    QTest::addColumn<bool>("sizesAlone");
    QTest::addColumn<int>("timesAsked"); // at most, by the second publish
    QTest::addColumn<bool>("vsftpd");
    QTest::addColumn<bool>("resumed");

    const QString mlsd = QStringLiteral("MLSD"), mlst = QStringLiteral("MLST");
    QTest::newRow("MLSD") << QStringList{} << false << 0 << false << true;
    // The old files are too close to their copies for a LIST's time in an unknown zone: the
    // MDTM of the earliest and the latest tell the zone, and so the others.
    QTest::newRow("LIST and MDTM") << QStringList{mlsd, mlst} << false << 2 << false << true;
    QTest::newRow("vsftpd") << QStringList{} << false << 2 << true << true;
    QTest::newRow("LIST alone") << QStringList{mlsd, mlst, QStringLiteral("MDTM")} << true << 0 << false << false;
    QTest::newRow("no REST") << QStringList{QStringLiteral("REST")} << false << 0 << false << false;
}

void PublishChangesTest::secondPublishSendsOnlyTheNewFile()
{
    QFETCH(QStringList, unknownCommands);
    QFETCH(bool, sizesAlone);
    QFETCH(int, timesAsked);
    QFETCH(bool, vsftpd);
    QFETCH(bool, resumed);
    startServer(unknownCommands, vsftpd);
    QByteArray episode(2 * 1024 * 1024 + 11, Qt::Uninitialized);
    QRandomGenerator(5).fillRange(reinterpret_cast<quint32 *>(episode.data()), episode.size() / 4);
    QVERIFY(writeOld(local(QStringLiteral("long.mp3")), episode));
    const qsizetype cut = 700 * 1024 + 3;
    QVERIFY(QDir().mkpath(remote(QString())));
    QVERIFY(testkit::writeFile(remote(QStringLiteral("long.mp3")), episode.first(cut)));
    QVERIFY(writeOld(local(QStringLiteral("two.mp3")), QByteArray(3000, '2')));
    QVERIFY(writeOld(local(QStringLiteral("playlist.xml")), "<playlist/>"));
    QVERIFY(writeOld(m_dir->filePath(QStringLiteral("dewplayer-playlist.swf")), "dew"));
    QVERIFY(writeOld(m_dir->filePath(QStringLiteral("player_mp3_multi.swf")), "multi"));
    openWindow();
    // vsftpd, run by the test's user, does not chroot: the site's folder is named from the login folder.
    if (vsftpd)
        m_window->remoteFolderEdit->setText(QStringLiteral("site"));
    m_boxes->answer(QMessageBox::Ok);
    QStringList lines = publish();
    const QString resumeLine = QStringLiteral("long.mp3 mis en file d'attente (suite de l'envoi interrompu, à partir de l'octet %1).").arg(cut);
    QCOMPARE(lines.contains(resumeLine), resumed);
    QVERIFY(lines.contains(QStringLiteral("0 fichier(s) déjà à jour sur le serveur.")));
    QCOMPARE(testkit::readFile(remote(QStringLiteral("long.mp3"))), episode);

    QVERIFY(testkit::writeFile(local(QStringLiteral("three.mp3")), "new episode"));
    m_boxes->answer(QMessageBox::Ok);
    const QSignalSpy mdtm(m_window->ftp, &RemoteClient::rawCommandReply);
    lines = publish();

    QVERIFY(mdtm.size() <= timesAsked);
    const QString src = m_dir->filePath(QStringLiteral("src"));
    QCOMPARE(lines.filter(QStringLiteral("Envoi du fichier")),
             (QStringList{QStringLiteral(" : Envoi du fichier ") + src + QStringLiteral("/playlist.xml"),
                          QStringLiteral(" : Envoi du fichier ") + src + QStringLiteral("/three.mp3")}));
    QVERIFY(lines.contains(QStringLiteral("4 fichier(s) déjà à jour sur le serveur.")));
    QCOMPARE(lines.contains(QStringLiteral("Le serveur ne donne pas l'heure des fichiers : seules les tailles sont comparées.")), sizesAlone);
    QCOMPARE(testkit::readFile(remote(QStringLiteral("three.mp3"))), QByteArray("new episode"));
    QCOMPARE(m_boxes->boxes().size(), 2);
}

void PublishChangesTest::publishWithNothingNewEndsTheConnection()
{
    startServer({});
    QVERIFY(writeOld(local(QStringLiteral("one.mp3")), "episode"));
    openWindow();
    m_boxes->answer(QMessageBox::Ok);
    publish();
    const QStringList lines = publish();

    QVERIFY(lines.filter(QStringLiteral("Envoi du fichier")).isEmpty());
    QVERIFY(lines.contains(QStringLiteral("1 fichier(s) déjà à jour sur le serveur.")));
    QCOMPARE(lines.mid(lines.size() - 3, 1), QStringList{QStringLiteral(" : Prêt.")});
    QCOMPARE(m_boxes->boxes().size(), 1); // the first publish's
}

void PublishChangesTest::choiceIsKeptOrItsLossReported_data()
{
    QTest::addColumn<bool>("blocked"); // a folder stands where publication.ini goes
    QTest::newRow("kept") << false;
    QTest::newRow("cannot be kept") << true;
}

void PublishChangesTest::choiceIsKeptOrItsLossReported()
{
    QFETCH(bool, blocked);
    if (blocked)
        QVERIFY(QDir().mkdir(QStringLiteral("publication.ini")));
    auto first = std::make_unique<ftpupload>(QString());
    auto *box = first->findChild<QCheckBox *>(QStringLiteral("onlyChangesBox"));
    QVERIFY(box);
    QVERIFY(!box->isChecked());
    box->setChecked(true);
    QCOMPARE(publishingkit::logLines(first->log).constLast().endsWith(
                 QStringLiteral(" : Le choix n'a pas pu être enregistré dans publication.ini.")), blocked);
    first.reset();
    ftpupload second{QString()};
    QCOMPARE(second.findChild<QCheckBox *>(QStringLiteral("onlyChangesBox"))->isChecked(), !blocked);
}

QTEST_MAIN(PublishChangesTest)
#include "tst_publishchanges.moc"
