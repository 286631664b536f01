#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTcpSocket>
#include <QTextEdit>
#include <QtTest>

#include "remote/remoteclient.h"
#include "tests/ftp/scriptedftpserver.h"
#include "tests/kit/ftpserver.h"
#include "tests/kit/testkit.h"
#include "tests/ui/publishingkit.h"
#include "ui/ftpupload.h"

namespace {

const QString trustOnce = QStringLiteral("Faire confiance cette fois");
const QString trustAlways = QStringLiteral("Toujours faire confiance");
const QString busy = QStringLiteral(" : Une opération FTP est déjà en cours.");

} // namespace

// What publishing through the window must never do, whatever the server or the network says:
// send the password in clear after TLS, delete outside MP3, cut an upload short.
class PublishingSafetyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void hostThatSpokeTlsNeverGetsThePasswordInClear_data();
    void hostThatSpokeTlsNeverGetsThePasswordInClear();
    void certificateIsNotKeptForAConnectionThatDied();
    void deletionNeverLeavesTheFolder();
    void languagePickDuringAnUploadIsRefused();
    void closingDuringAnUploadAsksThenAborts_data();
    void closingDuringAnUploadAsksThenAborts();
    void serverLostDuringAnUploadIsReportedAndTheNextPublishSends_data();
    void serverLostDuringAnUploadIsReportedAndTheNextPublishSends();
    void localNameWithALineBreakIsSkipped();
    void emptyServerFieldIsNamed_data();
    void emptyServerFieldIsNamed();

private:
    void startServer(const QString &certificate = QString());
    void fillForm(quint16 port);
    bool waitForIdle() { return publishingkit::waitForIdle(m_window->ftp, *m_states, *m_boxes); }
    QStringList logLines() const { return publishingkit::logLines(m_window->log); }
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<testkit::WorkDir> m_dir;
    std::unique_ptr<testkit::FtpServer> m_server;
    std::unique_ptr<testkit::ModalAnswerer> m_boxes;
    std::unique_ptr<ftpupload> m_window;
    std::unique_ptr<QSignalSpy> m_states;
    QSslConfiguration m_sslDefaults;
};

void PublishingSafetyTest::init()
{
    m_sslDefaults = QSslConfiguration::defaultConfiguration();
    m_dir = std::make_unique<testkit::WorkDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("server/site")));
    QVERIFY(testkit::writeFile(path(QStringLiteral("src/episode.mp3")), QByteArray(200 * 1024, 'e')));
    m_boxes = std::make_unique<testkit::ModalAnswerer>();
    m_window = std::make_unique<ftpupload>(QString());
    m_states = std::make_unique<QSignalSpy>(m_window->ftp, &RemoteClient::stateChanged);
}

void PublishingSafetyTest::cleanup()
{
    m_states.reset();
    m_window.reset();
    m_boxes.reset();
    m_server.reset();
    m_dir.reset();
    QSslConfiguration::setDefaultConfiguration(m_sslDefaults);
}

void PublishingSafetyTest::startServer(const QString &certificate)
{
    m_server = std::make_unique<testkit::FtpServer>();
    testkit::FtpServer::Options options;
    options.root = path(QStringLiteral("server"));
    options.certificate = certificate;
    QVERIFY2(m_server->start(options), qPrintable(m_server->errorString()));
}

void PublishingSafetyTest::fillForm(quint16 port)
{
    publishingkit::fillForm(m_window.get(), QStringLiteral("127.0.0.1"), port, QStringLiteral("podcaster"),
                            QStringLiteral("s3cret-pass"), path(QStringLiteral("src")));
}

void PublishingSafetyTest::hostThatSpokeTlsNeverGetsThePasswordInClear_data()
{
    QTest::addColumn<bool>("verifies");
    QTest::newRow("certificate that verifies") << true;
    QTest::newRow("certificate trusted this time") << false;
}

