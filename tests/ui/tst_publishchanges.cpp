#include <memory>

#include <QCheckBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include "ftp/ftpclient.h"
#include "tests/kit/ftpserver.h"
#include "tests/kit/testkit.h"
#include "tests/ui/publishingkit.h"
#include "ui/ftpupload.h"

// "N'envoyer que les nouveautés" against a real server: src/ goes into server/site/MP3.
class PublishChangesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void secondPublishSendsOnlyTheNewFile_data();
    void secondPublishSendsOnlyTheNewFile();
    void cutUploadIsCompleted_data();
    void cutUploadIsCompleted();
    void publishWithNothingNewEndsTheConnection();
    void choiceIsKeptAcrossRuns();
    void choiceThatCannotBeKeptIsReported();

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
    m_states = std::make_unique<QSignalSpy>(m_window->ftp, &FtpClient::stateChanged);
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

void PublishChangesTest::secondPublishSendsOnlyTheNewFile_data()
{
    QTest::addColumn<QStringList>("unknownCommands");
    QTest::addColumn<bool>("sizesAlone");
    QTest::addColumn<int>("timesAsked"); // at most
    QTest::addColumn<bool>("vsftpd");

    QTest::newRow("MLSD") << QStringList{} << false << 0 << false;
    // The four old files are too close to their copies for a LIST's time in an unknown zone: the
    // MDTM of the earliest and the latest tell the zone, and so the others.
    QTest::newRow("LIST and MDTM") << QStringList{QStringLiteral("MLSD"), QStringLiteral("MLST")} << false << 2 << false;
    QTest::newRow("vsftpd") << QStringList{} << false << 2 << true;
    QTest::newRow("LIST alone") << QStringList{QStringLiteral("MLSD"), QStringLiteral("MLST"), QStringLiteral("MDTM")} << true << 0 << false;
}

void PublishChangesTest::secondPublishSendsOnlyTheNewFile()
{
    QFETCH(QStringList, unknownCommands);
    QFETCH(bool, sizesAlone);
    QFETCH(int, timesAsked);
    QFETCH(bool, vsftpd);
    startServer(unknownCommands, vsftpd);
    QVERIFY(writeOld(local(QStringLiteral("one.mp3")), QByteArray(2000, '1')));
    QVERIFY(writeOld(local(QStringLiteral("two.mp3")), QByteArray(3000, '2')));
    QVERIFY(writeOld(local(QStringLiteral("playlist.xml")), "<playlist/>"));
    QVERIFY(writeOld(m_dir->filePath(QStringLiteral("dewplayer-playlist.swf")), "dew"));
    QVERIFY(writeOld(m_dir->filePath(QStringLiteral("player_mp3_multi.swf")), "multi"));
    openWindow();
    // vsftpd, run by the test's user, does not chroot: the site's folder is named from the login folder.
    if (vsftpd)
        m_window->remoteFolderEdit->setText(QStringLiteral("site"));
    m_boxes->answer(QMessageBox::Ok);
    QVERIFY(publish().contains(QStringLiteral("0 fichier(s) déjà à jour sur le serveur.")));
    QCOMPARE(testkit::readFile(remote(QStringLiteral("two.mp3"))), QByteArray(3000, '2'));

    QVERIFY(testkit::writeFile(local(QStringLiteral("three.mp3")), "new episode"));
    m_boxes->answer(QMessageBox::Ok);
    const QSignalSpy mdtm(m_window->ftp, &FtpClient::rawCommandReply);
    const QStringList lines = publish();

    QVERIFY(mdtm.size() <= timesAsked);
    const QString src = m_dir->filePath(QStringLiteral("src"));
    QCOMPARE(lines.filter(QStringLiteral("Envoi du fichier")),
             (QStringList{QStringLiteral(" : Envoi du fichier ") + src + QStringLiteral("/playlist.xml"),
                          QStringLiteral(" : Envoi du fichier ") + src + QStringLiteral("/three.mp3")}));
    QVERIFY(lines.contains(QStringLiteral("4 fichier(s) déjà à jour sur le serveur.")));
    QCOMPARE(lines.contains(QStringLiteral("Le serveur ne donne pas l'heure des fichiers : seules les tailles sont comparées.")), sizesAlone);
    QVERIFY(lines.contains(QStringLiteral(" : Prêt.")));
    QCOMPARE(testkit::readFile(remote(QStringLiteral("three.mp3"))), QByteArray("new episode"));
    QCOMPARE(m_boxes->boxes().size(), 2);
    QCOMPARE(m_boxes->boxes().last().title, QStringLiteral("Fichiers envoyés"));
}

void PublishChangesTest::cutUploadIsCompleted_data()
{
    QTest::addColumn<QStringList>("unknownCommands");
    QTest::addColumn<bool>("resumed");

    QTest::newRow("REST STREAM") << QStringList{} << true;
    QTest::newRow("LIST, MDTM and REST STREAM") << QStringList{QStringLiteral("MLSD"), QStringLiteral("MLST")} << true;
    QTest::newRow("no REST") << QStringList{QStringLiteral("REST")} << false;
}

void PublishChangesTest::cutUploadIsCompleted()
{
    QFETCH(QStringList, unknownCommands);
    QFETCH(bool, resumed);
    startServer(unknownCommands);
    QByteArray episode(2 * 1024 * 1024 + 11, Qt::Uninitialized);
    QRandomGenerator(5).fillRange(reinterpret_cast<quint32 *>(episode.data()), episode.size() / 4);
    QVERIFY(writeOld(local(QStringLiteral("long.mp3")), episode));
    const qsizetype cut = 700 * 1024 + 3;
    QVERIFY(testkit::writeFile(remote(QStringLiteral("long.mp3")), episode.first(cut)));
    openWindow();
    m_boxes->answer(QMessageBox::Ok);
    const QStringList lines = publish();

    const QString resumeLine = QStringLiteral("long.mp3 mis en file d'attente (suite de l'envoi interrompu, à partir de l'octet %1).").arg(cut);
    QCOMPARE(lines.contains(resumeLine), resumed);
    QCOMPARE(lines.contains(QStringLiteral("long.mp3 mis en file d'attente.")), !resumed);
    QCOMPARE(lines.filter(QStringLiteral("Envoi du fichier")).size(), 1);
    QCOMPARE(testkit::readFile(remote(QStringLiteral("long.mp3"))), episode);
    QCOMPARE(m_boxes->boxes().size(), 1);
    QCOMPARE(m_boxes->boxes().first().title, QStringLiteral("Fichiers envoyés"));
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

void PublishChangesTest::choiceIsKeptAcrossRuns()
{
    auto first = std::make_unique<ftpupload>(QString());
    auto *box = first->findChild<QCheckBox *>(QStringLiteral("onlyChangesBox"));
    QVERIFY(box);
    QVERIFY(!box->isChecked());
    box->setChecked(true);
    first.reset();
    ftpupload second{QString()};
    QVERIFY(second.findChild<QCheckBox *>(QStringLiteral("onlyChangesBox"))->isChecked());
}

void PublishChangesTest::choiceThatCannotBeKeptIsReported()
{
    QVERIFY(QDir().mkdir(QStringLiteral("publication.ini")));
    ftpupload window{QString()};
    window.findChild<QCheckBox *>(QStringLiteral("onlyChangesBox"))->setChecked(true);
    QVERIFY(publishingkit::logLines(window.log).constLast().endsWith(
        QStringLiteral(" : Le choix n'a pas pu être enregistré dans publication.ini.")));
}

QTEST_MAIN(PublishChangesTest)
#include "tst_publishchanges.moc"
