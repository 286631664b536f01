#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

#include "feed/feeddocument.h"
#include "tests/feed/feedkit.h"
#include "tests/kit/testkit.h"

// The feed document built from data, read back by two podcast clients' parsers.
class TestFeedDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void podcastGuidIsTheUuidV5OfTheAddressWithoutScheme_data();
    void podcastGuidIsTheUuidV5OfTheAddressWithoutScheme();
    void parsersReadTheChannelAndEveryItem();
};

void TestFeedDocument::podcastGuidIsTheUuidV5OfTheAddressWithoutScheme_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("guid");
    const QString podnews = QStringLiteral("9b024349-ccf0-5f69-a609-6b82873eab3c");
    QTest::newRow("https") << QStringLiteral("https://podnews.net/rss") << podnews;
    QTest::newRow("http, trailing slashes") << QStringLiteral("http://podnews.net/rss//") << podnews;
    QTest::newRow("no scheme") << QStringLiteral("podnews.net/rss") << podnews;
    QTest::newRow("another feed") << QStringLiteral("https://podnews.net/rss.xml")
                                  << QStringLiteral("047570cc-d168-511e-b1e9-336ca79be828");
}

void TestFeedDocument::podcastGuidIsTheUuidV5OfTheAddressWithoutScheme()
{
    QFETCH(QString, address);
    QFETCH(QString, guid);
    QCOMPARE(feed::podcastGuid(address).toString(QUuid::WithoutBraces), guid);
}

