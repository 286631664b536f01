#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

#include "feed/chapters.h"
#include "feed/episodetags.h"
#include "feed/transcripts.h"
#include "tests/feed/feedkit.h"
#include "tests/kit/testkit.h"

// Chapters read from ID3 tags written by mutagen, chapters files, and the transcripts' checks.
class TestChapters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tagChaptersFollowTheTableOfContents_data();
    void tagChaptersFollowTheTableOfContents();
    void chaptersFilesAreCheckedBeforeUse_data();
    void chaptersFilesAreCheckedBeforeUse();
    void chaptersFileReadsBackAsWritten();
    void transcriptsAreChecked_data();
    void transcriptsAreChecked();
};

namespace {

QJsonObject chapter(const char *id, int start, const char *title, const char *url = "")
{
    return {{QStringLiteral("id"), QLatin1StringView(id)}, {QStringLiteral("start"), start},
            {QStringLiteral("end"), start + 1000}, {QStringLiteral("title"), QString::fromUtf8(title)},
            {QStringLiteral("url"), QLatin1StringView(url)}};
}

} // namespace

void TestChapters::tagChaptersFollowTheTableOfContents_data()
{
    QTest::addColumn<QJsonObject>("spec");
    QTest::addColumn<QStringList>("titles"); // in the order read
    QTest::addColumn<QList<qint64>>("starts");
    const QJsonArray frames{chapter("b", 60'500, "Deux"), chapter("a", 0, "Un été", "https://example.com/a?x=1&y=2"),
                            chapter("c", 3'600'000, "Trois")};
    QTest::newRow("by start without a table") << QJsonObject{{QStringLiteral("toc"), QJsonValue()}, {QStringLiteral("chapters"), frames}}
                                              << QStringList{QStringLiteral("Un été"), QStringLiteral("Deux"), QStringLiteral("Trois")}
                                              << QList<qint64>{0, 60'500, 3'600'000};
    QTest::newRow("the table's order") << QJsonObject{{QStringLiteral("toc"), QJsonArray{QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")}},
                                                      {QStringLiteral("chapters"), frames}}
                                       << QStringList{QStringLiteral("Trois"), QStringLiteral("Un été"), QStringLiteral("Deux")}
                                       << QList<qint64>{3'600'000, 0, 60'500};
    QTest::newRow("left out of the table, after it") << QJsonObject{{QStringLiteral("toc"), QJsonArray{QStringLiteral("b")}},
                                                                    {QStringLiteral("chapters"), frames}}
                                                     << QStringList{QStringLiteral("Deux"), QStringLiteral("Un été"), QStringLiteral("Trois")}
                                                     << QList<qint64>{60'500, 0, 3'600'000};
}

void TestChapters::tagChaptersFollowTheTableOfContents()
{
    QFETCH(QJsonObject, spec);
    QFETCH(QStringList, titles);
    QFETCH(QList<qint64>, starts);
    const testkit::WorkDir dir;
    const QString path = dir.filePath(QStringLiteral("ep.mp3"));
    QVERIFY(feedkit::makeMp3(path, 1, {QStringLiteral("--tt"), QStringLiteral("Titre")}));
    QVERIFY(feedkit::writeChapters(path, spec));

    const feed::EpisodeTags tags = feed::readEpisodeTags(path);
    QCOMPARE(tags.title, QStringLiteral("Titre"));
    QStringList readTitles;
    QList<qint64> readStarts;
    for (const feed::Chapter &c : tags.chapters) {
        readTitles << c.title;
        readStarts << c.startMs;
        QCOMPARE(c.url, c.title == QStringLiteral("Un été") ? QStringLiteral("https://example.com/a?x=1&y=2") : QString());
    }
    QCOMPARE(readTitles, titles);
    QCOMPARE(readStarts, starts);
}

void TestChapters::chaptersFilesAreCheckedBeforeUse_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("chapters"); // -1: refused
    QTest::newRow("podcast index example") << QByteArray(R"({"version":"1.2.0","chapters":[{"startTime":0,"title":"Intro"},)"
                                                         R"({"startTime":168.5,"title":"Deux","url":"https://example.com"}]})")
                                           << 2;
    QTest::newRow("empty list") << QByteArray(R"({"version":"1.2.0","chapters":[]})") << 0;
    QTest::newRow("not json") << QByteArray("chapters: none") << -1;
    QTest::newRow("no chapters array") << QByteArray(R"({"version":"1.2.0","chapters":{}})") << -1;
    QTest::newRow("a start as text") << QByteArray(R"({"chapters":[{"startTime":"0","title":"Intro"}]})") << -1;
    QTest::newRow("a negative start") << QByteArray(R"({"chapters":[{"startTime":-1,"title":"Intro"}]})") << -1;
    QTest::newRow("an entry not an object") << QByteArray(R"({"chapters":[3]})") << -1;
}

void TestChapters::chaptersFilesAreCheckedBeforeUse()
{
    QFETCH(QByteArray, json);
    QFETCH(int, chapters);
    const std::optional<QList<feed::Chapter>> parsed = feed::parseChaptersJson(json);
    QCOMPARE(parsed ? int(parsed->size()) : -1, chapters);
}

void TestChapters::chaptersFileReadsBackAsWritten()
{
    const QList<feed::Chapter> chapters{{0, QStringLiteral("Début"), QString()},
                                        {3'723'456, QStringLiteral("« Après »"), QStringLiteral("https://example.com/?a=1")}};
    const testkit::WorkDir dir;
    const QString path = dir.filePath(QStringLiteral("ep.chapters.json"));
    QVERIFY(testkit::writeFile(path, feed::chaptersJson(chapters)));
    // Python's JSON parser, as a web player would read it.
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QStringLiteral("import json,sys; d=json.load(open(sys.argv[1], encoding='utf-8')); "
                                                       "print(d['version'], [(c['startTime'], c['title'], c.get('url')) for c in d['chapters']])"),
                  path});
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
             QStringLiteral("1.2.0 [(0, 'Début', None), (3723.456, '« Après »', 'https://example.com/?a=1')]"));
    QCOMPARE(feed::normalPlayTime(3'723'456), QStringLiteral("01:02:03.456"));
}

void TestChapters::transcriptsAreChecked_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("valid");
    const int vtt = int(feed::TranscriptFormat::WebVtt);
    const int srt = int(feed::TranscriptFormat::SubRip);
    QTest::newRow("vtt") << vtt << QByteArray("WEBVTT\n\n00:00.000 --> 00:02.500\nBonjour\n\n00:02.500 --> 01:00:03.000 align:start\nSuite\n") << true;
    QTest::newRow("vtt with BOM, CRLF and a title") << vtt << QByteArray("\xEF\xBB\xBFWEBVTT - Épisode\r\n\r\n1\r\n00:00:01.000 --> 00:00:02.000\r\nUn\r\n") << true;
    QTest::newRow("vtt without header") << vtt << QByteArray("00:00.000 --> 00:02.500\nBonjour\n") << false;
    QTest::newRow("vtt header glued") << vtt << QByteArray("WEBVTTX\n\n00:00.000 --> 00:02.500\nBonjour\n") << false;
    QTest::newRow("vtt no cue") << vtt << QByteArray("WEBVTT\n\nNOTE rien\n") << false;
    QTest::newRow("vtt bad time") << vtt << QByteArray("WEBVTT\n\n00:00.000 --> 00:61.000\nBonjour\n") << false;
    QTest::newRow("vtt ends before it starts") << vtt << QByteArray("WEBVTT\n\n00:05.000 --> 00:02.000\nBonjour\n") << false;
    QTest::newRow("vtt starts go back") << vtt << QByteArray("WEBVTT\n\n00:05.000 --> 00:06.000\nA\n\n00:01.000 --> 00:02.000\nB\n") << false;
    QTest::newRow("vtt with srt commas") << vtt << QByteArray("WEBVTT\n\n00:00:00,000 --> 00:00:02,000\nA\n") << false;
    QTest::newRow("srt") << srt << QByteArray("1\n00:00:00,000 --> 00:00:02,500\nBonjour\nà tous\n\n2\n00:00:02,500 --> 00:00:04,000\nSuite\n") << true;
    QTest::newRow("srt trailing blank lines, CRLF") << srt << QByteArray("1\r\n00:00:00,000 --> 00:00:02,500\r\nBonjour\r\n\r\n\r\n") << true;
    QTest::newRow("srt without number") << srt << QByteArray("00:00:00,000 --> 00:00:02,500\nBonjour\n") << false;
    QTest::newRow("srt with vtt points") << srt << QByteArray("1\n00:00:00.000 --> 00:00:02.500\nBonjour\n") << false;
    QTest::newRow("srt cut after the number") << srt << QByteArray("1\n00:00:00,000 --> 00:00:02,500\nA\n\n2\n") << false;
    QTest::newRow("srt empty") << srt << QByteArray() << false;
}

void TestChapters::transcriptsAreChecked()
{
    QFETCH(int, format);
    QFETCH(QByteArray, content);
    QTEST(feed::isTranscript(static_cast<feed::TranscriptFormat>(format), content), "valid");
}

QTEST_GUILESS_MAIN(TestChapters)
#include "tst_chapters.moc"
