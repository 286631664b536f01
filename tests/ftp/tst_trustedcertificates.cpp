#include <QDir>
#include <QSslCertificate>
#include <QSslError>
#include <QTest>

#include "ftp/trustedcertificates.h"
#include "tests/kit/ftpserver.h"
#include "tests/kit/testkit.h"

using Verdict = TrustedCertificates::Verdict;

// The certificates the user trusts always, and the question asked about the others.
class TestTrustedCertificates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void verdictFollowsWhatWasTrustedAlways_data();
    void verdictFollowsWhatWasTrustedAlways();
    void trustingAnotherCertificateReplacesOnlyThatServers();
    void fileThatCannotBeWrittenIsReported();
    void malformedLinesAreSkipped();
    void unusualHostNamesReadBackAsWritten_data();
    void unusualHostNamesReadBackAsWritten();
    void questionShowsTheCertificateAndWarnsOnlyWhenItChanged_data();
    void questionShowsTheCertificateAndWarnsOnlyWhenItChanged();

private:
    QSslCertificate make(const QString &name);

    std::unique_ptr<testkit::WorkDir> m_workDir;
    QString m_file;
    QSslCertificate m_first;
    QSslCertificate m_second;
};

void TestTrustedCertificates::init()
{
    m_workDir = std::make_unique<testkit::WorkDir>();
    m_file = m_workDir->filePath(QStringLiteral("certificats.txt"));
    m_first = make(QStringLiteral("first"));
    m_second = make(QStringLiteral("second"));
    QVERIFY(!m_first.isNull() && !m_second.isNull());
}

void TestTrustedCertificates::cleanup()
{
    m_workDir.reset();
}

QSslCertificate TestTrustedCertificates::make(const QString &name)
{
    const QString path = m_workDir->filePath(name + QStringLiteral(".pem"));
    QString error;
    if (!testkit::makeCertificate(path, name, &error))
        qWarning("%s", qPrintable(error));
    return QSslCertificate::fromPath(path).value(0);
}

void TestTrustedCertificates::verdictFollowsWhatWasTrustedAlways_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("second");
    QTest::addColumn<Verdict>("verdict");

    QTest::newRow("the trusted server and certificate") << "ftp.example.org" << 21 << false << Verdict::Trusted;
    QTest::newRow("host name in other letters") << "FTP.Example.ORG" << 21 << false << Verdict::Trusted;
    QTest::newRow("another certificate") << "ftp.example.org" << 21 << true << Verdict::Changed;
    QTest::newRow("another port") << "ftp.example.org" << 990 << false << Verdict::Unknown;
    QTest::newRow("another host") << "example.org" << 21 << false << Verdict::Unknown;
}

void TestTrustedCertificates::verdictFollowsWhatWasTrustedAlways()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(bool, second);
    QFETCH(Verdict, verdict);
    QVERIFY(TrustedCertificates(m_file).trust(QStringLiteral("ftp.example.org"), 21, m_first));

    // As the next connection sees it: read again from the file.
    const TrustedCertificates trusted(m_file);
    QCOMPARE(trusted.check(host, static_cast<quint16>(port), second ? m_second : m_first), verdict);
    QCOMPARE(trusted.contains(host, static_cast<quint16>(port)), verdict != Verdict::Unknown);
}

void TestTrustedCertificates::trustingAnotherCertificateReplacesOnlyThatServers()
{
    TrustedCertificates trusted(m_file);
    QVERIFY(trusted.trust(QStringLiteral("ftp.example.org"), 21, m_first));
    QVERIFY(trusted.trust(QStringLiteral("ftp.example.org"), 990, m_first));
    QVERIFY(TrustedCertificates(m_file).trust(QStringLiteral("ftp.example.org"), 21, m_second));

    const TrustedCertificates reread(m_file);
    QCOMPARE(reread.check(QStringLiteral("ftp.example.org"), 21, m_second), Verdict::Trusted);
    QCOMPARE(reread.check(QStringLiteral("ftp.example.org"), 21, m_first), Verdict::Changed);
    QCOMPARE(reread.check(QStringLiteral("ftp.example.org"), 990, m_first), Verdict::Trusted);
    QCOMPARE(testkit::readFile(m_file).count('\n'), 2);
}