void TestFeedDocument::parsersReadTheChannelAndEveryItem()
{
    feed::ShowDetails show;
    show.publicAddress = QStringLiteral("https://example.com/mon podcast/MP3");
    show.title = QStringLiteral("Le <b>show</b> & co") + QChar(0x1) + QStringLiteral(" é");
    show.description = QStringLiteral("Une émission.");
    show.ownerEmail = QStringLiteral("moi@example.com");
    show.category = QStringLiteral("Society & Culture");
    show.subcategory = QStringLiteral("Places & Travel");
    show.coverImage = QStringLiteral("cover art.jpg");
    show.explicitContent = feed::Explicit::No;
    const QDateTime day(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC);
    show.language = QStringLiteral("fr");
    show.locked = true;
    show.fundingUrl = QStringLiteral("https://example.com/don?a=1&b=2");
    show.fundingText = QStringLiteral("Soutenez & co");
    show.people = {{QStringLiteral("Léa"), QStringLiteral("host")}, {QStringLiteral("Max"), QStringLiteral("guest")}};
    const QList<feed::Chapter> chapters{{0, QStringLiteral("Début & fin"), QString()},
                                        {3'723'456, QStringLiteral("Après une heure"), QStringLiteral("https://example.com/?x=1&y=2")}};
    const QList<feed::FeedItem> items{
        {QStringLiteral("R&D #1 100%.mp3"), QStringLiteral("R&D #1"), QStringLiteral("Tab\there") + QChar(0xD800),
         1234, 65'400, 3, 2, {QStringLiteral("guid-1"), day.addDays(1)}, chapters, QStringLiteral("R&D #1 100%.chapters.json"),
         QStringLiteral("R&D #1 100%.vtt"), QStringLiteral("text/vtt")},
        {QStringLiteral("Épisode été.mp3"), QStringLiteral("Épisode été"), QString(), 99, 0, 0, 0,
         {QStringLiteral("guid-2"), day}, {}, {}, {}, {}},
    };
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("feed.xml"));
    QVERIFY(testkit::writeFile(path, feed::feedDocument(show, items, day, QStringLiteral("Tessaly"))));

    const QString folder = QStringLiteral("https://example.com/mon%20podcast/MP3/");
    const QJsonObject read = feedkit::readFeed(path, folder + QStringLiteral("feed.xml"));
    QCOMPARE(read[QStringLiteral("bozo")].toString(), QString());
    const QJsonObject channel = read[QStringLiteral("channel")].toObject();
    QCOMPARE(channel[QStringLiteral("title")].toString(), QStringLiteral("Le <b>show</b> & co é"));
    QCOMPARE(channel[QStringLiteral("category")].toArray(),
             (QJsonArray{QStringLiteral("Society & Culture"), QStringLiteral("Places & Travel")}));
    QCOMPARE(channel[QStringLiteral("ownerEmail")].toString(), show.ownerEmail);
    QCOMPARE(channel[QStringLiteral("cover")].toString(), folder + QStringLiteral("cover%20art.jpg"));
    QCOMPARE(channel[QStringLiteral("podcastGuid")].toString(),
             feed::podcastGuid(folder + QStringLiteral("feed.xml")).toString(QUuid::WithoutBraces));

    const QJsonArray fromFeedparser = read[QStringLiteral("items")].toArray();
    const QJsonArray fromPodcastparser = read[QStringLiteral("episodes")].toArray();
    QCOMPARE(fromFeedparser.size(), items.size());
    QCOMPARE(fromPodcastparser.size(), items.size());
    const QStringList urls{folder + QStringLiteral("R%26D%20%231%20100%25.mp3"),
                           folder + QStringLiteral("%C3%89pisode%20%C3%A9t%C3%A9.mp3")};
    for (int i = 0; i < items.size(); ++i) {
        const QJsonObject fp = fromFeedparser[i].toObject();
        const QJsonObject pp = fromPodcastparser[i].toObject();
        for (const QJsonObject &parsed : {fp, pp}) {
            QCOMPARE(parsed[QStringLiteral("title")].toString(), items[i].title);
            QCOMPARE(parsed[QStringLiteral("guid")].toString(), items[i].identity.guid);
            QCOMPARE(parsed[QStringLiteral("url")].toString(), urls[i]);
            QCOMPARE(parsed[QStringLiteral("length")].toInteger(), items[i].size);
            QCOMPARE(parsed[QStringLiteral("published")].toInteger(), items[i].identity.published.toSecsSinceEpoch());
        }
        QCOMPARE(pp[QStringLiteral("seconds")].toInteger(), (items[i].durationMs + 500) / 1000);
        QCOMPARE(pp[QStringLiteral("number")].toInt(), items[i].episode);
        QCOMPARE(pp[QStringLiteral("season")].toInt(), items[i].season);
        // Podlove Simple Chapters as gPodder reads them, to the second.
        const QJsonArray readChapters = pp[QStringLiteral("chapters")].toArray();
        QCOMPARE(readChapters.size(), items[i].chapters.size());
        for (int c = 0; c < readChapters.size(); ++c) {
            const QJsonObject chapter = readChapters[c].toObject();
            QCOMPARE(qint64(chapter[QStringLiteral("start")].toDouble()), items[i].chapters[c].startMs / 1000);
            QCOMPARE(chapter[QStringLiteral("title")].toString(), items[i].chapters[c].title);
            QCOMPARE(chapter[QStringLiteral("href")].toString(), items[i].chapters[c].url);
        }
    }

    const QJsonObject podcast = read[QStringLiteral("podcast")].toObject();
    QCOMPARE(podcast[QStringLiteral("locked")].toObject(),
             (QJsonObject{{QStringLiteral("owner"), show.ownerEmail}, {QStringLiteral("text"), QStringLiteral("yes")}}));
    QCOMPARE(podcast[QStringLiteral("funding")].toObject(),
             (QJsonObject{{QStringLiteral("url"), show.fundingUrl}, {QStringLiteral("text"), show.fundingText}}));
    QCOMPARE(podcast[QStringLiteral("people")].toArray(),
             (QJsonArray{QJsonObject{{QStringLiteral("role"), QStringLiteral("host")}, {QStringLiteral("name"), QStringLiteral("Léa")}},
                         QJsonObject{{QStringLiteral("role"), QStringLiteral("guest")}, {QStringLiteral("name"), QStringLiteral("Max")}}}));
    const QJsonArray podcastItems = podcast[QStringLiteral("items")].toArray();
    const QJsonObject first = podcastItems[0].toObject();
    QCOMPARE(first[QStringLiteral("chapters")].toObject(),
             (QJsonObject{{QStringLiteral("url"), folder + QStringLiteral("R%26D%20%231%20100%25.chapters.json")},
                          {QStringLiteral("type"), QStringLiteral("application/json+chapters")},
                          {QStringLiteral("text"), QString()}}));
    QCOMPARE(first[QStringLiteral("transcript")].toObject(),
             (QJsonObject{{QStringLiteral("url"), folder + QStringLiteral("R%26D%20%231%20100%25.vtt")},
                          {QStringLiteral("type"), QStringLiteral("text/vtt")}, {QStringLiteral("language"), QStringLiteral("fr")},
                          {QStringLiteral("rel"), QStringLiteral("captions")}, {QStringLiteral("text"), QString()}}));
    QCOMPARE(first[QStringLiteral("season")].toString(), QStringLiteral("2"));
    QCOMPARE(first[QStringLiteral("episode")].toString(), QStringLiteral("3"));
    // Nothing of the kind for an episode without them.
    const QJsonObject second = podcastItems[1].toObject();
    QVERIFY(second[QStringLiteral("chapters")].toObject().isEmpty() && second[QStringLiteral("transcript")].toObject().isEmpty());
    QCOMPARE(second[QStringLiteral("episode")].toString(), QString());
}

QTEST_GUILESS_MAIN(TestFeedDocument)
#include "tst_feeddocument.moc"
