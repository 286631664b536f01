// Feed benchmark: feed.xml for a folder of episodes, read from their tags as an upload does, the
// first time (every episode new, its identity kept in feed.ini) and again (every episode known).
//
//     feedbench TEMPLATE.mp3 TRANSCRIPT.vtt FOLDER COUNT ROUNDS
//
// FOLDER is filled with COUNT copies of TEMPLATE under names of their own, each with a copy of
// TRANSCRIPT beside it; the template's ID3 chapters become each episode's chapters file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include "feed/publication.h"

namespace {

qint64 generate(const QString &folder, const QFileInfoList &listing, qsizetype count)
{
    QElapsedTimer timer;
    timer.start();
    const feed::FeedOutcome outcome = feed::writeFeed(folder, listing, QDateTime::currentDateTimeUtc());
    const qint64 elapsed = timer.elapsed();
    QFile written(QDir(folder).absoluteFilePath(feed::feedFile));
    if (outcome.status != feed::FeedOutcome::Status::Written || !written.open(QIODevice::ReadOnly)
        || written.readAll().count("<item>") != count || outcome.companions.size() != count
        || outcome.companions.cbegin()->size() != 2) {
        std::fprintf(stderr, "feed.xml was not written with %lld items, each with chapters and a transcript\n",
                     static_cast<long long>(count));
        std::exit(1);
    }
    return elapsed;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fprintf(stderr, "usage: feedbench TEMPLATE.mp3 TRANSCRIPT.vtt FOLDER COUNT ROUNDS\n");
        return 2;
    }
    const QString folder = args[3];
    const int count = args[4].toInt();
    const int rounds = args[5].toInt();
    const QDateTime start = QDateTime::currentDateTime().addDays(-count);
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("Épisode n°%1 & co").arg(i, 4, 10, QLatin1Char('0'));
        const QString path = QDir(folder).absoluteFilePath(name + QStringLiteral(".mp3"));
        QFile copy(path);
        if (!QFile::copy(args[1], path) || !QFile::copy(args[2], QDir(folder).absoluteFilePath(name + QStringLiteral(".vtt")))
            || !copy.open(QIODevice::ReadWrite)
            || !copy.setFileTime(start.addDays(i), QFileDevice::FileModificationTime)) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(path));
            return 1;
        }
    }
    const QFileInfoList listing = QDir(folder, QStringLiteral("*.mp3"), QDir::Name, QDir::Files).entryInfoList();

    qint64 firstBest = std::numeric_limits<qint64>::max();
    qint64 againBest = std::numeric_limits<qint64>::max();
    for (int round = 0; round < rounds; ++round) {
        feed::ShowDetails show;
        show.publicAddress = QStringLiteral("https://example.com/podcast/MP3/");
        show.title = QStringLiteral("Benchmark");
        if (!feed::writeShowDetails(folder, show))
            return 1;
        firstBest = std::min(firstBest, generate(folder, listing, count));
        againBest = std::min(againBest, generate(folder, listing, count));
    }
    std::printf("%d episodes, best of %d rounds\n", count, rounds);
    std::printf("  first feed (every episode new):    %lld ms\n", static_cast<long long>(firstBest));
    std::printf("  next feed (every episode known):   %lld ms\n", static_cast<long long>(againBest));
    std::printf("  %s\n", std::max(firstBest, againBest) < 1000 ? "under 1 s" : "OVER 1 s");
    return 0;
}
