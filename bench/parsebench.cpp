// Time taken to read a listing and a reply of growing size, fed in small segments as a slow
// server sends them, for bench/run.sh: linear reading costs the same per entry at every size.
#include <cstdio>

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include "ftp/ftpparsers.h"

namespace {

constexpr qsizetype Segment = 61; // small, and out of step with the lines

double listingNanosPerEntry(int entries)
{
    QByteArray listing;
    for (int i = 0; i < entries; ++i)
        listing += "-rw-r--r--   1 owner    group     1234567 Jan 31  2023 episode " + QByteArray::number(i) + ".mp3\r\n";
    QElapsedTimer timer;
    timer.start();
    ftp::LineBuffer lines;
    int parsed = 0;
    for (qsizetype at = 0; at < listing.size(); at += Segment) {
        lines.append(listing.mid(at, Segment));
        while (const auto line = lines.takeLine())
            parsed += ftp::parseListLine(QString::fromUtf8(*line)) ? 1 : 0;
    }
    const double nanos = double(timer.nsecsElapsed());
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
    QElapsedTimer timer;
    timer.start();
    ftp::ReplyReader reader;
    int replies = 0;
    for (qsizetype at = 0; at < reply.size(); at += Segment) {
        reader.append(reply.mid(at, Segment));
        while (reader.next())
            ++replies;
    }
    const double nanos = double(timer.nsecsElapsed());
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