void TestTrustedCertificates::fileThatCannotBeWrittenIsReported()
{
    // A folder where the file should be: it can be neither read nor replaced.
    QVERIFY(QDir().mkpath(m_file));
    TrustedCertificates trusted(m_file);
    QVERIFY(!trusted.contains(QStringLiteral("ftp.example.org"), 21));
    QVERIFY(!trusted.trust(QStringLiteral("ftp.example.org"), 21, m_first));
    QVERIFY(!trusted.errorString().isEmpty());
}

void TestTrustedCertificates::malformedLinesAreSkipped()
{
    const QByteArray line = "ftp.example.org 21 " + sha256Fingerprint(m_first).toLatin1() + '\n';
    QVERIFY(testkit::writeFile(m_file, "garbage\nftp.example.org notaport AB:CD\n\nother.org 0 AB\n" + line
                                           + "a b c d\n"));

    const TrustedCertificates trusted(m_file);
    QCOMPARE(trusted.check(QStringLiteral("ftp.example.org"), 21, m_first), Verdict::Trusted);
    QVERIFY(!trusted.contains(QStringLiteral("other.org"), 0));
    QVERIFY(!trusted.contains(QStringLiteral("a"), 0));
}

void TestTrustedCertificates::unusualHostNamesReadBackAsWritten_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("spaces") << QStringLiteral("my podcast host.example.org");
    QTest::newRow("line break") << QStringLiteral("a\n1.2.3.4 21 AB:CD");
    QTest::newRow("IPv6") << QStringLiteral("::1");
    QTest::newRow("percent sign") << QStringLiteral("a%20b.example.org");
}

void TestTrustedCertificates::unusualHostNamesReadBackAsWritten()
{
    QFETCH(QString, host);
    QVERIFY(TrustedCertificates(m_file).trust(QStringLiteral("ftp.example.org"), 21, m_first));
    QVERIFY(TrustedCertificates(m_file).trust(host, 21, m_second));
    QVERIFY(HostRecords(m_file).insert(QStringLiteral("tls.example.org"), 21));

    const TrustedCertificates trusted(m_file);
    QCOMPARE(trusted.check(host, 21, m_second), Verdict::Trusted);
    QCOMPARE(trusted.check(QStringLiteral("ftp.example.org"), 21, m_first), Verdict::Trusted);
    QCOMPARE(trusted.check(QStringLiteral("1.2.3.4"), 21, m_second), Verdict::Unknown);
    // A server kept without a certificate is no trusted certificate.
    QVERIFY(HostRecords(m_file).contains(QStringLiteral("tls.example.org"), 21));
    QVERIFY(!trusted.contains(QStringLiteral("tls.example.org"), 21));
    QCOMPARE(testkit::readFile(m_file).count('\n'), 3);
}

void TestTrustedCertificates::questionShowsTheCertificateAndWarnsOnlyWhenItChanged_data()
{
    QTest::addColumn<bool>("changed");

    QTest::newRow("never seen") << false;
    QTest::newRow("replaces a trusted one") << true;
}

void TestTrustedCertificates::questionShowsTheCertificateAndWarnsOnlyWhenItChanged()
{
    QFETCH(bool, changed);
    const QList<QSslError> errors{QSslError(QSslError::SelfSignedCertificate, m_first),
                                  QSslError(QSslError::HostNameMismatch, m_first)};

    const QString text = certificateQuestion(QStringLiteral("ftp.example.org"), 2121, m_first, errors, changed);

    QVERIFY2(text.contains(QStringLiteral("ftp.example.org (port 2121)")), qPrintable(text));
    for (const QSslError &error : errors)
        QVERIFY2(text.contains(error.errorString()), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Sujet : first, Tessaly tests")));
    QVERIFY(text.contains(QStringLiteral("Émetteur : first, Tessaly tests")));
    QVERIFY(text.contains(m_first.effectiveDate().toUTC().toString(QStringLiteral("yyyy-MM-dd"))));
    QVERIFY(text.contains(m_first.expiryDate().toUTC().toString(QStringLiteral("yyyy-MM-dd"))));
    QVERIFY(text.contains(QStringLiteral("Empreinte SHA-256 : ")
                          + QString::fromLatin1(m_first.digest(QCryptographicHash::Sha256).toHex(':').toUpper())));
    QCOMPARE(text.startsWith(QStringLiteral("Attention")), changed);
}

QTEST_GUILESS_MAIN(TestTrustedCertificates)
#include "tst_trustedcertificates.moc"
