#include <limits>

#include <QTimeZone>
#include <QtTest>

#include "publish/publishplan.h"
#include "tests/kit/testkit.h"

namespace {

using File = PublishPlan::LocalFile;

const QDateTime localTime(QDate(2025, 3, 10), QTime(20, 15, 30, 700), QTimeZone::utc());
// Remote times as seconds after the local file's (whole) second; "none" when not given.
constexpr qint64 none = std::numeric_limits<qint64>::min();

// How a remote time is given: exact (MLSD, MDTM), or as a LIST gives it, the server's clock without
// its zone (UTC here), to the minute or, for older files, to the day.
enum class Listed { No, ToTheMinute, DateOnly };

UrlInfo remoteFile(const QString &name, qint64 size, qint64 secondsAfter, Listed listed = Listed::No)
{
    UrlInfo info;
    info.setName(name);
    info.setFile(true);
    info.setSize(size);
    const QDateTime when = localTime.addMSecs(-700).addSecs(secondsAfter);
    const QTime minute(when.time().hour(), when.time().minute());
    if (secondsAfter != none)
        info.setLastModified(listed == Listed::No ? when : QDateTime(when.date(), listed == Listed::DateOnly ? QTime(0, 0) : minute));
    info.setDateOnly(listed == Listed::DateOnly);
    return info;
}

// "a.mp3", "b.mp3", ...
QString nth(qsizetype i)
{
    return QString(QLatin1Char(static_cast<char>('a' + i))) + QStringLiteral(".mp3");
}

File episode(const QString &name, qint64 size, File::Kind kind = File::Kind::Episode)
{
    return {name, QStringLiteral("/show/") + name, size, localTime, kind};
}

// "mkdir MP3", "cd MP3", "list", "put a.mp3", "put a.mp3 from 42".
QStringList described(const PublishPlan &plan)
{
    static const QStringList verbs{QStringLiteral("mkdir "), QStringLiteral("cd "), QStringLiteral("list"), QStringLiteral("put ")};
    QStringList commands;
    for (const PublishPlan::Command &command : plan.commands)
        commands << verbs[static_cast<int>(command.kind)] + command.remoteName
                        + (command.offset > 0 ? QStringLiteral(" from %1").arg(command.offset) : QString());
    return commands;
}

QStringList texts(const PublishPlan &plan)
{
    QStringList lines;
    for (const PublishPlan::Line &line : plan.lines)
        lines << (line.timed ? QStringLiteral("[time]") : QString()) + line.text;
    return lines;
}

} // namespace

class TestPublishPlan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mp3IsEnteredMadeOrListed_data();
    void mp3IsEnteredMadeOrListed();
    void eachFileIsSentResumedOrLeft_data();
    void eachFileIsSentResumedOrLeft();
    void listClockIsMeasured_data();
    void listClockIsMeasured();
    void clockIsMeasuredOnTheFilesThatNeedIt_data();
    void clockIsMeasuredOnTheFilesThatNeedIt();
    void skippedFilesAreCountedInOneLine();
    void companionsFollowTheirEpisodeAndAreCompared();
};

void TestPublishPlan::mp3IsEnteredMadeOrListed_data()
{
    QTest::addColumn<QStringList>("remoteNames");
    QTest::addColumn<bool>("onlyChanged");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("lines");

    const QStringList made{QStringLiteral("mkdir MP3"), QStringLiteral("cd MP3")};
    const QStringList madeLines{QStringLiteral("[time] : MKDIR MP3"), QStringLiteral("[time] : CWD MP3")};
    QTest::newRow("missing") << QStringList{QStringLiteral("mp3"), QStringLiteral("index.html")} << false << made << madeLines;
    QTest::newRow("missing, only changes") << QStringList{} << true << made << madeLines;
    QTest::newRow("there") << QStringList{QStringLiteral("."), QStringLiteral("MP3")} << false
                           << QStringList{QStringLiteral("cd MP3")} << QStringList{QStringLiteral("[time] : CWD MP3")};
    QTest::newRow("there, only changes") << QStringList{QStringLiteral("MP3")} << true
                                         << QStringList{QStringLiteral("cd MP3"), QStringLiteral("list")}
                                         << QStringList{QStringLiteral("[time] : CWD MP3")};
}

void TestPublishPlan::mp3IsEnteredMadeOrListed()
{
    QFETCH(QStringList, remoteNames);
    QFETCH(bool, onlyChanged);
    const PublishPlan plan = PublishPlan::enterFolder(remoteNames, onlyChanged);
    QTEST(described(plan), "commands");
    QTEST(texts(plan), "lines");
}

