#include <memory>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QTextEdit>
#include <QtTest>

#include "remote/remoteclient.h"
#include "ftp/trustedcertificates.h"
#include "tests/kit/ftpserver.h"
#include "tests/kit/testkit.h"
#include "tests/ui/publishingkit.h"
#include "ui/ftpupload.h"

namespace {

const QString certificateTitle = QStringLiteral("Certificat non vérifié");
const QString trustAlways = QStringLiteral("Toujours faire confiance");
const QString trustOnce = QStringLiteral("Faire confiance cette fois");
const QString cancel = QStringLiteral("Annuler");

} // namespace

// Publishing through the window to a server with TLS and a self-signed certificate: the episodes
// of src/ go into server/site/MP3.
class PublishingTlsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void certificateAnswerDecidesUploadAndNextQuestion_data();
    void certificateAnswerDecidesUploadAndNextQuestion();
    void changedCertificateIsAskedAboutAgainWithAWarning();
    void trustedHostThatStopsOfferingTlsIsRefusedBeforeLogin();

private:
    void startServer(bool tls);
    void fillForm();
    bool waitForIdle() { return publishingkit::waitForIdle(m_window->ftp, *m_states, *m_boxes); }
    QStringList logLines() const { return publishingkit::logLines(m_window->log); }
    qsizetype certificateQuestions() const;
    QString remote(const QString &name) const { return m_dir->filePath(QStringLiteral("server/site/") + name); }
    QString trustedLine(const QSslCertificate &certificate) const;

    std::unique_ptr<testkit::WorkDir> m_dir;
    std::unique_ptr<testkit::FtpServer> m_server;
    std::unique_ptr<testkit::ModalAnswerer> m_boxes;
    std::unique_ptr<ftpupload> m_window;
    std::unique_ptr<QSignalSpy> m_states;
    QString m_pem;
    QSslCertificate m_certificate;
    QByteArray m_episode;
};

void PublishingTlsTest::init()
{
    m_dir = std::make_unique<testkit::WorkDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("server/site")));
    m_episode.resize(700 * 1024);
    QRandomGenerator generator(11);
    for (char &byte : m_episode)
        byte = static_cast<char>(generator.generate());
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("src/episode.mp3")), m_episode));
    m_pem = m_dir->filePath(QStringLiteral("server.pem"));
    QString error;
    QVERIFY2(testkit::makeCertificate(m_pem, QStringLiteral("Tessaly test server"), &error), qPrintable(error));
    m_certificate = QSslCertificate::fromPath(m_pem).value(0);
    m_boxes = std::make_unique<testkit::ModalAnswerer>();
    m_window = std::make_unique<ftpupload>(QString());
    m_states = std::make_unique<QSignalSpy>(m_window->ftp, &RemoteClient::stateChanged);
}

void PublishingTlsTest::cleanup()
{
    m_states.reset();
    m_window.reset();
    m_boxes.reset();
    m_server.reset();
    m_dir.reset();
}

void PublishingTlsTest::startServer(bool tls)
{
    m_server = std::make_unique<testkit::FtpServer>();
    testkit::FtpServer::Options options;
    options.root = m_dir->filePath(QStringLiteral("server"));
    if (tls)
        options.certificate = m_pem;
    QVERIFY2(m_server->start(options), qPrintable(m_server->errorString()));
}

void PublishingTlsTest::fillForm()
{
    publishingkit::fillForm(m_window.get(), *m_server, m_dir->filePath(QStringLiteral("src")));
}

qsizetype PublishingTlsTest::certificateQuestions() const
{
    return std::count_if(m_boxes->boxes().cbegin(), m_boxes->boxes().cend(),
                         [](const testkit::ModalAnswerer::Box &box) { return box.title == certificateTitle; });
}

QString PublishingTlsTest::trustedLine(const QSslCertificate &certificate) const
{
    return QStringLiteral("127.0.0.1 %1 %2\n").arg(m_server->port()).arg(sha256Fingerprint(certificate));
}

void PublishingTlsTest::certificateAnswerDecidesUploadAndNextQuestion_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<bool>("kept");

    QTest::newRow("trust always") << trustAlways << true << true;
    QTest::newRow("trust this time") << trustOnce << true << false;
    QTest::newRow("cancel") << cancel << false << false;
}

