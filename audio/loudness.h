#pragma once

#include <QString>

// An episode's integrated loudness (ITU-R BS.1770, EBU R128 gating) and true peak, from its
// audio decoded in float.
namespace audio {

struct Loudness
{
    bool measured = false; // false: the file could not be decoded; error says why
    int channels = 0;
    double integrated = 0; // LUFS; -infinity for silence
    double truePeak = 0;   // dBTP, the loudest channel's; -infinity for silence
    QString error;
};

// Decodes the MP3 with libmpg123 and measures it with libebur128, a mono file as one channel.
// Blocks for as long as decoding takes: call it off the GUI thread. The true peak, which costs
// most, is measured channel by channel on threads of its own beside the decoding.
Loudness measureLoudness(const QString &path);

} // namespace audio