// What becomes of one file, and whether its exact time is asked first because the listing's cannot decide.
void TestPublishPlan::eachFileIsSentResumedOrLeft_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("remoteSize"); // -1: not on the server; the local file has 1000 bytes
    QTest::addColumn<qint64>("remoteSecondsAfter"); // the time the server gives, after the local file's
    QTest::addColumn<Listed>("listed");
    QTest::addColumn<qint64>("listOffset"); // of the LIST's clock, as measured; none: not measured
    QTest::addColumn<bool>("onlyChanged");
    QTest::addColumn<bool>("resumeOffered");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("expected"); // the put, or "" for a file left alone

    const QString ep = QStringLiteral("ep.mp3");
    const QString put = QStringLiteral("put ep.mp3");
    const QString resume = QStringLiteral("put ep.mp3 from 400");
    const qint64 day = 24 * 3600, hour = 3600;
    const Listed exact = Listed::No, list = Listed::ToTheMinute;
    QTest::newRow("unchanged, same second") << ep << 1000LL << 0LL << exact << none << true << true << false << QString();
    QTest::newRow("newer here") << ep << 1000LL << -1LL << exact << none << true << true << false << put;
    QTest::newRow("bigger there") << ep << 1500LL << hour << exact << none << true << true << false << put;
    QTest::newRow("smaller and newer there: cut") << ep << 400LL << 60LL << exact << none << true << true << false << resume;
    QTest::newRow("cut, server without REST STREAM") << ep << 400LL << 60LL << exact << none << true << false << false << put;
    QTest::newRow("cut, nothing arrived") << ep << 0LL << 60LL << exact << none << true << true << false << put;
    QTest::newRow("smaller and older there") << ep << 400LL << -60LL << exact << none << true << true << false << put;
    QTest::newRow("not there") << ep << -1LL << none << exact << none << true << true << false << put;
    QTest::newRow("no time, same size") << ep << 1000LL << none << exact << none << true << true << true << QString();
    QTest::newRow("no time, smaller") << ep << 400LL << none << exact << none << true << true << true << put;
    QTest::newRow("no time, smaller, no REST STREAM") << ep << 400LL << none << exact << none << true << false << false << put;
    QTest::newRow("no time, nothing arrived") << ep << 0LL << none << exact << none << true << true << false << put;
    QTest::newRow("no time, bigger") << ep << 1500LL << none << exact << none << true << true << false << put;
    // MDTM with such a name would set the file's time on vsftpd.
    QTest::newRow("no time, name that sets a time") << QStringLiteral("20240131120000 ep.mp3") << 1000LL << none << exact << none
                                                    << true << true << false << QString();
    QTest::newRow("playlist always") << QStringLiteral("playlist.xml") << 1000LL << none << exact << none << true << true << false
                                     << QStringLiteral("put playlist.xml");
    QTest::newRow("feed always") << QStringLiteral("feed.xml") << 1000LL << hour << exact << none << true << true << false
                                 << QStringLiteral("put feed.xml");
    QTest::newRow("LIST time, days newer") << ep << 1000LL << 2 * day << list << none << true << true << false << QString();
    QTest::newRow("LIST time, days older") << ep << 1000LL << -2 * day << list << none << true << true << false << put;
    QTest::newRow("LIST time, too close") << ep << 1000LL << hour << list << none << true << true << true << QString();
    QTest::newRow("LIST time, cut days ago") << ep << 400LL << 2 * day << list << none << true << true << false << resume;
    QTest::newRow("LIST time, smaller, too close") << ep << 400LL << hour << list << none << true << true << true << put;
    // Measured, the LIST's clock decides to the minute; the local file was written at 20:15:30.
    QTest::newRow("90 s after, UTC+2") << ep << 1000LL << 90 + 2 * hour << list << 2 * hour << true << true << false << QString();
    QTest::newRow("90 s before, UTC+2") << ep << 1000LL << -90 + 2 * hour << list << 2 * hour << true << true << false << put;
    QTest::newRow("the next minute") << ep << 1000LL << 30LL << list << 0LL << true << true << false << QString();
    QTest::newRow("the same minute") << ep << 1000LL << 20LL << list << 0LL << true << true << true << QString();
    QTest::newRow("cut, a minute after") << ep << 400LL << 90LL << list << 0LL << true << true << false << resume;
    QTest::newRow("date only, measured") << ep << 1000LL << 90LL << Listed::DateOnly << 0LL << true << true << true << QString();
    QTest::newRow("choice off") << ep << 1000LL << none << exact << none << false << true << false << put;
}

