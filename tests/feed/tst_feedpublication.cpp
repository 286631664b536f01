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

    // A folder in the file's place: the write fails and says so.
    const testkit::WorkDir other;
    QVERIFY(QDir(other.path()).mkdir(QStringLiteral("feed.ini")));
    QVERIFY(!feed::writeShowDetails(other.path(), show));
}

QTEST_MAIN(TestFeedPublication)
#include "tst_feedpublication.moc"
