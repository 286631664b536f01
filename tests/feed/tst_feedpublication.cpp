#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QtTest>

#include "feed/publication.h"
#include "tests/feed/feedkit.h"
#include "tests/kit/testkit.h"

// feed.xml written into an episode folder, with the details and identities kept beside it.
class TestFeedPublication : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutAValidAddressNothingIsWritten_data();
    void withoutAValidAddressNothingIsWritten();
    void episodesKeepTheirIdentity();
    void missingFieldsAreNamed_data();
    void missingFieldsAreNamed();
    void detailsAreWrittenWholeOrNotAtAll();
    void episodesBringTheirChaptersAndTranscripts_data();
    void episodesBringTheirChaptersAndTranscripts();
};

namespace {

const QString address = QStringLiteral("https://example.com/podcast/MP3/");

QFileInfoList listing(const QString &folder)
{
    return QDir(folder, QStringLiteral("*"), QDir::Name, QDir::Files).entryInfoList();
}

feed::ShowDetails complete()
{
    feed::ShowDetails show;
    show.publicAddress = address;
    show.title = QStringLiteral("Titre");
    show.description = QStringLiteral("Description");
    show.ownerEmail = QStringLiteral("moi@example.com");
    show.category = QStringLiteral("Arts");
    show.subcategory = QStringLiteral("Books");
    show.coverImage = QStringLiteral("cover.png");
    show.explicitContent = feed::Explicit::No;
    return show;
}

} // namespace

void TestFeedPublication::withoutAValidAddressNothingIsWritten_data()
{
    QTest::addColumn<QString>("publicAddress");
    QTest::addColumn<int>("problems");
    QTest::newRow("none") << QString() << 0;
    QTest::newRow("ftp") << QStringLiteral("ftp://example.com/MP3/") << 1;
    QTest::newRow("no scheme") << QStringLiteral("example.com/MP3/") << 1;
}

void TestFeedPublication::withoutAValidAddressNothingIsWritten()
{
    QFETCH(QString, publicAddress);
    const testkit::WorkDir dir;
    QVERIFY(feedkit::makeMp3(dir.filePath(QStringLiteral("a.mp3")), 1));
    feed::ShowDetails show = complete();
    show.publicAddress = publicAddress;
    QVERIFY(feed::writeShowDetails(dir.path(), show));
    const QByteArray details = testkit::readFile(dir.filePath(QStringLiteral("feed.ini")));

    const feed::FeedOutcome outcome = feed::writeFeed(dir.path(), listing(dir.path()), QDateTime::currentDateTimeUtc());
    QVERIFY(outcome.status != feed::FeedOutcome::Status::Written);
    QTEST(int(outcome.problems.size()), "problems");
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("feed.xml"))));
    QCOMPARE(testkit::readFile(dir.filePath(QStringLiteral("feed.ini"))), details);
}