void TestPublishPlan::eachFileIsSentResumedOrLeft()
{
    QFETCH(QString, name);
    QFETCH(qint64, remoteSize);
    QFETCH(qint64, remoteSecondsAfter);
    QFETCH(Listed, listed);
    QFETCH(qint64, listOffset);
    QFETCH(bool, onlyChanged);
    QFETCH(bool, resumeOffered);
    QFETCH(bool, asked);
    QFETCH(QString, expected);

    const QList<File> files = PublishPlan::localFiles({QFileInfo(QStringLiteral("/show/") + name)}, QString(), QStringLiteral("/work"));
    const QList<File> local{episode(name, 1000, files.first().kind)};
    QList<UrlInfo> remote{remoteFile(QStringLiteral("other.mp3"), 5, 0)};
    if (remoteSize >= 0)
        remote << remoteFile(name, remoteSize, remoteSecondsAfter, listed);
    const PublishPlan::Options options{onlyChanged, resumeOffered, true,
                                       listOffset == none ? std::nullopt : std::optional(listOffset)};
    QCOMPARE(PublishPlan::timesWanted(local, remote, options), asked ? QStringList{name} : QStringList());
    const PublishPlan plan = PublishPlan::sendFiles(local, remote, options);
    QCOMPARE(described(plan), expected.isEmpty() ? QStringList() : QStringList{expected});
    QCOMPARE(plan.upToDate, expected.isEmpty() ? 1 : 0);
    QCOMPARE(plan.commands.value(0).localPath, expected.isEmpty() ? QString() : QStringLiteral("/show/") + name);
}

void TestPublishPlan::listClockIsMeasured_data()
{
    QTest::addColumn<QList<QDateTime>>("listed"); // of a.mp3, b.mp3, ...; a time of 00:00 stands for a date only
    QTest::addColumn<QList<QDateTime>>("exact"); // invalid: MDTM refused
    QTest::addColumn<qint64>("offset");

    const QDate day(2025, 3, 10);
    const QDateTime written(day, QTime(20, 16, 45), QTimeZone::utc());
    const auto at = [](QDate date, int h, int m) { return QDateTime(date, QTime(h, m)); };
    QTest::newRow("UTC+5:45, the next day") << QList{at(day.addDays(1), 2, 1)} << QList{written} << 20700LL;
    QTest::newRow("UTC-9:30") << QList{at(day, 10, 46)} << QList{written} << -34200LL;
    QTest::newRow("two that agree") << QList{at(day, 21, 16), at(day, 22, 0)}
                                    << QList{written, QDateTime(day, QTime(21, 0), QTimeZone::utc())} << 3600LL;
    QTest::newRow("summer time between") << QList{at(day, 21, 16), at(day, 23, 0)}
                                         << QList{written, QDateTime(day, QTime(21, 0), QTimeZone::utc())} << none;
    QTest::newRow("listed after it was written") << QList{at(day, 20, 17)} << QList{written} << none;
    QTest::newRow("minutes before it was written") << QList{at(day, 20, 13)} << QList{written} << none;
    QTest::newRow("beyond 14 hours") << QList{at(day.addDays(1), 11, 16)} << QList{written} << none;
    QTest::newRow("date only") << QList{at(day, 0, 0)} << QList{written} << none;
    QTest::newRow("MDTM refused") << QList{at(day, 20, 16)} << QList{QDateTime()} << none;
}

void TestPublishPlan::listClockIsMeasured()
{
    QFETCH(QList<QDateTime>, listed);
    QFETCH(QList<QDateTime>, exact);
    QFETCH(qint64, offset);
    QList<UrlInfo> remote;
    QHash<QString, QDateTime> measured;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        UrlInfo &entry = remote.emplaceBack(remoteFile(nth(i), 1000, none));
        entry.setLastModified(listed[i]);
        entry.setDateOnly(listed[i].time() == QTime(0, 0));
        measured.insert(entry.name(), exact[i]);
    }
    QCOMPARE(PublishPlan::listOffset(remote, measured).value_or(none), offset);
}

void TestPublishPlan::clockIsMeasuredOnTheFilesThatNeedIt_data()
{
    QTest::addColumn<QList<qint64>>("localAges"); // of a.mp3, b.mp3, ... in days
    QTest::addColumn<QList<qint64>>("listedAfter"); // seconds after each local file; none: a date only
    QTest::addColumn<QStringList>("names");

    QTest::newRow("earliest and latest") << QList<qint64>{0, 0, 0} << QList<qint64>{3600, 1800, 7200}
                                         << QStringList{QStringLiteral("b.mp3"), QStringLiteral("c.mp3")};
    QTest::newRow("date only left out") << QList<qint64>{0, 0} << QList<qint64>{none, 60} << QStringList{QStringLiteral("b.mp3")};
    QTest::newRow("times that decide already") << QList<qint64>{0} << QList<qint64>{3 * 24 * 3600} << QStringList();
    QTest::newRow("too far apart") << QList<qint64>{0, 8} << QList<qint64>{60, 60} << QStringList();
}

