#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
#include <QSslCertificate>
#include <QTest>

#include "clientrecorder.h"
#include "ftp/ftpclient.h"
#include "tests/kit/ftpserver.h"
#include "tests/kit/testkit.h"

namespace {

constexpr int Patience = 20000;

} // namespace

// Explicit TLS against pyftpdlib with a self-signed certificate made for the test. The server
// refuses data connections that do not resume the control connection's session, as vsftpd does.
class TestFtpTls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void acceptedCertificateCarriesTheWholeSessionEncrypted();
    void refusedCertificateFailsTheConnectionBeforeLogin();
    void dataConnectionWithAnotherCertificateSaysTheFileWasNotSent();
    void dataConnectionsCompleteWhateverTheTlsSession_data();
    void dataConnectionsCompleteWhateverTheTlsSession();

private:
    void startServer(const QString &dataCertificate = QString());
    void queueLogin();
    void waitDone();

    std::unique_ptr<testkit::WorkDir> m_workDir;
    std::unique_ptr<testkit::FtpServer> m_server;
    std::unique_ptr<FtpClient> m_client;
    std::unique_ptr<ClientRecorder> m_recorder;
    QString m_root;
    QString m_certificate;
};

void TestFtpTls::init()
{
    m_workDir = std::make_unique<testkit::WorkDir>();
    m_root = m_workDir->filePath(QStringLiteral("root"));
    QVERIFY(QDir().mkpath(m_root));
    m_certificate = m_workDir->filePath(QStringLiteral("server.pem"));
    QString error;
    QVERIFY2(testkit::makeCertificate(m_certificate, QStringLiteral("Tessaly test server"), &error), qPrintable(error));
    m_client = std::make_unique<FtpClient>();
    m_recorder = std::make_unique<ClientRecorder>(m_client.get());
}

void TestFtpTls::cleanup()
{
    m_recorder.reset();
    m_client.reset();
    m_server.reset();
    m_workDir.reset();
}

void TestFtpTls::startServer(const QString &dataCertificate)
{
    m_server = std::make_unique<testkit::FtpServer>();
    testkit::FtpServer::Options options{m_root};
    options.certificate = m_certificate;
    options.dataCertificate = dataCertificate;
    QVERIFY2(m_server->start(options), qPrintable(m_server->errorString()));
}

void TestFtpTls::queueLogin()
{
    m_client->connectToHost(m_server->host(), m_server->port());
    m_client->login(m_server->user(), m_server->password());
}

void TestFtpTls::waitDone()
{
    QTRY_VERIFY_WITH_TIMEOUT(m_recorder->doneCount > 0, Patience);
}

void TestFtpTls::acceptedCertificateCarriesTheWholeSessionEncrypted()
{
    startServer();
    QVERIFY(testkit::writeFile(m_root + "/old.mp3", "old"));
    QByteArray content(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    QRandomGenerator generator(3);
    for (char &byte : content)
        byte = static_cast<char>(generator.generate());
    QBuffer buffer(&content);

    QList<QSslCertificate> asked;
    QList<QSslError> errors;
    connect(m_client.get(), &FtpClient::untrustedCertificate, this,
            [&](const QSslCertificate &certificate, const QList<QSslError> &reported) {
                asked << certificate;
                errors = reported;
                m_client->acceptCertificate();
            });
    bool encryptedAtLogin = false;
    connect(m_client.get(), &FtpClient::stateChanged, this, [&](int state) {
        if (state == FtpClient::LoggedIn)
            encryptedAtLogin = m_client->isEncrypted();
    });
    queueLogin();
    m_client->remove(QStringLiteral("old.mp3"));
    m_client->mkdir(QStringLiteral("MP3"));
    m_client->cd(QStringLiteral("MP3"));
    m_client->put(&buffer, QStringLiteral("episode.mp3"));
    m_client->list();
    m_client->close();
    waitDone();

    QCOMPARE(m_recorder->events.last(), QStringLiteral("done ok"));
    QVERIFY(encryptedAtLogin);
    // Asked once, for the control connection; the data connections present the same certificate.
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first(), QSslCertificate::fromPath(m_certificate).value(0));
    QVERIFY(!errors.isEmpty());
    QCOMPARE(testkit::readFile(m_root + "/MP3/episode.mp3"), content);
    QVERIFY(!QFile::exists(m_root + "/old.mp3"));
    QCOMPARE(m_recorder->entryNames(), QStringList{"episode.mp3"});
    QCOMPARE(m_recorder->progress.last(), qMakePair(qint64(content.size()), qint64(content.size())));
}

