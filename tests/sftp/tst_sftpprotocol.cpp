#include <QTest>
#include <QtEndian>

#include "sftp/sftpprotocol.h"

namespace {

QByteArray u32(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray str(const QByteArray &value)
{
    return u32(quint32(value.size())) + value;
}

} // namespace

// What a server's SFTP packets read as; malformed ones are refused, not read past their end.
class TestSftpProtocol : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void repliesAreReadOrRefused_data();
    void repliesAreReadOrRefused();
};

void TestSftpProtocol::repliesAreReadOrRefused_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("read"); // "" when refused

    const QByteArray fileAttributes = u32(0x01 | 0x04 | 0x08) + QByteArray(4, 0) + u32(5) + u32(0100644) + u32(1) + u32(1710074096);
    QTest::newRow("status") << char(101) + u32(7) + u32(4) + str("Failure") + str("en") << "status 7 4 Failure";
    QTest::newRow("status of an old server") << char(101) + u32(7) + u32(2) << "status 7 2 ";
    QTest::newRow("status cut short") << char(101) + u32(7) + QByteArray(2, 0) << "";
    QTest::newRow("handle") << char(102) + u32(8) + str("h1") << "handle 8 h1";
    QTest::newRow("handle longer than the packet") << char(102) + u32(8) + u32(100) + "h1" << "";
    QTest::newRow("name") << char(104) + u32(9) + u32(1) + str("a.mp3") + str("-rw-r--r-- a.mp3") + fileAttributes
                          << "name 9 a.mp3:5:2024-03-10T12:34:56+00:00:file";
    QTest::newRow("name with more entries than bytes") << char(104) + u32(9) + u32(1000000) + str("a.mp3") + str("") + fileAttributes << "";
    QTest::newRow("extended attributes skipped") << char(105) + u32(3) + u32(0x80000000 | 0x01) + QByteArray(4, 0) + u32(9) + u32(1)
                                                        + str("k") + str("v")
                                                 << "attrs 3 9";
    QTest::newRow("unknown type") << char(99) + u32(3) << "";
}

void TestSftpProtocol::repliesAreReadOrRefused()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, read);

    const std::optional<sftp::Reply> reply = sftp::parseReply(body);
    QString text;
    if (reply && reply->type == sftp::Status)
        text = QStringLiteral("status %1 %2 %3").arg(reply->id).arg(reply->status).arg(reply->message);
    else if (reply && reply->type == sftp::Handle)
        text = QStringLiteral("handle %1 %2").arg(reply->id).arg(QString::fromLatin1(reply->handle));
    else if (reply && reply->type == sftp::Attrs)
        text = QStringLiteral("attrs %1 %2").arg(reply->id).arg(reply->attributes.size.value_or(0));
    else if (reply && reply->type == sftp::Name) {
        QStringList entries;
        for (const sftp::Entry &entry : reply->entries) {
            const UrlInfo info = sftp::toUrlInfo(entry).value_or(UrlInfo());
            entries << QStringList{info.name(), QString::number(info.size()), info.lastModified().toString(Qt::ISODate),
                                   info.isFile() ? "file" : "other"}.join(u':');
        }
        text = QStringLiteral("name %1 %2").arg(reply->id).arg(entries.join(u','));
    }
    QCOMPARE(text, read);
}

QTEST_MAIN(TestSftpProtocol)
#include "tst_sftpprotocol.moc"
