#include <QTest>
#include <QTimeZone>

#include "ftp/ftpparsers.h"
#include "tests/kit/testkit.h"

using ftp::Reply;

class TestFtpParsers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_workDir = std::make_unique<testkit::WorkDir>(); }
    void cleanup() { m_workDir.reset(); }

    void repliesAreTakenWhole_data();
    void repliesAreTakenWhole();
    void replySplitAnywhereWaitsForItsLastLine();
    void errorsShowTheCodeAndEveryLine_data();
    void errorsShowTheCodeAndEveryLine();
    void passivePortsAreRead_data();
    void passivePortsAreRead();
    void featuresAreListed();
    void listLinesBecomeEntries_data();
    void listLinesBecomeEntries();
    void linesThatAreNoEntryAreSkipped_data();
    void linesThatAreNoEntryAreSkipped();
    void mlsdLinesBecomeEntries_data();
    void mlsdLinesBecomeEntries();

private:
    std::unique_ptr<testkit::WorkDir> m_workDir;
};

void TestFtpParsers::repliesAreTakenWhole_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QByteArray>("rest");

    QTest::newRow("one line") << QByteArray("220 Ready\r\n") << QList<int>{220} << QStringList{"Ready"} << QByteArray();
    QTest::newRow("bare LF") << QByteArray("200 OK\n") << QList<int>{200} << QStringList{"OK"} << QByteArray();
    QTest::newRow("code alone") << QByteArray("200\r\n") << QList<int>{200} << QStringList{""} << QByteArray();
    QTest::newRow("multi-line") << QByteArray("211-Features:\r\n MLST type*;\r\n UTF8\r\n211 End\r\n") << QList<int>{211}
                                << QStringList{"Features:\n MLST type*;\n UTF8\nEnd"} << QByteArray();
    QTest::newRow("code repeated inside") << QByteArray("230-Welcome\r\n230-to here\r\n230 Done\r\n") << QList<int>{230}
                                          << QStringList{"Welcome\nto here\nDone"} << QByteArray();
    QTest::newRow("other code inside") << QByteArray("220-Hi\r\n331 not the end\r\n220 End\r\n") << QList<int>{220}
                                       << QStringList{"Hi\n331 not the end\nEnd"} << QByteArray();
    QTest::newRow("two in one packet") << QByteArray("150 Opening\r\n226 Done\r\n") << QList<int>{150, 226}
                                       << QStringList{"Opening", "Done"} << QByteArray();
    QTest::newRow("line not finished") << QByteArray("220 Rea") << QList<int>{} << QStringList{} << QByteArray("220 Rea");
    QTest::newRow("multi-line not finished") << QByteArray("220-a\r\n220-b\r\n") << QList<int>{} << QStringList{}
                                             << QByteArray("220-a\r\n220-b\r\n");
    QTest::newRow("reply then a partial one") << QByteArray("250 OK\r\n226 Tr") << QList<int>{250} << QStringList{"OK"}
                                              << QByteArray("226 Tr");
    QTest::newRow("not a reply") << QByteArray("hello\r\n") << QList<int>{0} << QStringList{"hello"} << QByteArray();
    QTest::newRow("UTF-8 text") << QByteArray("550 « épisode » introuvable\r\n") << QList<int>{550}
                                << QStringList{QString::fromUtf8("« épisode » introuvable")} << QByteArray();
}

void TestFtpParsers::repliesAreTakenWhole()
{
    QFETCH(QByteArray, input);
    QFETCH(QList<int>, codes);
    QFETCH(QStringList, texts);
    QFETCH(QByteArray, rest);

    ftp::ReplyReader reader;
    reader.append(input);
    QList<int> gotCodes;
    QStringList gotTexts;
    while (const auto reply = reader.next()) {
        gotCodes.append(reply->code);
        gotTexts.append(reply->text);
    }
    QCOMPARE(gotCodes, codes);
    QCOMPARE(gotTexts, texts);
    QCOMPARE(reader.pendingSize() > 0, !rest.isEmpty());
}

void TestFtpParsers::replySplitAnywhereWaitsForItsLastLine()
{
    const QByteArray whole("220-Welcome\r\n220-second line\r\n 220 inner\r\n220 Ready\r\n");
    for (qsizetype cut = 1; cut < whole.size(); ++cut) {
        ftp::ReplyReader reader;
        reader.append(whole.first(cut));
        QVERIFY2(!reader.next(), QByteArray::number(cut).constData());
        reader.append(whole.sliced(cut));
        const auto reply = reader.next();
        QVERIFY(reply);
        QCOMPARE(*reply, (Reply{220, "Welcome\nsecond line\n 220 inner\nReady"}));
        QCOMPARE(reader.pendingSize(), 0);
    }
}

