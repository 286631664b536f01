#include <memory>

#include <QDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

#include "golden.h"
#include "playlist/playlistfiles.h"
#include "playlist/snippets.h"
#include "tests/kit/testkit.h"

static EpisodeList episodesNamed(const QStringList &fileNames)
{
    EpisodeList episodes;
    for (const QString &name : fileNames)
        episodes.append({name, name.chopped(4), QDateTime()});
    return episodes;
}

static QString fromLink(const QString &link)
{
    return QUrl::fromPercentEncoding(link.toUtf8());
}

class tst_Snippets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_workDir = std::make_unique<testkit::WorkDir>(); }
    void cleanup() { m_workDir.reset(); }

    void playerTextsMatchGolden_data();
    void playerTextsMatchGolden();
    void unusualNamesSurviveEveryPlayer_data();
    void unusualNamesSurviveEveryPlayer();
    void playlistFileContent_data();
    void playlistFileContent();
    void savedFileIsUtf8AsGivenAndReplacesTheOld();
    void failedSaveLeavesNothingBehind();

private:
    std::unique_ptr<testkit::WorkDir> m_workDir;
};

void tst_Snippets::playerTextsMatchGolden_data()
{
    QTest::addColumn<QString>("player");
    QTest::addColumn<QStringList>("fileNames");
    QTest::addColumn<QString>("goldenName");

    const QList<std::pair<const char *, QStringList>> sets{
        {"none", {}},
        {"one", {"a.mp3"}},
        {"two", {"ep-1_pilot.v2.mp3", "b.mp3"}},
        {"special", {"Tom & \"Jerry\" <live>.mp3", " intro.mp3", "Show.MP3", "été|1.mp3"}},
    };
    const QList<std::pair<QLatin1StringView, const char *>> players{
        {playlist::dewPlayer, "xspf"}, {playlist::mp3Player, "multi"}, {playlist::html5Player, "html5"}};
    for (const auto &[player, prefix] : players) {
        for (const auto &[set, names] : sets) {
            const QString golden = QString::fromLatin1(prefix) + u'-' + QString::fromLatin1(set);
            QTest::newRow(qPrintable(golden)) << QString(player) << names << golden + ".txt";
        }
    }
}

void tst_Snippets::playerTextsMatchGolden()
{
    QFETCH(QString, player);
    QFETCH(QStringList, fileNames);
    QFETCH(QString, goldenName);

    QCOMPARE(playlist::buildPlaylist(player, episodesNamed(fileNames)), golden(goldenName));
}

void tst_Snippets::unusualNamesSurviveEveryPlayer_data()
{
    QTest::addColumn<QStringList>("fileNames");

    QTest::newRow("markup") << QStringList{"Tom & \"Jerry\" <live>.mp3", "<b>it's</b>.mp3"};
    QTest::newRow("separators") << QStringList{"a|b&c=d.mp3", "x;y#z?.mp3"};
    QTest::newRow("spaces") << QStringList{" intro.mp3", "outro .mp3", "two  spaces.mp3"};
    QTest::newRow("percent and plus") << QStringList{"100% sure+.mp3", "%41.mp3"};
    QTest::newRow("accents") << QStringList{"été.mp3", "Señor Ñandú.MP3"};
}