void TestFeedPublication::episodesKeepTheirIdentity()
{
    const testkit::WorkDir dir;
    const auto file = [&](const char *name) { return dir.filePath(QString::fromUtf8(name)); };
    QVERIFY(feedkit::makeMp3(file("tagged.mp3"), 2,
                             {QStringLiteral("--tt"), QStringLiteral("Du tag"), QStringLiteral("--tv"), QStringLiteral("TDRC=2020-05-04")}));
    QVERIFY(feedkit::makeMp3(file("R&D #1 100% é.mp3"), 4));
    QVERIFY(testkit::writeFile(file("empty.mp3"), QByteArray()));
    QVERIFY(feedkit::makeMp3(file("line\nbreak.mp3"), 1)); // never sent: no FTP command can carry its name
    QVERIFY(feed::writeShowDetails(dir.path(), complete()));

    // Each generation parsed: titles, then guids and dates by enclosure address.
    struct Seen
    {
        QStringList titles;
        QMap<QString, QPair<QString, qint64>> identities;
    };
    const auto generate = [&]() -> Seen {
        const feed::FeedOutcome outcome = feed::writeFeed(dir.path(), listing(dir.path()), QDateTime::currentDateTimeUtc());
        if (outcome.status != feed::FeedOutcome::Status::Written || outcome.address != address + QStringLiteral("feed.xml"))
            return {};
        const QJsonObject read = feedkit::readFeed(file("feed.xml"), outcome.address);
        if (!read[QStringLiteral("bozo")].toString().isEmpty())
            return {};
        Seen seen;
        for (const QJsonValue value : read[QStringLiteral("episodes")].toArray()) {
            const QJsonObject episode = value.toObject();
            const QString name = QUrl::fromPercentEncoding(episode[QStringLiteral("url")].toString().mid(address.size()).toUtf8());
            if (episode[QStringLiteral("length")].toInteger() != QFileInfo(file(name.toUtf8())).size()
                || qAbs(episode[QStringLiteral("seconds")].toInt() - (name == QStringLiteral("tagged.mp3") ? 2 : 4)) > 1)
                return {};
            seen.titles << episode[QStringLiteral("title")].toString();
            seen.identities.insert(name, {episode[QStringLiteral("guid")].toString(), episode[QStringLiteral("published")].toInteger()});
        }
        return seen;
    };

    const Seen first = generate();
    // The untagged episode's date is its file's, later than the tag's 2020: newest first.
    QCOMPARE(first.titles, (QStringList{QStringLiteral("R&D #1 100% é"), QStringLiteral("Du tag")}));
    QCOMPARE(first.identities.value(QStringLiteral("tagged.mp3")).second,
             QDateTime(QDate(2020, 5, 4), QTime(12, 0), Qt::UTC).toSecsSinceEpoch());
    QVERIFY(first.identities.first().first != first.identities.last().first);

    // Touched, re-tagged files and a new episode: the known ones keep their guid and date.
    const QDateTime later = QDateTime::currentDateTime().addDays(3);
    for (const char *name : {"tagged.mp3", "R&D #1 100% é.mp3"}) {
        QFile touched(file(name));
        QVERIFY(touched.open(QIODevice::ReadWrite) && touched.setFileTime(later, QFileDevice::FileModificationTime));
    }
    QVERIFY(feedkit::makeMp3(file("tagged.mp3"), 2, {QStringLiteral("--tv"), QStringLiteral("TDRC=2023-01-01")}));
    QVERIFY(feedkit::makeMp3(file("new.mp3"), 4));
    QVERIFY(QFile::remove(file("R&D #1 100% é.mp3")));
    const Seen second = generate();
    QCOMPARE(second.identities.size(), 2);
    QCOMPARE(second.identities.value(QStringLiteral("tagged.mp3")), first.identities.value(QStringLiteral("tagged.mp3")));
    QCOMPARE(second.titles.first(), QStringLiteral("new"));
}

void TestFeedPublication::missingFieldsAreNamed_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("problem");
    QTest::newRow("complete") << QString() << QString() << QString();
    QTest::newRow("title") << QStringLiteral("title") << QStringLiteral(" ") << QStringLiteral("le titre manque");
    QTest::newRow("description") << QStringLiteral("description") << QString() << QStringLiteral("la description manque");
    QTest::newRow("e-mail") << QStringLiteral("ownerEmail") << QString() << QStringLiteral("propriétaire manque");
    QTest::newRow("bad e-mail") << QStringLiteral("ownerEmail") << QStringLiteral("moi@") << QStringLiteral("n'est pas valide");
    QTest::newRow("category") << QStringLiteral("category") << QString() << QStringLiteral("la catégorie manque");
    QTest::newRow("foreign subcategory") << QStringLiteral("subcategory") << QStringLiteral("Golf") << QStringLiteral("liste d'Apple");
    QTest::newRow("no cover") << QStringLiteral("coverImage") << QString() << QStringLiteral("couverture manque");
    QTest::newRow("cover not found") << QStringLiteral("coverImage") << QStringLiteral("gone.png") << QStringLiteral("introuvable");
    QTest::newRow("cover not square") << QStringLiteral("coverImage") << QStringLiteral("wide.png") << QStringLiteral("1500 × 1400");
    QTest::newRow("cover too small") << QStringLiteral("coverImage") << QStringLiteral("small.png") << QStringLiteral("1000 × 1000");
    QTest::newRow("cover in GIF") << QStringLiteral("coverImage") << QStringLiteral("cover.gif") << QStringLiteral("JPEG ou PNG");
    QTest::newRow("explicit") << QStringLiteral("explicit") << QString() << QStringLiteral("explicite");
}