void TestFtpTls::refusedCertificateFailsTheConnectionBeforeLogin()
{
    startServer();
    connect(m_client.get(), &FtpClient::untrustedCertificate, m_client.get(), &FtpClient::rejectCertificate);
    const int connectId = m_client->connectToHost(m_server->host(), m_server->port());
    const int loginId = m_client->login(m_server->user(), m_server->password());
    waitDone();

    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 error").arg(connectId)));
    QVERIFY(!m_recorder->events.contains(QStringLiteral("start %1").arg(loginId)));
    QVERIFY(!m_recorder->events.contains(QStringLiteral("state 4")));
    QCOMPARE(m_client->error(), FtpClient::UnknownError);
    QVERIFY2(m_client->errorString().contains(QStringLiteral("certificate")), qPrintable(m_client->errorString()));
    QCOMPARE(m_client->state(), FtpClient::Unconnected);
    QVERIFY(!m_client->isEncrypted());
}

void TestFtpTls::dataConnectionWithAnotherCertificateSaysTheFileWasNotSent()
{
    const QString other = m_workDir->filePath(QStringLiteral("other.pem"));
    QString error;
    QVERIFY2(testkit::makeCertificate(other, QStringLiteral("Someone else"), &error), qPrintable(error));
    startServer(other);
    connect(m_client.get(), &FtpClient::untrustedCertificate, m_client.get(), &FtpClient::acceptCertificate);
    QBuffer content;
    content.setData(QByteArray(100000, 'e'));
    queueLogin();
    const int putId = m_client->put(&content, QStringLiteral("episode.mp3"));
    const int discarded = m_client->cd(QStringLiteral("/"));
    waitDone();

    QVERIFY(m_recorder->events.contains(QStringLiteral("finish %1 error").arg(putId)));
    QVERIFY(!m_recorder->events.contains(QStringLiteral("start %1").arg(discarded)));
    QVERIFY2(m_client->errorString().contains(QStringLiteral("episode.mp3 was not sent")), qPrintable(m_client->errorString()));
    // The control connection is still good for the next command.
    QCOMPARE(m_client->state(), FtpClient::LoggedIn);
    QVERIFY(testkit::readFile(m_root + "/episode.mp3").isEmpty());
}

void TestFtpTls::dataConnectionsCompleteWhateverTheTlsSession_data()
{
    QTest::addColumn<bool>("vsftpd");
    QTest::addColumn<QString>("tlsVersion");
    QTest::addColumn<bool>("sessionTickets");

    // vsftpd with require_ssl_reuse=YES, as shared hosts run it; it speaks TLS 1.3.
    QTest::newRow("vsftpd") << true << QString() << true;
    QTest::newRow("TLS 1.3 only") << false << "1.3" << true;
    QTest::newRow("TLS 1.2 only") << false << "1.2" << true;
    // Nothing comes on the data connection after its handshake: no wait for it either.
    QTest::newRow("TLS 1.3, no session ticket") << false << "1.3" << false;
}

void TestFtpTls::dataConnectionsCompleteWhateverTheTlsSession()
{
    QFETCH(bool, vsftpd);
    QFETCH(QString, tlsVersion);
    QFETCH(bool, sessionTickets);
    m_server = std::make_unique<testkit::FtpServer>();
    testkit::FtpServer::Options options{m_root};
    options.certificate = m_certificate;
    options.tlsVersion = tlsVersion;
    options.sessionTickets = sessionTickets;
    options.vsftpd = vsftpd;
    QVERIFY2(m_server->start(options), qPrintable(m_server->errorString()));
    connect(m_client.get(), &FtpClient::untrustedCertificate, m_client.get(), &FtpClient::acceptCertificate);
    // Small files end right after the data handshake, while the server may still be sending
    // its session tickets; a large one crosses many TLS records.
    const QList<QByteArray> contents{QByteArray(20 * 1024, 's'), QByteArray(1, 'o'), QByteArray(3 * 1024 * 1024 + 17, 'l')};
    std::vector<std::unique_ptr<QBuffer>> buffers;
    queueLogin();
    for (qsizetype i = 0; i < contents.size(); ++i) {
        buffers.push_back(std::make_unique<QBuffer>());
        buffers.back()->setData(contents[i]);
        m_client->put(buffers.back().get(), QStringLiteral("f%1.mp3").arg(i));
    }
    m_client->list();
    m_client->close();
    waitDone();

    QVERIFY2(m_recorder->events.last() == QStringLiteral("done ok"), qPrintable(m_client->errorString()));
    for (qsizetype i = 0; i < contents.size(); ++i)
        QCOMPARE(testkit::readFile(m_root + QStringLiteral("/f%1.mp3").arg(i)), contents[i]);
    QStringList names = m_recorder->entryNames();
    names.sort();
    QCOMPARE(names, (QStringList{"f0.mp3", "f1.mp3", "f2.mp3"}));
}

QTEST_GUILESS_MAIN(TestFtpTls)
#include "tst_ftptls.moc"
