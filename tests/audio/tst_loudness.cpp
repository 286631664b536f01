#include <cmath>

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include "audio/loudness.h"
#include "audio/loudnesscache.h"
#include "audio/loudnesscheck.h"
#include "tests/kit/testkit.h"

// Episodes' loudness and true peak as ffmpeg measures them, the lines the publisher reads, and
// the cache that spares measuring an episode twice.
class TestLoudness : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void measuresAsFfmpegDoes_data();
    void measuresAsFfmpegDoes();
    void undecodableFileIsNamed_data();
    void undecodableFileIsNamed();
    void linesWarnAgainstTheTargets_data();
    void linesWarnAgainstTheTargets();
    void cacheKeepsOnlyTheSameVersion_data();
    void cacheKeepsOnlyTheSameVersion();
};

namespace {

// sox makes the sound (48 kHz, which ffmpeg's filter measures without resampling), lame the MP3.
bool makeEpisode(const QString &path, int channels, const QStringList &effects)
{
    QProcess shell;
    shell.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("sox -q -n -r 48000 -b 16 -c %1 -t wav - %2 | lame --quiet -b 128 - '%3'")
                     .arg(channels)
                     .arg(effects.join(u' '), path)});
    return shell.waitForFinished(60000) && shell.exitCode() == 0 && QFileInfo(path).size() > 0;
}

// ffmpeg's summary: integrated loudness (-70 for silence, its floor) and true peak.
bool ffmpegFigures(const QString &path, double &integrated, double &truePeak)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-nostats"), QStringLiteral("-hide_banner"), QStringLiteral("-i"), path,
                                            QStringLiteral("-af"), QStringLiteral("ebur128=peak=true"), QStringLiteral("-f"),
                                            QStringLiteral("null"), QStringLiteral("-")});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        return false;
    const QString output = QString::fromUtf8(ffmpeg.readAll());
    const QString summary = output.mid(output.lastIndexOf(QStringLiteral("Summary:")));
    static const QRegularExpression loudness(QStringLiteral("I:\\s+(-?[0-9.]+) LUFS"));
    static const QRegularExpression peak(QStringLiteral("True peak:\\s+Peak:\\s+(-?[0-9.]+|-inf) dBFS"));
    const auto i = loudness.match(summary);
    const auto p = peak.match(summary);
    if (!i.hasMatch() || !p.hasMatch())
        return false;
    integrated = i.captured(1).toDouble();
    truePeak = p.captured(1) == QLatin1StringView("-inf") ? -INFINITY : p.captured(1).toDouble();
    return true;
}

audio::Loudness figures(int channels, double integrated, double truePeak)
{
    audio::Loudness loudness;
    loudness.measured = true;
    loudness.channels = channels;
    loudness.integrated = integrated;
    loudness.truePeak = truePeak;
    return loudness;
}

} // namespace

void TestLoudness::measuresAsFfmpegDoes_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<QStringList>("effects");
    QTest::newRow("stereo pink noise") << 2 << QStringList{QStringLiteral("synth 4 pinknoise vol 0.3")};
    // A louder left channel: the peak is the loudest channel's, not the first's.
    QTest::newRow("stereo, right louder") << 2 << QStringList{QStringLiteral("synth 4 pinknoise vol 0.1 remix 1 1v4")};
    QTest::newRow("mono as one channel") << 1 << QStringList{QStringLiteral("synth 4 pinknoise vol 0.3")};
    QTest::newRow("silence") << 2 << QStringList{QStringLiteral("trim 0 3")};
    QTest::newRow("clipped") << 2 << QStringList{QStringLiteral("synth 4 sine 997 vol 1.6")};
    // Longer than two blocks handed to the peak threads, with a loud end: no block is lost.
    QTest::newRow("loud end after blocks") << 2 << QStringList{QStringLiteral("synth 5 sine 440 vol 0.05 : synth 0.5 square 440 vol 0.9")};
}

