#include <limits>

#include <QTimeZone>
#include <QtTest>

#include "publish/publishplan.h"

namespace {

using File = PublishPlan::LocalFile;

const QDateTime localTime(QDate(2025, 3, 10), QTime(20, 15, 30, 700), QTimeZone::utc());
// Remote times as seconds after the local file's (whole) second; "none" when not given.
constexpr qint64 none = std::numeric_limits<qint64>::min();

// listed: the time as a LIST gives it, the server's clock without its zone (UTC here).
UrlInfo remoteFile(const QString &name, qint64 size, qint64 secondsAfter, bool listed = false)
{
    UrlInfo info;
    info.setName(name);
    info.setFile(true);
    info.setSize(size);
    const QDateTime when = localTime.addMSecs(-700).addSecs(secondsAfter);
    if (secondsAfter != none)
        info.setLastModified(listed ? QDateTime(when.date(), when.time()) : when);
    return info;
}

File episode(const QString &name, qint64 size, File::Kind kind = File::Kind::Episode)
{
    return {name, QStringLiteral("/show/") + name, size, localTime, kind};
}

// "mkdir MP3", "cd MP3", "list", "put a.mp3", "put a.mp3 from 42".
QStringList described(const PublishPlan &plan)
{
    QStringList commands;
    for (const PublishPlan::Command &command : plan.commands) {
        switch (command.kind) {
        case PublishPlan::Command::Kind::Mkdir:
            commands << QStringLiteral("mkdir ") + command.remoteName;
            break;
        case PublishPlan::Command::Kind::Cd:
            commands << QStringLiteral("cd ") + command.remoteName;
            break;
        case PublishPlan::Command::Kind::List:
            commands << QStringLiteral("list");
            break;
        case PublishPlan::Command::Kind::Put:
            commands << QStringLiteral("put ") + command.remoteName
                            + (command.offset > 0 ? QStringLiteral(" from %1").arg(command.offset) : QString());
            break;
        }
    }
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
    void timesAreAskedOnlyWhereTheyDecide_data();
    void timesAreAskedOnlyWhereTheyDecide();
    void skippedFilesAreCountedInOneLine();
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

void TestPublishPlan::eachFileIsSentResumedOrLeft_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("localSize");
    QTest::addColumn<qint64>("remoteSize"); // -1: not on the server
    QTest::addColumn<qint64>("remoteSecondsAfter");
    QTest::addColumn<bool>("onlyChanged");
    QTest::addColumn<bool>("resumeOffered");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<QString>("expected"); // the put, or "" for a file left alone

    const QString ep = QStringLiteral("ep.mp3");
    const QString put = QStringLiteral("put ep.mp3");
    QTest::newRow("unchanged") << ep << 1000LL << 1000LL << 3600LL << true << true << false << QString();
    QTest::newRow("unchanged, same second") << ep << 1000LL << 1000LL << 0LL << true << true << false << QString();
    QTest::newRow("newer here") << ep << 1000LL << 1000LL << -1LL << true << true << false << put;
    QTest::newRow("bigger there") << ep << 1000LL << 1500LL << 3600LL << true << true << false << put;
    QTest::newRow("smaller and newer there: cut") << ep << 1000LL << 400LL << 60LL << true << true << false
                                                  << QStringLiteral("put ep.mp3 from 400");
    QTest::newRow("cut, server without REST STREAM") << ep << 1000LL << 400LL << 60LL << true << false << false << put;
    QTest::newRow("cut, nothing arrived") << ep << 1000LL << 0LL << 60LL << true << true << false << put;
    QTest::newRow("smaller and older there") << ep << 1000LL << 400LL << -60LL << true << true << false << put;
    QTest::newRow("not there") << ep << 1000LL << -1LL << none << true << true << false << put;
    QTest::newRow("no time, same size") << ep << 1000LL << 1000LL << none << true << true << false << QString();
    QTest::newRow("no time, smaller") << ep << 1000LL << 400LL << none << true << true << false << put;
    QTest::newRow("no time, bigger") << ep << 1000LL << 1500LL << none << true << true << false << put;
    QTest::newRow("playlist always") << QStringLiteral("playlist.xml") << 50LL << 50LL << 3600LL << true << true << false
                                     << QStringLiteral("put playlist.xml");
    QTest::newRow("feed always") << QStringLiteral("feed.xml") << 50LL << 50LL << 3600LL << true << true << false
                                 << QStringLiteral("put feed.xml");
    const qint64 day = 24 * 3600;
    QTest::newRow("LIST time, days newer") << ep << 1000LL << 1000LL << 2 * day << true << true << true << QString();
    QTest::newRow("LIST time, days older") << ep << 1000LL << 1000LL << -2 * day << true << true << true << put;
    QTest::newRow("LIST time, too close") << ep << 1000LL << 1000LL << 3600LL << true << true << true << QString();
    QTest::newRow("LIST time, cut days ago") << ep << 1000LL << 400LL << 2 * day << true << true << true
                                             << QStringLiteral("put ep.mp3 from 400");
    QTest::newRow("LIST time, smaller, too close") << ep << 1000LL << 400LL << 3600LL << true << true << true << put;
    QTest::newRow("choice off") << ep << 1000LL << 1000LL << 3600LL << false << true << false << put;
}

void TestPublishPlan::eachFileIsSentResumedOrLeft()
{
    QFETCH(QString, name);
    QFETCH(qint64, localSize);
    QFETCH(qint64, remoteSize);
    QFETCH(qint64, remoteSecondsAfter);
    QFETCH(bool, onlyChanged);
    QFETCH(bool, resumeOffered);
    QFETCH(bool, listed);
    QFETCH(QString, expected);

    const QList<File> files = PublishPlan::localFiles({QFileInfo(QStringLiteral("/show/") + name)}, QString(), QStringLiteral("/work"));
    QList<File> local{episode(name, localSize, files.first().kind)};
    QList<UrlInfo> remote{remoteFile(QStringLiteral("other.mp3"), 5, 0)};
    if (remoteSize >= 0)
        remote << remoteFile(name, remoteSize, remoteSecondsAfter, listed);
    const PublishPlan plan = PublishPlan::sendFiles(local, remote, {onlyChanged, resumeOffered, true});
    QCOMPARE(described(plan), expected.isEmpty() ? QStringList() : QStringList{expected});
    QCOMPARE(plan.upToDate, expected.isEmpty() ? 1 : 0);
    QCOMPARE(plan.commands.value(0).localPath, expected.isEmpty() ? QString() : QStringLiteral("/show/") + name);
}

void TestPublishPlan::timesAreAskedOnlyWhereTheyDecide_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("remoteSize");
    QTest::addColumn<qint64>("listedSecondsAfter");
    QTest::addColumn<bool>("resumeOffered");
    QTest::addColumn<bool>("asked");