void TestFeedPublication::missingFieldsAreNamed()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, problem);
    const testkit::WorkDir dir;
    const QList<std::pair<const char *, QSize>> images{
        {"cover.png", {1400, 1400}}, {"wide.png", {1500, 1400}}, {"small.png", {1000, 1000}}, {"cover.gif", {1400, 1400}}};
    for (const auto &[name, size] : images) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        QVERIFY(image.save(dir.filePath(QString::fromUtf8(name))) || QByteArray(name).endsWith(".gif"));
    }
    // Qt writes no GIF: a GIF header alone is enough for the check.
    QVERIFY(testkit::writeFile(dir.filePath(QStringLiteral("cover.gif")), QByteArray("GIF89a\x78\x05\x78\x05\x00\x00\x00;", 14)));

    feed::ShowDetails show = complete();
    QHash<QString, QString *> texts{{QStringLiteral("title"), &show.title}, {QStringLiteral("description"), &show.description},
                                    {QStringLiteral("ownerEmail"), &show.ownerEmail}, {QStringLiteral("category"), &show.category},
                                    {QStringLiteral("subcategory"), &show.subcategory}, {QStringLiteral("coverImage"), &show.coverImage}};
    if (field == QStringLiteral("explicit"))
        show.explicitContent = feed::Explicit::Unset;
    else if (!field.isEmpty())
        *texts.value(field) = value;

    const QStringList problems = feed::feedProblems(show, dir.path());
    QCOMPARE(problems.size(), problem.isEmpty() ? 0 : 1);
    if (!problem.isEmpty())
        QVERIFY2(problems.first().contains(problem), qPrintable(problems.first()));
}

void TestFeedPublication::detailsAreWrittenWholeOrNotAtAll()
{
    const testkit::WorkDir dir;
    feed::ShowDetails show = complete();
    show.description = QStringLiteral("Deux lignes,\n« guillemets » ; = & #");
    show.identities.insert(QStringLiteral("a=b; [c] é.mp3"),
                           {QStringLiteral("guid"), QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC)});
    QVERIFY(feed::writeShowDetails(dir.path(), show));
    const feed::ShowDetails read = feed::readShowDetails(dir.path());
    QCOMPARE(read.description, show.description);
    QCOMPARE(read.explicitContent, feed::Explicit::No);
    QCOMPARE(read.identities.keys(), show.identities.keys());
    QCOMPARE(read.identities.begin()->published, show.identities.begin()->published);
    QVERIFY(!read.locked);
    show.locked = true;
    show.fundingUrl = QStringLiteral("https://example.com/don");
    show.fundingText = QStringLiteral("Un café ; merci");
    show.people = feed::parsePeople(QStringLiteral("Léa Martin\n  \nMax (Guest)\nA (b) (Cohost)"));
    QCOMPARE(show.people, (QList<feed::Person>{{QStringLiteral("Léa Martin"), QStringLiteral("host")},
                                               {QStringLiteral("Max"), QStringLiteral("guest")},
                                               {QStringLiteral("A (b)"), QStringLiteral("cohost")}}));
    QVERIFY(feed::writeShowDetails(dir.path(), show));
    const feed::ShowDetails again = feed::readShowDetails(dir.path());
    QVERIFY(again.locked);
    QCOMPARE(again.fundingText, show.fundingText);
    QCOMPARE(again.people, show.people);
    QCOMPARE(feed::parsePeople(feed::peopleText(again.people)), show.people);

    // A folder in the file's place: the write fails and says so.
    const testkit::WorkDir other;
    QVERIFY(QDir(other.path()).mkdir(QStringLiteral("feed.ini")));
    QVERIFY(!feed::writeShowDetails(other.path(), show));
}

void TestFeedPublication::episodesBringTheirChaptersAndTranscripts_data()
{
    QTest::addColumn<bool>("tagChapters");
    QTest::addColumn<QByteArray>("ownChapters"); // beside the episode; empty: none
    QTest::addColumn<QString>("transcript");     // its name; empty: none
    QTest::addColumn<QByteArray>("transcriptContent");
    QTest::addColumn<QStringList>("companions"); // sent after the episode
    QTest::addColumn<QStringList>("chapterTitles");
    QTest::addColumn<QString>("transcriptType");
    QTest::addColumn<int>("problems");
    const QStringList fromTags{QStringLiteral("Un"), QStringLiteral("Deux")};
    const QByteArray own(R"({"version":"1.2.0","chapters":[{"startTime":0,"title":"Mien"}]})");
    const QByteArray vtt("WEBVTT\n\n00:00.000 --> 00:01.000\nBonjour\n");
    QTest::newRow("from the tags") << true << QByteArray() << QString() << QByteArray()
                                   << QStringList{QStringLiteral("chapters/ep 1.chapters.json")} << fromTags << QString() << 0;
    QTest::newRow("own file first") << true << own << QString() << QByteArray()
                                    << QStringList{QStringLiteral("ep 1.chapters.json")} << QStringList{QStringLiteral("Mien")} << QString() << 0;
    QTest::newRow("broken own file") << true << QByteArray("{\"chapters\": [") << QString() << QByteArray()
                                     << QStringList{QStringLiteral("chapters/ep 1.chapters.json")} << fromTags << QString() << 1;
    QTest::newRow("vtt") << false << QByteArray() << QStringLiteral("ep 1.vtt") << vtt << QStringList{QStringLiteral("ep 1.vtt")}
                         << QStringList() << QStringLiteral("text/vtt") << 0;
    QTest::newRow("chapters and srt") << true << QByteArray() << QStringLiteral("ep 1.srt")
                                      << QByteArray("1\n00:00:00,000 --> 00:00:01,000\nBonjour\n")
                                      << QStringList{QStringLiteral("chapters/ep 1.chapters.json"), QStringLiteral("ep 1.srt")} << fromTags
                                      << QStringLiteral("application/x-subrip") << 0;
    QTest::newRow("bad srt left out") << false << QByteArray() << QStringLiteral("ep 1.srt") << vtt << QStringList() << QStringList()
                                      << QString() << 1;
}