void PublishingSafetyTest::hostThatSpokeTlsNeverGetsThePasswordInClear()
{
    QFETCH(bool, verifies);
    const QString pem = path(QStringLiteral("server.pem"));
    QString error;
    QVERIFY2(testkit::makeCertificate(pem, QStringLiteral("127.0.0.1"), &error,
                                      verifies ? QStringLiteral("IP:127.0.0.1") : QStringLiteral("DNS:localhost")),
             qPrintable(error));
    if (verifies) {
        QSslConfiguration trusting = m_sslDefaults;
        trusting.addCaCertificates(QSslCertificate::fromPath(pem));
        QSslConfiguration::setDefaultConfiguration(trusting);
    }
    startServer(pem);
    const quint16 port = m_server->port();
    fillForm(port);
    if (!verifies)
        publishingkit::clickNext(*m_boxes, trustOnce);
    m_boxes->answer(QMessageBox::Ok);
    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());
    QVERIFY(QFileInfo::exists(path(QStringLiteral("server/site/MP3/episode.mp3"))));
    QCOMPARE(testkit::readFile(QStringLiteral("serveurs-tls.txt")), QStringLiteral("127.0.0.1 %1\n").arg(port).toUtf8());
    QVERIFY(!QFileInfo::exists(QStringLiteral("certificats.txt")));

    // Someone now answers in the server's place and refuses TLS.
    m_server.reset();
    ScriptedFtpServer impostor(nullptr, port);
    QCOMPARE(impostor.port(), port);
    impostor.on("AUTH", [&impostor](const QByteArray &) { impostor.reply("534 TLS not available."); });
    m_boxes->answer(QMessageBox::Ok);
    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    for (const QByteArray &command : impostor.commands())
        QVERIFY2(!command.startsWith("USER") && !command.startsWith("PASS"), command.constData());
    const QString text = m_boxes->boxes().last().text;
    QVERIFY2(text.contains(QStringLiteral("no longer offers TLS")) && text.contains(QStringLiteral("the password was not sent")),
             qPrintable(text));
    QCOMPARE(logLines().last(), QStringLiteral(" : ") + text);
}

void PublishingSafetyTest::certificateIsNotKeptForAConnectionThatDied()
{
    const QString pem = path(QStringLiteral("server.pem"));
    QString error;
    QVERIFY2(testkit::makeCertificate(pem, QStringLiteral("Tessaly test server"), &error), qPrintable(error));
    startServer(pem);
    fillForm(m_server->port());
    // The server goes away while the user reads the question.
    publishingkit::clickNext(*m_boxes, trustAlways, [this] { m_server.reset(); });
    m_boxes->answer(QMessageBox::Ok);
    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QVERIFY(!QFileInfo::exists(QStringLiteral("certificats.txt")));
    QVERIFY(!QFileInfo::exists(QStringLiteral("serveurs-tls.txt")));
}

void PublishingSafetyTest::deletionNeverLeavesTheFolder()
{
    ScriptedFtpServer server;
    const QByteArray entry = "-rw-r--r--   1 owner group 1234 Jan 01 12:00 ";
    server.setListing(entry + "../index.html\r\n" + entry + "a/b.mp3\r\n" + entry + "c\\d.mp3\r\n" + entry
                      + "bad\rname.mp3\r\n" + entry + "episode 1.mp3\r\n" + entry + "episode 2.mp3\r\n");
    fillForm(server.port());
    m_boxes->answer(QMessageBox::Yes);
    QTest::mouseClick(m_window->deleteFilesButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QByteArrayList removed;
    for (const QByteArray &command : server.commands()) {
        if (command.startsWith("DELE"))
            removed << command;
    }
    QCOMPARE(removed, (QByteArrayList{"DELE episode 1.mp3", "DELE episode 2.mp3"}));
    const QStringList lines = logLines();
    for (const QString &name : {QStringLiteral("../index.html"), QStringLiteral("a/b.mp3"), QStringLiteral("c\\d.mp3"),
                                QStringLiteral("bad\\x0dname.mp3")})
        QVERIFY2(lines.contains(QStringLiteral(" : Nom de fichier distant invalide, non supprimé : ") + name), qPrintable(name));
    QVERIFY(lines.contains(QStringLiteral(" : Fichiers supprimés du serveur.")));
}

void PublishingSafetyTest::languagePickDuringAnUploadIsRefused()
{
    QByteArray episode(8 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < episode.size(); ++i)
        episode[i] = static_cast<char>(i * 7 % 251);
    QVERIFY(testkit::writeFile(path(QStringLiteral("src/episode.mp3")), episode));
    startServer();
    fillForm(m_server->port());
    const QPointer<ftpupload> window = m_window.get();
    const int language = m_window->languageCombo->currentIndex();
    connect(m_window->ftp, &RemoteClient::dataTransferProgress, this, [this, language](qint64 done) {
        if (done > 0 && m_window->languageCombo->currentIndex() == language)
            m_window->languageCombo->setCurrentIndex(language == 0 ? 1 : 0);
    });
    m_boxes->answer(QMessageBox::Ok);
    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QVERIFY(window);
    QCOMPARE(m_window->languageCombo->currentIndex(), language);
    QVERIFY(logLines().contains(busy));
    QCOMPARE(testkit::readFile(path(QStringLiteral("server/site/MP3/episode.mp3"))), episode);
    QCOMPARE(m_boxes->boxes().last().title, QStringLiteral("Fichiers envoyés"));
}

void PublishingSafetyTest::closingDuringAnUploadAsksThenAborts_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::newRow("quit") << QMessageBox::Yes;
    QTest::newRow("stay") << QMessageBox::No;
}

