#include <QTest>

#include "sftp/knownhosts.h"
#include "tests/kit/testkit.h"

// known_hosts files as OpenSSH reads them.
class TestKnownHosts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lookupFindsTheLineThatDecides_data();
    void lookupFindsTheLineThatDecides();
    void appendedLineStartsOnALineOfItsOwn_data();
    void appendedLineStartsOnALineOfItsOwn();
};

void TestKnownHosts::lookupFindsTheLineThatDecides_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<int>("file"); // 1 or 2, 0 for none
    QTest::addColumn<int>("line");

    const int known = knownhosts::Lookup::Known;
    const int changed = knownhosts::Lookup::Changed;
    const int unknown = knownhosts::Lookup::Unknown;
    // %K is the server's key, %O another one of the same type.
    QTest::newRow("plain name") << QByteArray("# hosts\n\nexample.org ssh-ed25519 %K\n") << QByteArray() << "example.org" << known << 1 << 3;
    QTest::newRow("name in any case") << QByteArray("Example.ORG ssh-ed25519 %K\n") << QByteArray() << "example.org" << known << 1 << 1;
    QTest::newRow("another port") << QByteArray("[example.org]:2222 ssh-ed25519 %K\n") << QByteArray() << "example.org" << unknown << 0 << 0;
    QTest::newRow("its port") << QByteArray("a.org,[example.org]:2222 ssh-ed25519 %K\n") << QByteArray() << "[example.org]:2222" << known << 1 << 1;
    QTest::newRow("pattern") << QByteArray("*.example.org ssh-ed25519 %K\n") << QByteArray() << "www.example.org" << known << 1 << 1;
    QTest::newRow("pattern of one character") << QByteArray("www?.example.org ssh-ed25519 %K\n") << QByteArray() << "www.example.org" << unknown << 0 << 0;
    QTest::newRow("negated pattern") << QByteArray("*.example.org,!bad.example.org ssh-ed25519 %K\n") << QByteArray() << "bad.example.org" << unknown << 0 << 0;
    QTest::newRow("changed") << QByteArray("x.org ssh-ed25519 %K\nexample.org ssh-ed25519 %O\n") << QByteArray() << "example.org" << changed << 1 << 2;
    QTest::newRow("known in the second file") << QByteArray("example.org ssh-ed25519 %O\n") << QByteArray("example.org ssh-ed25519 %K\n")
                                              << "example.org" << known << 2 << 1;
    QTest::newRow("another type only") << QByteArray("example.org ssh-rsa %O\n") << QByteArray() << "example.org" << unknown << 0 << 0;
    QTest::newRow("revoked") << QByteArray() << QByteArray("example.org ssh-ed25519 %K\n@revoked * ssh-ed25519 %K\n") << "example.org"
                             << int(knownhosts::Lookup::Revoked) << 2 << 2;
    QTest::newRow("certificate authority") << QByteArray("@cert-authority example.org ssh-ed25519 %K\n") << QByteArray() << "example.org"
                                           << unknown << 0 << 0;
}

void TestKnownHosts::lookupFindsTheLineThatDecides()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(QString, entry);
    QFETCH(int, verdict);
    QFETCH(int, file);
    QFETCH(int, line);
    testkit::WorkDir dir;
    const QByteArray key = QByteArray("\0\0\0\x0bssh-ed25519\0\0\0\x20", 19) + QByteArray(32, 'k');
    const QByteArray other = QByteArray("\0\0\0\x0bssh-ed25519\0\0\0\x20", 19) + QByteArray(32, 'o');
    const QStringList files{dir.filePath("known_hosts"), dir.filePath("user_known_hosts")};
    QVERIFY(testkit::writeFile(files[0], QByteArray(first).replace("%K", key.toBase64()).replace("%O", other.toBase64())));
    QVERIFY(testkit::writeFile(files[1], QByteArray(second).replace("%K", key.toBase64()).replace("%O", other.toBase64())));

    const knownhosts::Lookup found = knownhosts::lookup(files, entry, QStringLiteral("ssh-ed25519"), key);
    QCOMPARE(int(found.verdict), verdict);
    QCOMPARE(found.file, file ? files[file - 1] : QString());
    QCOMPARE(found.line, line);
}

void TestKnownHosts::appendedLineStartsOnALineOfItsOwn_data()
{
    QTest::addColumn<QByteArray>("before");

    QTest::newRow("no file") << QByteArray();
    QTest::newRow("ended line") << QByteArray("a.org ssh-ed25519 AAAA\n");
    QTest::newRow("unended line") << QByteArray("a.org ssh-ed25519 AAAA");
}

void TestKnownHosts::appendedLineStartsOnALineOfItsOwn()
{
    QFETCH(QByteArray, before);
    testkit::WorkDir dir;
    const QString file = dir.filePath("known_hosts");
    if (!before.isEmpty())
        QVERIFY(testkit::writeFile(file, before));
    QString error;
    QVERIFY(knownhosts::append(file, "[b.org]:2222 ssh-ed25519 BBBB", &error));
    const QByteArray expected = before.isEmpty() ? QByteArray() : QByteArray("a.org ssh-ed25519 AAAA\n");
    QCOMPARE(testkit::readFile(file), expected + "[b.org]:2222 ssh-ed25519 BBBB\n");
}

QTEST_MAIN(TestKnownHosts)
#include "tst_knownhosts.moc"