void TestFeedPublication::episodesBringTheirChaptersAndTranscripts()
{
    QFETCH(bool, tagChapters);
    QFETCH(QByteArray, ownChapters);
    QFETCH(QString, transcript);
    QFETCH(QByteArray, transcriptContent);
    QFETCH(QStringList, companions);
    QFETCH(QStringList, chapterTitles);
    QFETCH(QString, transcriptType);
    QFETCH(int, problems);
    const testkit::WorkDir dir;
    const QString episode = dir.filePath(QStringLiteral("ep 1.mp3"));
    QVERIFY(feedkit::makeMp3(episode, 2));
    if (tagChapters) {
        QVERIFY(feedkit::writeChapters(episode, feedkit::secondChapters({QStringLiteral("Un"), QStringLiteral("Deux")})));
    }
    if (!ownChapters.isEmpty())
        QVERIFY(testkit::writeFile(dir.filePath(QStringLiteral("ep 1.chapters.json")), ownChapters));
    if (!transcript.isEmpty())
        QVERIFY(testkit::writeFile(dir.filePath(transcript), transcriptContent));
    feed::ShowDetails show = complete();
    show.language = QStringLiteral("fr");
    QVERIFY(feed::writeShowDetails(dir.path(), show));

    const feed::FeedOutcome outcome = feed::writeFeed(dir.path(), listing(dir.path()), QDateTime::currentDateTimeUtc());
    QCOMPARE(outcome.status, feed::FeedOutcome::Status::Written);
    QStringList sent;
    for (const QString &path : outcome.companions.value(QStringLiteral("ep 1.mp3")))
        sent << QDir(dir.path()).relativeFilePath(path);
    QCOMPARE(sent, companions);
    const QStringList named = outcome.problems.filter(QStringLiteral("ep 1."));
    QCOMPARE(int(named.size()), problems);

    const QJsonObject read = feedkit::readFeed(dir.filePath(QStringLiteral("feed.xml")), outcome.address);
    QStringList titles;
    for (const QJsonValue chapter : read[QStringLiteral("episodes")][0][QStringLiteral("chapters")].toArray())
        titles << chapter[QStringLiteral("title")].toString();
    QCOMPARE(titles, chapterTitles);
    const QJsonObject item = read[QStringLiteral("podcast")][QStringLiteral("items")][0].toObject();
    QCOMPARE(item[QStringLiteral("chapters")][QStringLiteral("url")].toString(),
             chapterTitles.isEmpty() ? QString() : address + QStringLiteral("ep%201.chapters.json"));
    QCOMPARE(item[QStringLiteral("transcript")][QStringLiteral("type")].toString(), transcriptType);

    // Written again unchanged, the files keep their time: the sync leaves them on the server.
    const QDateTime before = QDateTime::currentDateTime().addDays(-1);
    for (const QString &name : std::as_const(companions)) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(before, QFileDevice::FileModificationTime));
    }
    QCOMPARE(feed::writeFeed(dir.path(), listing(dir.path()), QDateTime::currentDateTimeUtc()).companions, outcome.companions);
    for (const QString &name : std::as_const(companions))
        QCOMPARE(QFileInfo(dir.filePath(name)).lastModified(), before);
}

QTEST_MAIN(TestFeedPublication)
#include "tst_feedpublication.moc"