// Each player must hand back the exact file names and titles to whatever reads it: an XML parser
// for the XSPF document and the HTML5 list, a FlashVars decoder for the multi-player.
void tst_Snippets::unusualNamesSurviveEveryPlayer()
{
    QFETCH(QStringList, fileNames);
    const EpisodeList episodes = episodesNamed(fileNames);
    QStringList links;
    QStringList titles;
    for (const Episode &episode : episodes) {
        links << "MP3/" + episode.fileName;
        titles << episode.title;
    }

    // Besides the episodes the document holds its own title and the closing track.
    QXmlStreamReader xspf(playlist::xspfDocument(episodes));
    QStringList xspfLinks;
    QStringList xspfTitles;
    while (!xspf.atEnd()) {
        xspf.readNext();
        if (xspf.isStartElement() && xspf.name() == u"location")
            xspfLinks << fromLink(xspf.readElementText().trimmed());
        else if (xspf.isStartElement() && xspf.name() == u"title")
            xspfTitles << xspf.readElementText();
    }
    QVERIFY2(!xspf.hasError(), qPrintable(xspf.errorString()));
    QCOMPARE(xspfLinks, links + QStringList{"MP3/fin de playlist"});
    QCOMPARE(xspfTitles, QStringList{"Playlist"} + titles + QStringList{"fin de playlist"});

    const QString page = playlist::html5PlayerPage(episodes);
    QXmlStreamReader html(page.mid(page.indexOf(u"<figure>")));
    QStringList htmlLinks;
    QStringList htmlTitles;
    QString source;
    while (!html.atEnd()) {
        html.readNext();
        if (html.isStartElement() && html.name() == u"audio")
            source = fromLink(html.attributes().value(QLatin1StringView("src")).toString());
        if (html.isStartElement() && html.name() == u"a") {
            htmlLinks << fromLink(html.attributes().value(QLatin1StringView("href")).toString());
            htmlTitles << html.readElementText();
        }
    }
    QVERIFY2(!html.hasError(), qPrintable(html.errorString()));
    QCOMPARE(source, links.first());
    QCOMPARE(htmlLinks, links);
    QCOMPARE(htmlTitles, titles);

    QXmlStreamReader multi(playlist::multiPlayerObject(episodes));
    QString flashVars;
    while (!multi.atEnd()) {
        multi.readNext();
        if (multi.isStartElement() && multi.attributes().value(QLatin1StringView("name")) == u"FlashVars")
            flashVars = multi.attributes().value(QLatin1StringView("value")).toString();
    }
    QVERIFY2(!multi.hasError(), qPrintable(multi.errorString()));
    const QStringList pairs = flashVars.trimmed().split(u'&');
    QCOMPARE(pairs.size(), 4);
    QVERIFY(pairs.at(0).startsWith(u"mp3="));
    QVERIFY(pairs.at(1).startsWith(u"title="));
    QStringList multiLinks;
    QStringList multiTitles;
    for (const QString &value : pairs.at(0).mid(4).split(u'|'))
        multiLinks << fromLink(value);
    for (const QString &value : pairs.at(1).mid(6).split(u'|'))
        multiTitles << fromLink(value);
    QCOMPARE(multiLinks, links);
    QCOMPARE(multiTitles, titles);
}

void tst_Snippets::playlistFileContent_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("test");
    QTest::addColumn<QString>("player");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString dew(playlist::dewPlayer);
    const QString edited = QStringLiteral("see MP3/a.mp3 and MP3/MP3/b.mp3, mp3/c.mp3 <object data=\"")
        + playlist::adresseLecteurMulti() + u'"';
    const QString local = QStringLiteral("see a.mp3 and b.mp3, mp3/c.mp3 <object data=\"player_mp3_multi.swf\"");

    QTest::newRow("upload keeps the text") << "playlist.xml" << false << dew << edited << edited;
    QTest::newRow("preview drops server paths") << "playlist.xml" << true << dew << edited << local;
    QTest::newRow("dew preview page ignores the text")
        << "playlist.html" << true << dew << edited << golden("dewplayer-object-local.txt");
    QTest::newRow("page name compared exactly") << "Playlist.html" << true << dew << edited << local;
    QTest::newRow("other players' page is the text")
        << "playlist.html" << true << QString(playlist::mp3Player) << edited << local;
}

void tst_Snippets::playlistFileContent()
{
    QFETCH(QString, fileName);
    QFETCH(bool, test);
    QFETCH(QString, player);
    QFETCH(QString, text);
    QFETCH(QString, expected);

    QCOMPARE(playlist::playlistFileContent(fileName, test, player, text), expected);
}

void tst_Snippets::savedFileIsUtf8AsGivenAndReplacesTheOld()
{
    const QString path = m_workDir->filePath("playlist.xml");
    QVERIFY(testkit::writeFile(path, QByteArray(1000, 'x')));

    QVERIFY(playlist::writeWholeFile(path, QStringLiteral("<title>été</title>\n\t<x/>")));
    QCOMPARE(testkit::readFile(path), QByteArray("<title>\xc3\xa9t\xc3\xa9</title>\n\t<x/>"));
}

void tst_Snippets::failedSaveLeavesNothingBehind()
{
    // A folder where the file should go cannot be replaced.
    QVERIFY(QDir().mkdir(QStringLiteral("playlist.xml")));
    QVERIFY(testkit::writeFile(m_workDir->filePath("playlist.xml/keep"), "kept"));

    QVERIFY(!playlist::writeWholeFile(m_workDir->filePath("playlist.xml"), QStringLiteral("text")));
    QCOMPARE(testkit::readFile(m_workDir->filePath("playlist.xml/keep")), QByteArray("kept"));
    QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"playlist.xml"});

    QVERIFY(!playlist::writeWholeFile(m_workDir->filePath("missing/playlist.xml"), QStringLiteral("text")));
}

QTEST_GUILESS_MAIN(tst_Snippets)
#include "tst_snippets.moc"