void TestLoudness::measuresAsFfmpegDoes()
{
    QFETCH(int, channels);
    QFETCH(QStringList, effects);
    const testkit::WorkDir dir;
    const QString path = dir.filePath(QStringLiteral("ep.mp3"));
    QVERIFY(makeEpisode(path, channels, effects));
    double integrated = 0;
    double truePeak = 0;
    QVERIFY(ffmpegFigures(path, integrated, truePeak));

    const audio::Loudness loudness = audio::measureLoudness(path);
    QVERIFY2(loudness.measured, qPrintable(loudness.error));
    QCOMPARE(loudness.channels, channels);
    if (integrated <= -70)
        QVERIFY(std::isinf(loudness.integrated) || loudness.integrated <= -70);
    else
        QVERIFY2(std::abs(loudness.integrated - integrated) <= 0.1,
                 qPrintable(QStringLiteral("%1 LUFS, ffmpeg %2").arg(loudness.integrated).arg(integrated)));
    if (std::isinf(truePeak))
        QVERIFY(std::isinf(loudness.truePeak) && loudness.truePeak < 0);
    else
        QVERIFY2(std::abs(loudness.truePeak - truePeak) <= 0.2,
                 qPrintable(QStringLiteral("%1 dBTP, ffmpeg %2").arg(loudness.truePeak).arg(truePeak)));
}

void TestLoudness::undecodableFileIsNamed_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("text") << QByteArray("<html>not found</html>\n").repeated(200) << true;
}

void TestLoudness::undecodableFileIsNamed()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    const testkit::WorkDir dir;
    const QString path = dir.filePath(QStringLiteral("ep.mp3"));
    if (exists)
        QVERIFY(testkit::writeFile(path, content));
    const audio::Loudness loudness = audio::measureLoudness(path);
    QVERIFY(!loudness.measured);
    QVERIFY(!loudness.error.isEmpty());
    const audio::LoudnessLine line = audio::loudnessLine(QStringLiteral("ep.mp3"), loudness, QLocale(QLocale::French));
    QVERIFY(line.warning);
    QVERIFY(line.text.startsWith(QStringLiteral("ep.mp3 : ")));
}

void TestLoudness::linesWarnAgainstTheTargets_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<double>("integrated");
    QTest::addColumn<double>("truePeak");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("warning");
    const QString fr = QStringLiteral("fr");
    QTest::newRow("on target") << 2 << -16.24 << -1.36 << fr << QStringLiteral("ep1.mp3 : -16,2 LUFS, crête -1,4 dBTP") << false;
    QTest::newRow("english decimal point") << 2 << -16.24 << -1.36 << QStringLiteral("en")
                                           << QStringLiteral("ep1.mp3 : -16.2 LUFS, crête -1.4 dBTP") << false;
    QTest::newRow("1 LU under") << 2 << -17.0 << -3.0 << fr << QStringLiteral("ep1.mp3 : -17,0 LUFS, crête -3,0 dBTP") << false;
    QTest::newRow("too quiet") << 2 << -17.05 << -3.0 << fr
                               << QStringLiteral("ep1.mp3 : -17,1 LUFS, crête -3,0 dBTP : trop faible (cible -16 LUFS)") << true;
    QTest::newRow("too loud") << 2 << -14.9 << -3.0 << fr
                              << QStringLiteral("ep1.mp3 : -14,9 LUFS, crête -3,0 dBTP : trop fort (cible -16 LUFS)") << true;
    QTest::newRow("mono target") << 1 << -19.4 << -3.0 << fr << QStringLiteral("ep1.mp3 : -19,4 LUFS, crête -3,0 dBTP") << false;
    QTest::newRow("mono at the stereo target") << 1 << -16.0 << -3.0 << fr
                                               << QStringLiteral("ep1.mp3 : -16,0 LUFS, crête -3,0 dBTP : trop fort (cible -19 LUFS)") << true;
    QTest::newRow("peak at the ceiling") << 2 << -16.0 << -1.0 << fr << QStringLiteral("ep1.mp3 : -16,0 LUFS, crête -1,0 dBTP") << false;
    QTest::newRow("peak too high") << 2 << -16.0 << -0.96 << fr
                                   << QStringLiteral("ep1.mp3 : -16,0 LUFS, crête -1,0 dBTP : crête trop haute (maximum -1 dBTP)") << true;
    QTest::newRow("loud and peaking") << 2 << -12.0 << 0.5 << fr
                                      << QStringLiteral("ep1.mp3 : -12,0 LUFS, crête 0,5 dBTP : trop fort (cible -16 LUFS), crête trop haute (maximum -1 dBTP)")
                                      << true;
    QTest::newRow("silence") << 2 << -double(INFINITY) << -double(INFINITY) << fr
                             << QStringLiteral("ep1.mp3 : -∞ LUFS, crête -∞ dBTP : trop faible (cible -16 LUFS)") << true;
    QTest::newRow("no minus zero") << 2 << -16.0 << -0.04 << fr
                                   << QStringLiteral("ep1.mp3 : -16,0 LUFS, crête 0,0 dBTP : crête trop haute (maximum -1 dBTP)") << true;
}

