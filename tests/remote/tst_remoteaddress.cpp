#include <QtTest>

#include "remote/remoteaddress.h"

class TestRemoteAddress : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parseServer_data();
    void parseServer();
};

void TestRemoteAddress::parseServer_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("protocol");
    QTest::addColumn<QString>("host");

    const int ftp = int(remote::Protocol::Ftp);
    const int sftp = int(remote::Protocol::Sftp);
    QTest::newRow("bare host") << "ftp.example.org" << ftp << "ftp.example.org";
    QTest::newRow("ftp scheme") << "ftp://ftp.example.org" << ftp << "ftp.example.org";
    QTest::newRow("scheme in capitals") << "FTP://ftp.example.org" << ftp << "ftp.example.org";
    QTest::newRow("sftp scheme") << "sftp://sftp.example.org" << sftp << "sftp.example.org";
    QTest::newRow("sftp in mixed case") << "SFtp://127.0.0.1" << sftp << "127.0.0.1";
    QTest::newRow("s3 scheme") << "S3://s3.eu-west-3.amazonaws.com" << int(remote::Protocol::S3) << "s3.eu-west-3.amazonaws.com";
    // Only a leading scheme is one: the rest is the host as typed.
    QTest::newRow("scheme inside") << "x.ftp://y.z" << ftp << "x.ftp://y.z";
}

void TestRemoteAddress::parseServer()
{
    QFETCH(QString, field);
    QFETCH(int, protocol);
    QFETCH(QString, host);
    const remote::Address address = remote::parseServer(field);
    QCOMPARE(int(address.protocol), protocol);
    QCOMPARE(address.host, host);
}

QTEST_GUILESS_MAIN(TestRemoteAddress)
#include "tst_remoteaddress.moc"