void PublishingSafetyTest::closingDuringAnUploadAsksThenAborts()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QVERIFY(testkit::writeFile(path(QStringLiteral("src/episode.mp3")), QByteArray(32 * 1024 * 1024, 'e')));
    ScriptedFtpServer server;
    // The server stops reading, so the upload is still running when the window is closed.
    server.on("STOR", [&server](const QByteArray &) {
        server.reply("150 Ok to send data.");
        server.withDataConnection([](QTcpSocket *data) { data->setReadBufferSize(1); });
    });
    fillForm(server.port());
    m_window->show();
    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QTRY_VERIFY(server.commands().contains("STOR episode.mp3"));

    m_boxes->answer(answer);
    m_window->close();
    QCOMPARE(m_boxes->boxes().last().text, QStringLiteral("Un envoi est en cours. Quitter quand même ?"));
    QCOMPARE(m_window->isVisible(), answer == QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        QTRY_VERIFY(server.commands().contains("ABOR"));
        QCOMPARE(m_window->ftp->state(), RemoteClient::Unconnected);
    } else {
        QTest::qWait(100);
        QVERIFY(!server.commands().contains("ABOR"));
        QCOMPARE(m_window->ftp->currentCommand(), RemoteClient::Put);
    }
}

void PublishingSafetyTest::serverLostDuringAnUploadIsReportedAndTheNextPublishSends_data()
{
    QTest::addColumn<bool>("killed"); // or it stops answering
    QTest::newRow("killed") << true;
    QTest::newRow("silent") << false;
}

void PublishingSafetyTest::serverLostDuringAnUploadIsReportedAndTheNextPublishSends()
{
    QFETCH(bool, killed);
    const QByteArray episode(32 * 1024 * 1024, 'e');
    QVERIFY(testkit::writeFile(path(QStringLiteral("src/episode.mp3")), episode));
    {
        ScriptedFtpServer server;
        QPointer<QTcpSocket> data;
        // The server stops reading, so the upload is under way when it goes.
        server.on("STOR", [&](const QByteArray &) {
            server.reply("150 Ok to send data.");
            server.withDataConnection([&](QTcpSocket *socket) {
                socket->setReadBufferSize(1);
                data = socket;
            });
        });
        m_window->ftp->setTimeouts(std::chrono::seconds(5), std::chrono::milliseconds(500));
        fillForm(server.port());
        m_boxes->answer(QMessageBox::Ok);
        QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
        QTRY_VERIFY(data);
        if (killed) {
            data->abort();
            server.dropControl();
        }
        QVERIFY(waitForIdle());
    }
    QCOMPARE(m_boxes->boxes().size(), 1);
    QVERIFY2(m_boxes->boxes().first().text.startsWith(QStringLiteral("ftp error ")), qPrintable(m_boxes->boxes().first().text));

    m_window->ftp->setTimeouts(std::chrono::seconds(30), std::chrono::seconds(60));
    startServer();
    fillForm(m_server->port());
    m_boxes->answer(QMessageBox::Ok);
    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());
    QCOMPARE(testkit::readFile(path(QStringLiteral("server/site/MP3/episode.mp3"))), episode);
}

void PublishingSafetyTest::localNameWithALineBreakIsSkipped()
{
    QVERIFY(testkit::writeFile(path(QStringLiteral("src/line\nbreak.mp3")), "cannot be named in STOR"));
    QVERIFY(testkit::writeFile(path(QStringLiteral("src/zz last.mp3")), "last episode"));
    startServer();
    fillForm(m_server->port());
    m_boxes->answer(QMessageBox::Ok);
    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QCOMPARE(QDir(path(QStringLiteral("server/site/MP3"))).entryList(QDir::Files),
             (QStringList{QStringLiteral("episode.mp3"), QStringLiteral("zz last.mp3")}));
    QVERIFY(logLines().contains(QStringLiteral("line\\x0abreak.mp3 non traitée (nom de fichier invalide).")));
    QCOMPARE(m_boxes->boxes().last().title, QStringLiteral("Fichiers envoyés"));
}

void PublishingSafetyTest::emptyServerFieldIsNamed_data()
{
    QTest::addColumn<bool>("upload");
    QTest::newRow("send") << true;
    QTest::newRow("delete") << false;
}

void PublishingSafetyTest::emptyServerFieldIsNamed()
{
    QFETCH(bool, upload);
    fillForm(21);
    m_window->serverEdit->setText(QStringLiteral("  "));
    m_boxes->answer(QMessageBox::Ok);
    if (upload)
        m_window->upload();
    else
        m_window->effacerMp3();

    QCOMPARE(m_boxes->boxes().size(), 1);
    QVERIFY2(m_boxes->boxes().first().text.contains(QStringLiteral("« Nom du serveur »")), qPrintable(m_boxes->boxes().first().text));
    QCOMPARE(logLines().last(), QStringLiteral(" : ") + m_boxes->boxes().first().text);
    QTest::qWait(50);
    QVERIFY(m_states->isEmpty());
    QVERIFY(!m_window->ftp->hasPendingCommands());
}

QTEST_MAIN(PublishingSafetyTest)
#include "tst_publishing_safety.moc"