    const QString ep = QStringLiteral("ep.mp3");
    QTest::newRow("same size") << ep << 1000LL << none << true << true;
    QTest::newRow("same size, LIST time close") << ep << 1000LL << -3600LL << true << true;
    QTest::newRow("same size, LIST time days newer") << ep << 1000LL << 3 * 24 * 3600LL << true << false;
    QTest::newRow("smaller, resumable") << ep << 400LL << none << true << true;
    QTest::newRow("smaller, not resumable") << ep << 400LL << none << false << false;
    QTest::newRow("bigger") << ep << 1500LL << none << true << false;
    QTest::newRow("empty") << ep << 0LL << none << true << false;
    // MDTM with such a name would set the file's time on vsftpd.
    QTest::newRow("name that sets a time") << QStringLiteral("20240131120000 ep.mp3") << 1000LL << none << true << false;
}

void TestPublishPlan::timesAreAskedOnlyWhereTheyDecide()
{
    QFETCH(QString, name);
    QFETCH(qint64, remoteSize);
    QFETCH(qint64, listedSecondsAfter);
    QFETCH(bool, resumeOffered);
    QFETCH(bool, asked);
    const QList<File> local{episode(name, 1000), episode(QStringLiteral("new.mp3"), 1000),
                            episode(QStringLiteral("playlist.xml"), 1000, File::Kind::Listing)};
    const QList<UrlInfo> remote{remoteFile(name, remoteSize, listedSecondsAfter, true),
                                remoteFile(QStringLiteral("playlist.xml"), 1000, none),
                                remoteFile(QStringLiteral("gone.mp3"), 1000, none)};
    QCOMPARE(PublishPlan::timesWanted(local, remote, {true, resumeOffered, true}),
             asked ? QStringList{name} : QStringList());
}

void TestPublishPlan::skippedFilesAreCountedInOneLine()
{
    const QList<File> local{episode(QStringLiteral("1.mp3"), 10), episode(QStringLiteral("2.mp3"), 10),
                            episode(QStringLiteral("3.mp3"), 10)};
    // Without times only sizes count, which the plan says first; files only on the server stay.
    const QList<UrlInfo> remote{remoteFile(QStringLiteral("1.mp3"), 10, none), remoteFile(QStringLiteral("2.mp3"), 10, none),
                                remoteFile(QStringLiteral("3.mp3"), 4, none), remoteFile(QStringLiteral("old.mp3"), 4, none)};
    const PublishPlan plan = PublishPlan::sendFiles(local, remote, {true, true, false});
    QCOMPARE(described(plan), QStringList{QStringLiteral("put 3.mp3")});
    QCOMPARE(texts(plan),
             (QStringList{
                 QStringLiteral("Le serveur ne donne pas l'heure des fichiers : seules les tailles sont comparées."),
                 QStringLiteral("<b>3.mp3</b> mis en file d'attente."),
                 QStringLiteral("2 fichier(s) déjà à jour sur le serveur."),
                 QStringLiteral("Le dossier \"MP3\" a été créé sur le serveur le cas échéant. La playlist et les mp3 y seront déposés."),
             }));
}

QTEST_GUILESS_MAIN(TestPublishPlan)
#include "tst_publishplan.moc"