void PublishingTlsTest::certificateAnswerDecidesUploadAndNextQuestion()
{
    QFETCH(QString, answer);
    QFETCH(bool, sent);
    QFETCH(bool, kept);
    startServer(true);
    fillForm();
    publishingkit::clickNext(*m_boxes, answer);
    m_boxes->answer(QMessageBox::Ok); // success, or the error of the cancelled connection

    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QCOMPARE(certificateQuestions(), 1);
    const auto question = std::find_if(m_boxes->boxes().cbegin(), m_boxes->boxes().cend(),
                                       [](const testkit::ModalAnswerer::Box &box) { return box.title == certificateTitle; });
    QVERIFY(question->text.contains(sha256Fingerprint(m_certificate)));
    QVERIFY(!question->text.startsWith(QStringLiteral("Attention")));
    const QStringList lines = logLines();
    QVERIFY(!lines.contains(QStringLiteral(" : Connexion non chiffrée : le serveur ne propose pas TLS.")));
    if (sent) {
        const qsizetype loggedIn = lines.indexOf(QStringLiteral(" : La connexion et l'identification ont été accomplies."));
        QVERIFY(loggedIn > 0);
        QCOMPARE(lines.value(loggedIn + 1), QStringLiteral(" : Connexion chiffrée (TLS)."));
        QCOMPARE(testkit::readFile(remote(QStringLiteral("MP3/episode.mp3"))), m_episode);
        QCOMPARE(m_boxes->boxes().last().title, QStringLiteral("Fichiers envoyés"));
    } else {
        QVERIFY(!QFileInfo::exists(remote(QStringLiteral("MP3"))));
        QCOMPARE(m_boxes->boxes().last().title, QStringLiteral("erreur"));
        QVERIFY(lines.contains(QStringLiteral(" : ") + m_boxes->boxes().last().text));
        QVERIFY(!lines.contains(QStringLiteral(" : Prêt.")));
        // The host was reached before the certificate was turned down.
        const qsizetype connected = lines.indexOf(QStringLiteral(" : La connexion à l'hôte a été accomplie."));
        QVERIFY(connected >= 0 && connected < lines.indexOf(QStringLiteral(" : ") + m_boxes->boxes().last().text));
    }
    QCOMPARE(testkit::readFile(QStringLiteral("certificats.txt")),
             kept ? trustedLine(m_certificate).toUtf8() : QByteArray());

    // The next connection asks again unless the certificate is trusted always.
    if (kept) {
        m_boxes->answer(QMessageBox::No);
    } else {
        publishingkit::clickNext(*m_boxes, cancel);
        m_boxes->answer(QMessageBox::Ok);
    }
    QTest::mouseClick(m_window->deleteFilesButton, Qt::LeftButton);
    QVERIFY(waitForIdle());
    QCOMPARE(certificateQuestions(), kept ? 1 : 2);
    QCOMPARE(logLines().count(QStringLiteral(" : Connexion chiffrée (TLS).")), (sent ? 1 : 0) + (kept ? 1 : 0));
}

void PublishingTlsTest::changedCertificateIsAskedAboutAgainWithAWarning()
{
    startServer(true);
    const QString formerPem = m_dir->filePath(QStringLiteral("former.pem"));
    QString error;
    QVERIFY2(testkit::makeCertificate(formerPem, QStringLiteral("Tessaly test server"), &error), qPrintable(error));
    const QSslCertificate former = QSslCertificate::fromPath(formerPem).value(0);
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("certificats.txt")), trustedLine(former).toUtf8()));
    fillForm();
    publishingkit::clickNext(*m_boxes, trustAlways);
    m_boxes->answer(QMessageBox::Ok);

    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QCOMPARE(certificateQuestions(), 1);
    QVERIFY(m_boxes->boxes().first().text.startsWith(QStringLiteral("Attention")));
    QVERIFY(m_boxes->boxes().first().text.contains(sha256Fingerprint(m_certificate)));
    QCOMPARE(testkit::readFile(QStringLiteral("certificats.txt")), trustedLine(m_certificate).toUtf8());
    QCOMPARE(testkit::readFile(remote(QStringLiteral("MP3/episode.mp3"))), m_episode);
}

void PublishingTlsTest::trustedHostThatStopsOfferingTlsIsRefusedBeforeLogin()
{
    startServer(false);
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("certificats.txt")), trustedLine(m_certificate).toUtf8()));
    fillForm();
    m_boxes->answer(QMessageBox::Ok);

    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QCOMPARE(m_boxes->boxes().size(), 1);
    QCOMPARE(m_boxes->boxes().first().icon, QMessageBox::Critical);
    QVERIFY2(m_boxes->boxes().first().text.contains(QStringLiteral("TLS")), qPrintable(m_boxes->boxes().first().text));
    const QStringList lines = logLines();
    QCOMPARE(lines.last(), QStringLiteral(" : ") + m_boxes->boxes().first().text);
    QVERIFY(lines.contains(QStringLiteral(" : Il n'y a pas de connexion à l'hôte.")));
    QVERIFY(lines.contains(QStringLiteral(" : La connexion à l'hôte a été accomplie.")));
    QVERIFY(!lines.contains(QStringLiteral(" : La connexion et l'identification ont été accomplies.")));
    QVERIFY(!lines.contains(QStringLiteral(" : Prêt.")));
    QVERIFY(!QFileInfo::exists(remote(QStringLiteral("MP3"))));
    QCOMPARE(testkit::readFile(QStringLiteral("certificats.txt")), trustedLine(m_certificate).toUtf8());
}

QTEST_MAIN(PublishingTlsTest)
#include "tst_publishing_tls.moc"