void TestFtpParsers::errorsShowTheCodeAndEveryLine_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("message");

    QTest::newRow("one line") << QByteArray("530 Login incorrect.\r\n") << "530 Login incorrect.";
    QTest::newRow("code alone") << QByteArray("552\r\n") << "552";
    QTest::newRow("explanation before the last line")
        << QByteArray("421-Too many connections (8) from this IP\r\n421 Bye\r\n")
        << "421 Too many connections (8) from this IP Bye";
    QTest::newRow("inner lines without code")
        << QByteArray("530-User cannot log in.\r\n  Win32 error: Logon failure\r\n\r\n530 End\r\n")
        << "530 User cannot log in. Win32 error: Logon failure End";
}

void TestFtpParsers::errorsShowTheCodeAndEveryLine()
{
    QFETCH(QByteArray, input);
    ftp::ReplyReader reader;
    reader.append(input);
    const auto reply = reader.next();
    QVERIFY(reply);
    QTEST(ftp::replyMessage(*reply), "message");
}

void TestFtpParsers::passivePortsAreRead_data()
{
    QTest::addColumn<bool>("extended");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("port"); // 0: no port

    QTest::newRow("EPSV") << true << "Entering Extended Passive Mode (|||6446|)" << 6446;
    QTest::newRow("EPSV other delimiter") << true << "Extended Passive (!!!2121!)" << 2121;
    QTest::newRow("EPSV no port") << true << "Entering Extended Passive Mode (|||)" << 0;
    QTest::newRow("EPSV port too big") << true << "(|||70000|)" << 0;
    QTest::newRow("PASV") << false << "Entering Passive Mode (127,0,0,1,195,149)." << 195 * 256 + 149;
    QTest::newRow("PASV without parentheses") << false << "Entering Passive Mode 10,0,0,5,4,1" << 1025;
    QTest::newRow("PASV byte over 255") << false << "Entering Passive Mode (127,0,0,1,300,1)" << 0;
    QTest::newRow("PASV too few numbers") << false << "Entering Passive Mode (127,0,0,1,4)" << 0;
}

void TestFtpParsers::passivePortsAreRead()
{
    QFETCH(bool, extended);
    QFETCH(QString, text);
    QFETCH(int, port);

    const auto got = extended ? ftp::parseEpsvPort(text) : ftp::parsePasvPort(text);
    QCOMPARE(got.value_or(0), port);
}

void TestFtpParsers::featuresAreListed()
{
    QCOMPARE(ftp::parseFeatures(u"Features:\n MDTM\n MLST type*;size*;modify*;\n utf8\n REST STREAM\nEnd"),
             (QStringList{"MDTM", "MLST", "UTF8", "REST"}));
    QCOMPARE(ftp::parseFeatures(u"No features"), QStringList());
}

