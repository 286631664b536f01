#include "audio/loudness.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QFile>

#include <ebur128.h>
#include <mpg123.h>

namespace audio {

namespace {

struct Mpg123Deleter
{
    void operator()(mpg123_handle *handle) const { mpg123_delete(handle); }
};
struct Ebur128Deleter
{
    void operator()(ebur128_state *state) const { ebur128_destroy(&state); }
};
using Decoder = std::unique_ptr<mpg123_handle, Mpg123Deleter>;
using Meter = std::unique_ptr<ebur128_state, Ebur128Deleter>;

// Frames decoded before they are handed to the meters: large enough that starting the peak
// threads costs nothing, small enough to stay in the cache.
constexpr size_t blockFrames = 1 << 16;

QString failure(const char *text)
{
    return QCoreApplication::translate("Loudness", text);
}

Decoder openDecoder(const QString &path, QString &error)
{
    int code = MPG123_OK;
    Decoder decoder(mpg123_new(nullptr, &code));
    if (!decoder) {
        error = QString::fromUtf8(mpg123_plain_strerror(code));
        return {};
    }
    mpg123_param(decoder.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    // Float output at the file's own rate and channels: nothing resampled, nothing mixed.
    mpg123_format_none(decoder.get());
    const long *rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(decoder.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    if (mpg123_open(decoder.get(), QFile::encodeName(path).constData()) != MPG123_OK) {
        error = QString::fromUtf8(mpg123_strerror(decoder.get()));
        return {};
    }
    return decoder;
}

// Fills block with up to blockFrames frames; 0 at the end. A change of format within the file
// is an error: the meters were made for the first one.
size_t readBlock(mpg123_handle *decoder, std::vector<float> &block, int channels, long rate, QString &error)
{
    const size_t wanted = blockFrames * static_cast<size_t>(channels) * sizeof(float);
    size_t filled = 0;
    while (filled < wanted) {
        size_t done = 0;
        const int code = mpg123_read(decoder, reinterpret_cast<unsigned char *>(block.data()) + filled, wanted - filled, &done);
        filled += done;
        if (code == MPG123_DONE)
            break;
        if (code == MPG123_NEW_FORMAT) {
            long newRate = 0;
            int newChannels = 0;
            int encoding = 0;
            mpg123_getformat(decoder, &newRate, &newChannels, &encoding);
            if (newRate != rate || newChannels != channels) {
                error = failure(QT_TRANSLATE_NOOP("Loudness", "le format change en cours de fichier"));
                return 0;
            }
            continue;
        }
        if (code != MPG123_OK) {
            error = QString::fromUtf8(mpg123_strerror(decoder));
            return 0;
        }
    }
    return filled / (static_cast<size_t>(channels) * sizeof(float));
}

// One channel of an interleaved block, through its own true-peak meter.
void addChannel(ebur128_state *meter, const std::vector<float> &block, size_t frames, int channels, int channel,
                std::vector<float> &scratch)
{
    for (size_t i = 0; i < frames; ++i)
        scratch[i] = block[i * static_cast<size_t>(channels) + static_cast<size_t>(channel)];
    ebur128_add_frames_float(meter, scratch.data(), frames);
}

double decibels(double amplitude)
{
    return amplitude > 0 ? 20 * std::log10(amplitude) : -INFINITY;
}

} // namespace

Loudness measureLoudness(const QString &path)
{
    Loudness result;
    static const int initialised = mpg123_init();
    if (initialised != MPG123_OK) {
        result.error = QString::fromUtf8(mpg123_plain_strerror(initialised));
        return result;
    }
    const Decoder decoder = openDecoder(path, result.error);
    if (!decoder)
        return result;
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(decoder.get(), &rate, &channels, &encoding) != MPG123_OK || channels < 1) {
        result.error = failure(QT_TRANSLATE_NOOP("Loudness", "aucun son MPEG n'a été trouvé"));
        return result;
    }
    const auto ucChannels = static_cast<unsigned>(channels);
    const auto ulRate = static_cast<unsigned long>(rate);
    const Meter integrated(ebur128_init(ucChannels, ulRate, EBUR128_MODE_I));
    std::vector<Meter> peaks;
    for (int c = 0; c < channels; ++c) {
        peaks.emplace_back(ebur128_init(1, ulRate, EBUR128_MODE_TRUE_PEAK));
        // Left out of the loudness: the meter then skips its weighting filter, and only peaks.
        if (peaks.back())
            ebur128_set_channel(peaks.back().get(), 0, EBUR128_UNUSED);
    }
    if (!integrated || std::any_of(peaks.cbegin(), peaks.cend(), [](const Meter &peak) { return !peak; })) {
        result.error = failure(QT_TRANSLATE_NOOP("Loudness", "format audio non pris en charge"));
        return result;
    }

    // Two blocks: the next is decoded while the peak threads read the last.
    std::vector<float> blocks[2];
    for (std::vector<float> &block : blocks)
        block.resize(blockFrames * ucChannels);
    std::vector<std::vector<float>> scratch(ucChannels, std::vector<float>(blockFrames));
    std::vector<std::future<void>> running;
    size_t total = 0;
    for (int current = 0;; current ^= 1) {
        std::vector<float> &block = blocks[current];
        const size_t frames = readBlock(decoder.get(), block, channels, rate, result.error);
        for (std::future<void> &peak : running)
            peak.wait();
        running.clear();
        if (frames == 0)
            break;
        total += frames;
        for (int c = 0; c < channels; ++c)
            running.push_back(std::async(std::launch::async, addChannel, peaks[static_cast<size_t>(c)].get(),
                                         std::cref(block), frames, channels, c, std::ref(scratch[static_cast<size_t>(c)])));
        ebur128_add_frames_float(integrated.get(), block.data(), frames);
    }
    if (!result.error.isEmpty())
        return result;
    if (total == 0) {
        result.error = failure(QT_TRANSLATE_NOOP("Loudness", "aucun son MPEG n'a été trouvé"));
        return result;
    }
    double loudness = 0;
    ebur128_loudness_global(integrated.get(), &loudness);
    double loudest = 0;
    for (const Meter &peak : peaks) {
        double value = 0;
        ebur128_true_peak(peak.get(), 0, &value);
        loudest = std::max(loudest, value);
    }
    result.measured = true;
    result.channels = channels;
    result.integrated = loudness;
    result.truePeak = decibels(loudest);
    return result;
}

} // namespace audio