void TestLoudness::linesWarnAgainstTheTargets()
{
    QFETCH(int, channels);
    QFETCH(double, integrated);
    QFETCH(double, truePeak);
    QFETCH(QString, language);
    const audio::LoudnessLine line = audio::loudnessLine(QStringLiteral("ep1.mp3"), figures(channels, integrated, truePeak), QLocale(language));
    QTEST(line.text, "text");
    QTEST(line.warning, "warning");
}

void TestLoudness::cacheKeepsOnlyTheSameVersion_data()
{
    QTest::addColumn<QByteArray>("rewritten"); // empty: left as it was
    QTest::addColumn<qint64>("touchedBy");     // ms added to the file's time
    QTest::addColumn<bool>("kept");
    QTest::newRow("unchanged") << QByteArray() << qint64(0) << true;
    QTest::newRow("other size") << QByteArray("longer content") << qint64(0) << false;
    QTest::newRow("same size, other time") << QByteArray() << qint64(1) << false;
}

void TestLoudness::cacheKeepsOnlyTheSameVersion()
{
    QFETCH(QByteArray, rewritten);
    QFETCH(qint64, touchedBy);
    const testkit::WorkDir dir;
    const QString path = dir.filePath(QStringLiteral("ep.mp3"));
    QVERIFY(testkit::writeFile(path, "content"));
    QVERIFY(testkit::writeFile(dir.filePath(QStringLiteral("silent.mp3")), "silence"));
    {
        audio::LoudnessCache cache(dir.path());
        cache.insert(QFileInfo(path), figures(2, -16.25, -1.5));
        // Silence keeps its infinities; a failure is not kept.
        cache.insert(QFileInfo(dir.filePath(QStringLiteral("silent.mp3"))), figures(1, -INFINITY, -INFINITY));
        cache.insert(QFileInfo(dir.filePath(QStringLiteral("broken.mp3"))), audio::Loudness{});
        QVERIFY(cache.save());
    }
    if (!rewritten.isEmpty())
        QVERIFY(testkit::writeFile(path, rewritten));
    if (touchedBy != 0) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QFileInfo(path).lastModified().addMSecs(touchedBy), QFileDevice::FileModificationTime));
    }

    const audio::LoudnessCache cache(dir.path());
    const audio::Loudness *found = cache.find(QFileInfo(path));
    QTEST(found != nullptr, "kept");
    if (found) {
        QCOMPARE(found->integrated, -16.25);
        QCOMPARE(found->truePeak, -1.5);
        QCOMPARE(found->channels, 2);
    }
    const audio::Loudness *silent = cache.find(QFileInfo(dir.filePath(QStringLiteral("silent.mp3"))));
    QVERIFY(silent && std::isinf(silent->integrated) && std::isinf(silent->truePeak));
    QCOMPARE(cache.unmeasured({QFileInfo(path), QFileInfo(dir.filePath(QStringLiteral("silent.mp3")))}).size(), found ? 0 : 1);
}

QTEST_GUILESS_MAIN(TestLoudness)
#include "tst_loudness.moc"
