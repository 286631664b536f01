#pragma once

#include <QLocale>
#include <QString>

#include "audio/loudness.h"

// What the publisher is told of an episode's loudness: Apple's and the AES podcast
// recommendations, -16 LUFS in stereo, -19 in mono, true peaks at most -1 dBTP.
namespace audio {

inline constexpr double stereoTarget = -16;
inline constexpr double monoTarget = -19;
inline constexpr double tolerance = 1;      // LU either side of the target
inline constexpr double peakCeiling = -1;   // dBTP

double targetLoudness(int channels);

struct LoudnessLine
{
    QString text; // plain text, not markup
    bool warning = false;
};

// "ep1.mp3 : -16,2 LUFS, crête -1,4 dBTP" with the locale's decimal mark, and the reasons of a
// warning after it; a file that could not be measured is a warning that says why.
LoudnessLine loudnessLine(const QString &name, const Loudness &loudness, const QLocale &locale);

} // namespace audio