void TestPublishPlan::clockIsMeasuredOnTheFilesThatNeedIt()
{
    QFETCH(QList<qint64>, localAges);
    QFETCH(QList<qint64>, listedAfter);
    QList<File> local;
    QList<UrlInfo> remote;
    for (qsizetype i = 0; i < localAges.size(); ++i) {
        const QString name = nth(i);
        local << episode(name, 1000);
        local.last().modified = localTime.addDays(-localAges[i]);
        const bool dateOnly = listedAfter[i] == none;
        remote << remoteFile(name, 1000, dateOnly ? 0 : listedAfter[i] - localAges[i] * 24 * 3600,
                             dateOnly ? Listed::DateOnly : Listed::ToTheMinute);
    }
    QTEST(PublishPlan::clockFiles(local, remote, {true, true, true, {}}), "names");
}

void TestPublishPlan::skippedFilesAreCountedInOneLine()
{
    const QList<File> local{episode(QStringLiteral("1.mp3"), 10), episode(QStringLiteral("2.mp3"), 10),
                            episode(QStringLiteral("3.mp3"), 10)};
    // Without times only sizes count, which the plan says first; files only on the server stay.
    const QList<UrlInfo> remote{remoteFile(QStringLiteral("1.mp3"), 10, none), remoteFile(QStringLiteral("2.mp3"), 10, none),
                                remoteFile(QStringLiteral("3.mp3"), 4, none), remoteFile(QStringLiteral("old.mp3"), 4, none)};
    const PublishPlan plan = PublishPlan::sendFiles(local, remote, {true, true, false, {}});
    QCOMPARE(described(plan), QStringList{QStringLiteral("put 3.mp3")});
    QCOMPARE(texts(plan),
             (QStringList{
                 QStringLiteral("Le serveur ne donne pas l'heure des fichiers : seules les tailles sont comparées."),
                 QStringLiteral("<b>3.mp3</b> mis en file d'attente."),
                 QStringLiteral("2 fichier(s) déjà à jour sur le serveur."),
                 QStringLiteral("Le dossier \"MP3\" a été créé sur le serveur le cas échéant. La playlist et les mp3 y seront déposés."),
             }));
}

void TestPublishPlan::companionsFollowTheirEpisodeAndAreCompared()
{
    const testkit::WorkDir dir;
    for (const char *name : {"a.mp3", "a.vtt", "b.mp3", "chapters/b.chapters.json", "feed.xml"})
        QVERIFY(testkit::writeFile(dir.filePath(QString::fromUtf8(name)), "12345"));
    const QFileInfoList source{QFileInfo(dir.filePath(QStringLiteral("a.mp3"))), QFileInfo(dir.filePath(QStringLiteral("b.mp3"))),
                               QFileInfo(dir.filePath(QStringLiteral("feed.xml")))};
    const QHash<QString, QStringList> companions{
        {QStringLiteral("a.mp3"), {dir.filePath(QStringLiteral("a.vtt"))}},
        {QStringLiteral("b.mp3"), {dir.filePath(QStringLiteral("chapters/b.chapters.json")), dir.filePath(QStringLiteral("gone.srt"))}}};
    const QList<File> files = PublishPlan::localFiles(source, QString(), dir.path(), companions);
    QStringList names;
    for (const File &file : files)
        names << file.name;
    QCOMPARE(names, (QStringList{QStringLiteral("a.mp3"), QStringLiteral("a.vtt"), QStringLiteral("b.mp3"), QStringLiteral("b.chapters.json"),
                                 QStringLiteral("gone.srt"), QStringLiteral("feed.xml"), QStringLiteral("dewplayer-playlist.swf"),
                                 QStringLiteral("player_mp3_multi.swf")}));
    QCOMPARE(files[3].path, dir.filePath(QStringLiteral("chapters/b.chapters.json")));

    // Like an episode: the copy of the same size is left, the other sent; the feed always goes.
    const QList<UrlInfo> remote{remoteFile(QStringLiteral("a.mp3"), 5, none), remoteFile(QStringLiteral("a.vtt"), 5, none),
                                remoteFile(QStringLiteral("b.mp3"), 5, none), remoteFile(QStringLiteral("b.chapters.json"), 4, none),
                                remoteFile(QStringLiteral("feed.xml"), 5, none)};
    const PublishPlan plan = PublishPlan::sendFiles(files.mid(0, 6), remote, {true, true, false, {}});
    QCOMPARE(described(plan), (QStringList{QStringLiteral("put b.chapters.json"), QStringLiteral("put feed.xml")}));
    QVERIFY(texts(plan).contains(QStringLiteral("<span style='color: red; font-weight: bold'>gone.srt</span> non traitée (fichier introuvable).")));
}

QTEST_GUILESS_MAIN(TestPublishPlan)
#include "tst_publishplan.moc"