void TestFtpParsers::listLinesBecomeEntries_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("dir");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QDateTime>("modified");

    QTest::newRow("unix file") << "-rw-r--r--   1 owner    group     1234567 Jan 31  2023 episode.mp3"
                               << "episode.mp3" << false << qint64(1234567) << QDateTime(QDate(2023, 1, 31), QTime(0, 0));
    QTest::newRow("unix dir") << "drwxr-xr-x   2 owner    group        4096 Mar 10 12:30 MP3"
                              << "MP3" << true << qint64(4096) << QDateTime(QDate(2024, 3, 10), QTime(12, 30));
    QTest::newRow("unix date without year in the future is last year")
        << "-rw-r--r--   1 owner    group          10 Dec 24 18:00 noel.mp3"
        << "noel.mp3" << false << qint64(10) << QDateTime(QDate(2023, 12, 24), QTime(18, 0));
    QTest::newRow("unix name with spaces") << "-rw-r--r--   1 owner    group        2048 Feb  2  2024 my  first episode.mp3"
                                           << "my  first episode.mp3" << false << qint64(2048)
                                           << QDateTime(QDate(2024, 2, 2), QTime(0, 0));
    QTest::newRow("unix name that looks like a date") << "-rw-r--r-- 1 o g 5 Feb  2  2024 Jan 01 2020 notes"
                                                      << "Jan 01 2020 notes" << false << qint64(5)
                                                      << QDateTime(QDate(2024, 2, 2), QTime(0, 0));
    QTest::newRow("unix without group") << "-rw-r--r--   1 ftp       77 Mar 01 09:05 short.xml"
                                        << "short.xml" << false << qint64(77) << QDateTime(QDate(2024, 3, 1), QTime(9, 5));
    QTest::newRow("unix symlink") << "lrwxrwxrwx   1 owner    group          11 Mar 01  2022 latest.mp3 -> ep 12.mp3"
                                  << "latest.mp3" << false << qint64(11) << QDateTime(QDate(2022, 3, 1), QTime(0, 0));
    QTest::newRow("unix dot") << "drwxr-xr-x   5 owner    group        4096 Mar 10  2024 ."
                              << "." << true << qint64(4096) << QDateTime(QDate(2024, 3, 10), QTime(0, 0));
    QTest::newRow("unix UTF-8 name") << QString::fromUtf8("-rw-r--r-- 1 o g 3 Mar 01  2024 épisode 日本.mp3")
                                     << QString::fromUtf8("épisode 日本.mp3") << false << qint64(3)
                                     << QDateTime(QDate(2024, 3, 1), QTime(0, 0));
    QTest::newRow("dos dir") << "01-31-20  10:30AM       <DIR>          Old Episodes"
                             << "Old Episodes" << true << qint64(-1) << QDateTime(QDate(2020, 1, 31), QTime(10, 30));
    QTest::newRow("dos file pm") << "12-05-1999  01:07PM            123456 show notes.xml"
                                 << "show notes.xml" << false << qint64(123456)
                                 << QDateTime(QDate(1999, 12, 5), QTime(13, 7));
    QTest::newRow("unix long-iso date") << "-rw-r--r--    1 owner group  524288 2005-06-07 21:22 show  notes.xml"
                                        << "show  notes.xml" << false << qint64(524288)
                                        << QDateTime(QDate(2005, 6, 7), QTime(21, 22));
    QTest::newRow("unix day before month") << "-rw-r--r--   1 owner    group        4096 01 oct  2004 octobre.mp3"
                                           << "octobre.mp3" << false << qint64(4096)
                                           << QDateTime(QDate(2004, 10, 1), QTime(0, 0));
    QTest::newRow("unix day before month, no year") << "drwxr-xr-x   2 owner    group        4096 14 mar 08:15 MP3"
                                                    << "MP3" << true << qint64(4096)
                                                    << QDateTime(QDate(2024, 3, 14), QTime(8, 15));
    QTest::newRow("unix numeric month then day") << "-rw-r--r-- 1 owner group 1234 03 14 21:22 ep 1.mp3" << "ep 1.mp3"
                                                 << false << qint64(1234) << QDateTime(QDate(2024, 3, 14), QTime(21, 22));
    QTest::newRow("unix numeric day then month") << "-rw-r--r-- 1 owner group 1234 14 03 21:22 ep 1.mp3" << "ep 1.mp3"
                                                 << false << qint64(1234) << QDateTime(QDate(2024, 3, 14), QTime(21, 22));
    QTest::newRow("unix numeric with year") << "-rw-r--r-- 1 owner group 9 12 25 2023 noel.mp3" << "noel.mp3" << false
                                            << qint64(9) << QDateTime(QDate(2023, 12, 25), QTime(0, 0));
    QTest::newRow("unix numeric in either order") << "-rw-r--r-- 1 owner group 77 03 04 10:00 my show.mp3"
                                                  << "my show.mp3" << false << qint64(77) << QDateTime();
    QTest::newRow("unix lower-case month") << "-rw-r--r-- 1 o g 3 feb 29 2024 leap.mp3" << "leap.mp3" << false
                                           << qint64(3) << QDateTime(QDate(2024, 2, 29), QTime(0, 0));
    QTest::newRow("dos four-digit year first") << "2002-09-02  18:48       <DIR>          Archives"
                                               << "Archives" << true << qint64(-1)
                                               << QDateTime(QDate(2002, 9, 2), QTime(18, 48));
    QTest::newRow("dos thousands separators") << "09-02-2002  06:48PM             9,730 my   show.mp3"
                                              << "my   show.mp3" << false << qint64(9730)
                                              << QDateTime(QDate(2002, 9, 2), QTime(18, 48));
    QTest::newRow("dos noon and midnight") << "02-29-24  12:00AM                 1 midnight.mp3"
                                           << "midnight.mp3" << false << qint64(1)
                                           << QDateTime(QDate(2024, 2, 29), QTime(0, 0));
}

