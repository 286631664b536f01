// Loudness benchmark: an episode's integrated loudness and true peak measured as the upload
// measures it, the best time of a few rounds.
//
//     loudnessbench EPISODE.mp3 ROUNDS
#include <algorithm>
#include <cstdio>
#include <limits>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "audio/loudness.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: loudnessbench EPISODE.mp3 ROUNDS\n");
        return 2;
    }
    qint64 best = std::numeric_limits<qint64>::max();
    audio::Loudness loudness;
    for (int round = 0; round < args[2].toInt(); ++round) {
        QElapsedTimer timer;
        timer.start();
        loudness = audio::measureLoudness(args[1]);
        best = std::min(best, timer.elapsed());
        if (!loudness.measured) {
            std::fprintf(stderr, "not measured: %s\n", qPrintable(loudness.error));
            return 1;
        }
    }
    std::printf("%lld ms %.1f LUFS %.1f dBTP\n", static_cast<long long>(best), loudness.integrated, loudness.truePeak);
    return 0;
}
