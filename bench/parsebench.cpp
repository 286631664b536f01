// Time taken to read a listing and a reply of growing size, fed in small segments as a slow
// server sends them, for bench/run.sh: linear reading costs the same per entry at every size.
#include <cstdio>
#include <utility>

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include "ftp/ftpparsers.h"

namespace {

constexpr qsizetype Segment = 61; // small, and out of step with the lines

// Hands bytes to read() in segments; the nanoseconds taken, and the sum of what read() returned.
template<typename Read>
std::pair<double, int> timeInSegments(const QByteArray &bytes, Read read)
{
    QElapsedTimer timer;
    timer.start();
    int count = 0;
    for (qsizetype at = 0; at < bytes.size(); at += Segment)
        count += read(bytes.mid(at, Segment));
    return {double(timer.nsecsElapsed()), count};
}

double listingNanosPerEntry(int entries)
{
    QByteArray listing;
    for (int i = 0; i < entries; ++i)
        listing += "-rw-r--r--   1 owner    group     1234567 Jan 31  2023 episode " + QByteArray::number(i) + ".mp3\r\n";
    ftp::LineBuffer lines;
    const auto [nanos, parsed] = timeInSegments(listing, [&lines](const QByteArray &piece) {
        lines.append(piece);
        int parsedNow = 0;
        while (const auto line = lines.takeLine())
            parsedNow += ftp::parseListLine(QString::fromUtf8(*line)) ? 1 : 0;
        return parsedNow;
    });
    if (parsed != entries)
        std::fprintf(stderr, "parsebench: %d of %d entries read\n", parsed, entries);
    return nanos / entries;
}

double replyNanosPerLine(int lines)
{
    QByteArray reply = "211-Features and more:\r\n";
    for (int i = 0; i < lines; ++i)
        reply += " FEATURE" + QByteArray::number(i) + "\r\n";
    reply += "211 End\r\n";
    ftp::ReplyReader reader;
    const auto [nanos, replies] = timeInSegments(reply, [&reader](const QByteArray &piece) {
        reader.append(piece);
        int repliesNow = 0;
        while (reader.next())
            ++repliesNow;
        return repliesNow;
    });
    if (replies != 1)
        std::fprintf(stderr, "parsebench: %d replies read instead of one\n", replies);
    return nanos / lines;
}

} // namespace

int main()
{
    std::printf("segments of %lld bytes\n", static_cast<long long>(Segment));
    for (const int size : {25000, 50000, 100000}) {
        std::printf("  %6d-entry listing: %7.0f ns per entry;  %6d-line reply: %5.0f ns per line\n", size,
                    listingNanosPerEntry(size), size, replyNanosPerLine(size));
    }
    return 0;
}
