#include <memory>

#include <QDir>
#include <QTest>

#include "entries.h"
#include "playlist/episodes.h"
#include "tests/kit/testkit.h"

class tst_Episodes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_workDir = std::make_unique<testkit::WorkDir>(); }
    void cleanup() { m_workDir.reset(); }

    void episodesComeInModificationOrder_data();
    void episodesComeInModificationOrder();
    void listingHoldsPlainMp3AndXmlFiles();
    void emptyPathListsTheCurrentDirectory();
    void missingFolderGivesNoEpisodes();

private:
    std::unique_ptr<testkit::WorkDir> m_workDir;
};

void tst_Episodes::episodesComeInModificationOrder_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("expected"); // "file name|title", in publication order

    const QString t = QStringLiteral("@2015-03-01T10:00:00.000");
    QTest::newRow("time order, not name order")
        << QStringList{"b.mp3@2014-01-01T10:00:00.000", "a.mp3@2015-03-01T10:00:00.000"}
        << QStringList{"b.mp3|b", "a.mp3|a"};
    QTest::newRow("years apart")
        << QStringList{"c.mp3@2030-06-01T00:00:00.000", "a.mp3@1995-01-01T00:00:00.000",
                       "b.mp3@2008-12-31T23:59:59.999"}
        << QStringList{"a.mp3|a", "b.mp3|b", "c.mp3|c"};
    QTest::newRow("one millisecond apart")
        << QStringList{"a.mp3@2015-03-01T10:00:00.001", "b.mp3" + t}
        << QStringList{"b.mp3|b", "a.mp3|a"};
    QTest::newRow("upper-case extension") << QStringList{"Show.MP3" + t} << QStringList{"Show.MP3|Show"};
    QTest::newRow("only the final extension goes")
        << QStringList{"a.mp3.mp3" + t, "b.Mp3.xml.mP3@2016-01-01T00:00:00.000"}
        << QStringList{"a.mp3.mp3|a.mp3", "b.Mp3.xml.mP3|b.Mp3.xml"};
    QTest::newRow("xml files are no episodes")
        << QStringList{"notes.xml" + t, "playlist.xml" + t, "Playlist.xml" + t, "playlist.mp3.xml" + t,
                       "x.mp3@2016-01-01T00:00:00.000"}
        << QStringList{"x.mp3|x"};
    QTest::newRow("equal times all kept, in name order ignoring case")
        << QStringList{"b.mp3" + t, "C.mp3" + t, "a.mp3" + t}
        << QStringList{"a.mp3|a", "b.mp3|b", "C.mp3|C"};
    QTest::newRow("hidden files and folders are skipped")
        << QStringList{".hidden.mp3" + t, "x.mp3/", "folder/inner.mp3" + t, "y.mp3" + t}
        << QStringList{"y.mp3|y"};
    QTest::newRow("names with spaces and symbols")
        << QStringList{" intro.mp3@2014-01-01T00:00:00.000", "Tom & \"Jerry\".mp3" + t}
        << QStringList{" intro.mp3| intro", "Tom & \"Jerry\".mp3|Tom & \"Jerry\""};
    QTest::newRow("empty folder") << QStringList{} << QStringList{};
}

void tst_Episodes::episodesComeInModificationOrder()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, expected);
    QVERIFY(makeEntries(m_workDir->path(), entries));

    QStringList got;
    for (const Episode &episode : playlist::episodesFrom(playlist::sourceFolder(m_workDir->path()).entryInfoList()))
        got << episode.fileName + u'|' + episode.title;
    QCOMPARE(got, expected);
}

void tst_Episodes::listingHoldsPlainMp3AndXmlFiles()
{
    const QString t = QStringLiteral("@2015-03-01T10:00:00.000");
    QVERIFY(makeEntries(m_workDir->path(),
                        {"b.mp3" + t, "Show.MP3" + t, "notes.xml" + t, "playlist.xml" + t, "playlist.html" + t,
                         "cover.jpg" + t, ".hidden.mp3" + t, "x.mp3/", "a.XML" + t}));

    QStringList names;
    for (const QFileInfo &file : playlist::sourceFolder(m_workDir->path()).entryInfoList())
        names << file.fileName();
    QCOMPARE(names, (QStringList{"a.XML", "b.mp3", "notes.xml", "playlist.xml", "Show.MP3"}));
}

void tst_Episodes::emptyPathListsTheCurrentDirectory()
{
    QVERIFY(makeEntries(m_workDir->path(), {"a.mp3@2015-03-01T10:00:00.000"}));

    const QDir folder = playlist::sourceFolder(QString());
    QCOMPARE(folder.absolutePath(), QDir::currentPath());
    QCOMPARE(playlist::episodesFrom(folder.entryInfoList()).size(), 1);
}

void tst_Episodes::missingFolderGivesNoEpisodes()
{
    const QDir folder = playlist::sourceFolder(m_workDir->filePath("missing"));
    QVERIFY(folder.entryInfoList().isEmpty());
    QVERIFY(playlist::episodesFrom(folder.entryInfoList()).isEmpty());
}

QTEST_GUILESS_MAIN(tst_Episodes)
#include "tst_episodes.moc"