void TestFtpParsers::listLinesBecomeEntries()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(bool, dir);
    QFETCH(qint64, size);
    QFETCH(QDateTime, modified);

    const auto info = ftp::parseListLine(line, QDate(2024, 3, 15));
    QVERIFY(info);
    QCOMPARE(info->name(), name);
    QCOMPARE(info->isDir(), dir);
    QCOMPARE(info->isFile(), !dir);
    QCOMPARE(info->size(), size);
    QCOMPARE(info->lastModified(), modified);
    // Only the lines of old Unix files, with a year instead of a time, carry no time of day.
    QCOMPARE(info->isDateOnly(), !line.contains(u':'));
}

void TestFtpParsers::linesThatAreNoEntryAreSkipped_data()
{
    QTest::addColumn<QString>("line");

    QTest::newRow("empty") << "";
    QTest::newRow("total") << "total 128";
    QTest::newRow("bad mode") << "xrw-r--r-- 1 o g 3 Mar 01 2024 a.mp3";
    QTest::newRow("no name") << "-rw-r--r-- 1 o g 3 Mar 01 2024";
    QTest::newRow("bad month") << "-rw-r--r-- 1 o g 3 Foo 01 2024 a.mp3";
    QTest::newRow("negative size") << "-rw-r--r-- 1 o g -3 Mar 01 2024 a.mp3";
    QTest::newRow("dos bad time") << "01-31-20  25:30PM  <DIR>  x";
    QTest::newRow("dos no name") << "01-31-20  10:30AM  <DIR>";
    QTest::newRow("iso date that does not exist") << "-rw-r--r-- 1 o g 3 2024-13-01 10:00 a.mp3";
    QTest::newRow("day before month without year") << "-rw-r--r-- 1 o g 3 32 oct 10:00 a.mp3";
    QTest::newRow("numeric date that does not exist") << "-rw-r--r-- 1 o g 3 31 02 10:00 a.mp3";
    QTest::newRow("dos month 13") << "2002-13-02  18:48  12 a.mp3";
}

void TestFtpParsers::linesThatAreNoEntryAreSkipped()
{
    QFETCH(QString, line);
    QVERIFY(!ftp::parseListLine(line, QDate(2024, 3, 15)));
}

void TestFtpParsers::mlsdLinesBecomeEntries_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("dir");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QDateTime>("modified");

    const QDateTime noon(QDate(2024, 1, 31), QTime(12, 0), QTimeZone::utc());
    QTest::newRow("file") << "type=file;size=1234;modify=20240131120000; episode one.mp3" << true
                          << "episode one.mp3" << false << qint64(1234) << noon;
    QTest::newRow("dir, facts in any case") << "Type=DIR;Modify=20240131120000.123;perm=el; MP3" << true << "MP3"
                                            << true << qint64(-1) << noon;
    QTest::newRow("current dir") << "type=cdir;modify=20240131120000; /home/podcast" << true << "." << true
                                 << qint64(-1) << noon;
    QTest::newRow("parent dir") << "type=pdir;modify=20240131120000; /home" << true << ".." << true << qint64(-1)
                                << noon;
    QTest::newRow("name with semicolon and space") << "type=file;size=1; a; b.mp3\r" << true << "a; b.mp3" << false
                                                   << qint64(1) << QDateTime();
    QTest::newRow("no type") << "size=1; x" << false << QString() << false << qint64(0) << QDateTime();
    QTest::newRow("no name") << "type=file;size=1;" << false << QString() << false << qint64(0) << QDateTime();
}

void TestFtpParsers::mlsdLinesBecomeEntries()
{
    QFETCH(QString, line);
    QFETCH(bool, valid);

    const auto info = ftp::parseMlsdLine(line);
    QCOMPARE(bool(info), valid);
    if (!valid)
        return;
    QTEST(info->name(), "name");
    QTEST(info->isDir(), "dir");
    QTEST(info->size(), "size");
    QTEST(info->lastModified(), "modified");
}

QTEST_GUILESS_MAIN(TestFtpParsers)
#include "tst_ftpparsers.moc"
