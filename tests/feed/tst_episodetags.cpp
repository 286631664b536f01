#include <QtTest>

#include "feed/episodetags.h"
#include "tests/feed/feedkit.h"
#include "tests/kit/testkit.h"

// Episode data from the files' tags, on MP3 files made by lame, whole, cut short or broken.
class TestEpisodeTags : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tagsGiveWhatTheyHold_data();
    void tagsGiveWhatTheyHold();
    void onlyFullDatesAndPlainNumbersCount_data();
    void onlyFullDatesAndPlainNumbersCount();
};

enum class Cut { None, TagOnly, Half, Garbage };

void TestEpisodeTags::tagsGiveWhatTheyHold_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<Cut>("cut");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("episode");
    QTest::addColumn<int>("season");
    QTest::addColumn<QDateTime>("released");
    QTest::addColumn<int>("seconds"); // -1: any, the body is cut short

    const QStringList full{QStringLiteral("--tt"), QStringLiteral("Été à Paris"), QStringLiteral("--tc"),
                           QStringLiteral("Un commentaire"), QStringLiteral("--tn"), QStringLiteral("7"),
                           QStringLiteral("--tv"), QStringLiteral("TPOS=2"), QStringLiteral("--tv"),
                           QStringLiteral("TDRC=2024-03-01")};
    const QDateTime noon(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC);
    QTest::newRow("every tag") << full << Cut::None << QStringLiteral("Été à Paris") << QStringLiteral("Un commentaire")
                               << 7 << 2 << noon << 3;
    QTest::newRow("subtitle, track of a total, year alone")
        << QStringList{QStringLiteral("--tv"), QStringLiteral("TIT3=Sous-titre"), QStringLiteral("--tn"),
                       QStringLiteral("4/12"), QStringLiteral("--ty"), QStringLiteral("2024")}
        << Cut::None << QString() << QStringLiteral("Sous-titre") << 4 << 0 << QDateTime() << 3;
    QTest::newRow("untagged") << QStringList() << Cut::None << QString() << QString() << 0 << 0 << QDateTime() << 3;
    QTest::newRow("tag only") << full << Cut::TagOnly << QStringLiteral("Été à Paris") << QStringLiteral("Un commentaire")
                              << 7 << 2 << noon << 0;
    QTest::newRow("truncated") << full << Cut::Half << QStringLiteral("Été à Paris") << QStringLiteral("Un commentaire")
                               << 7 << 2 << noon << -1;
    QTest::newRow("broken tag") << full << Cut::Garbage << QString() << QString() << 0 << 0 << QDateTime() << -1;
}

void TestEpisodeTags::tagsGiveWhatTheyHold()
{
    QFETCH(QStringList, options);
    QFETCH(Cut, cut);
    const testkit::WorkDir dir;
    const QString path = dir.filePath(QStringLiteral("episode.mp3"));
    QVERIFY(feedkit::makeMp3(path, 3, options));
    QByteArray bytes = testkit::readFile(path);
    // An ID3v2 tag's size is in its header, seven bits a byte.
    const auto tagSize = [&] { return 10 + ((bytes[6] << 21) | (bytes[7] << 14) | (bytes[8] << 7) | bytes[9]); };
    if (cut == Cut::TagOnly)
        bytes.truncate(tagSize());
    else if (cut == Cut::Half)
        bytes.truncate(tagSize() + (bytes.size() - tagSize()) / 2);
    else if (cut == Cut::Garbage)
        bytes.replace(6, 4, "\x7f\x7f\x7f\x7f").replace(10, 40, QByteArray(40, '\xff'));
    QVERIFY(testkit::writeFile(path, bytes));

    const feed::EpisodeTags tags = feed::readEpisodeTags(path);
    QTEST(tags.title, "title");
    QTEST(tags.description, "description");
    QTEST(tags.episode, "episode");
    QTEST(tags.season, "season");
    QTEST(tags.released, "released");
    QFETCH(int, seconds);
    if (seconds >= 0)
        QVERIFY2(qAbs(tags.durationMs - seconds * 1000) < 1000, qPrintable(QString::number(tags.durationMs)));
}

void TestEpisodeTags::onlyFullDatesAndPlainNumbersCount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("date");
    QTest::addColumn<int>("number");
    const QDate day(2024, 3, 1);
    QTest::newRow("date") << QStringLiteral("2024-03-01") << QDateTime(day, QTime(12, 0), Qt::UTC) << 0;
    QTest::newRow("date and time") << QStringLiteral("2024-03-01T08:30") << QDateTime(day, QTime(8, 30), Qt::UTC) << 0;
    QTest::newRow("seconds too") << QStringLiteral("2024-03-01T08:30:15") << QDateTime(day, QTime(8, 30, 15), Qt::UTC) << 0;
    QTest::newRow("month alone") << QStringLiteral("2024-03") << QDateTime() << 0;
    QTest::newRow("no such day") << QStringLiteral("2024-02-30") << QDateTime() << 0;
    QTest::newRow("number") << QStringLiteral(" 012 ") << QDateTime() << 12;
    QTest::newRow("of a total") << QStringLiteral("4/12") << QDateTime() << 4;
    QTest::newRow("words") << QStringLiteral("Episode 4") << QDateTime() << 0;
    QTest::newRow("negative") << QStringLiteral("-4") << QDateTime() << 0;
    QTest::newRow("too large") << QStringLiteral("99999999999") << QDateTime() << 0;
}

void TestEpisodeTags::onlyFullDatesAndPlainNumbersCount()
{
    QFETCH(QString, text);
    QTEST(feed::fullDate(text), "date");
    QTEST(feed::plainNumber(text), "number");
}

QTEST_GUILESS_MAIN(TestEpisodeTags)
#include "tst_episodetags.moc"
