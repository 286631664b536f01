#include "feed/transcripts.h"

#include <optional>

#include <QRegularExpression>
#include <QStringList>

namespace feed {

namespace {

QStringList textLines(const QByteArray &content)
{
    QString text = QString::fromUtf8(content);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.split(QLatin1Char('\n'));
}

struct Cue
{
    qint64 start = 0;
    qint64 end = 0;
};

// "start --> end", settings after the end left aside; time: hours (optional in WebVTT), minutes,
// seconds and milliseconds.
std::optional<Cue> cueTimes(const QString &line, const QRegularExpression &time)
{
    const qsizetype arrow = line.indexOf(QStringLiteral(" --> "));
    if (arrow < 0)
        return std::nullopt;
    static const QRegularExpression space(QStringLiteral("\\s"));
    QString end = line.mid(arrow + 5).trimmed();
    end.truncate(end.indexOf(space) < 0 ? end.size() : end.indexOf(space));
    const auto parse = [&](const QString &text) -> std::optional<qint64> {
        const QRegularExpressionMatch match = time.match(text);
        if (!match.hasMatch())
            return std::nullopt;
        return ((match.captured(1).toLongLong() * 60 + match.captured(2).toLongLong()) * 60 + match.captured(3).toLongLong()) * 1000
               + match.captured(4).toLongLong();
    };
    const std::optional<qint64> from = parse(line.left(arrow).trimmed());
    const std::optional<qint64> to = parse(end);
    if (!from || !to || *to < *from)
        return std::nullopt;
    return Cue{*from, *to};
}

// Each cue parses and none starts before the one above it.
class CueOrder
{
public:
    bool add(const std::optional<Cue> &cue)
    {
        if (!cue || cue->start < m_last)
            return false;
        m_last = cue->start;
        ++m_count;
        return true;
    }
    int count() const { return m_count; }

private:
    qint64 m_last = 0;
    int m_count = 0;
};

} // namespace

bool isWebVtt(const QByteArray &content)
{
    static const QRegularExpression time(QStringLiteral("^(?:(\\d{2,}):)?([0-5]\\d):([0-5]\\d)\\.(\\d{3})$"));
    const QStringList lines = textLines(content);
    const QString &header = lines.first();
    if (!header.startsWith(QStringLiteral("WEBVTT"))
        || (header.size() > 6 && header[6] != QLatin1Char(' ') && header[6] != QLatin1Char('\t')))
        return false;
    CueOrder cues;
    for (const QString &line : lines) {
        if (line.contains(QStringLiteral("-->")) && !cues.add(cueTimes(line, time)))
            return false;
    }
    return cues.count() > 0;
}

bool isSubRip(const QByteArray &content)
{
    static const QRegularExpression time(QStringLiteral("^(\\d{2,}):([0-5]\\d):([0-5]\\d),(\\d{3})$"));
    static const QRegularExpression number(QStringLiteral("^\\d+$"));
    const QStringList lines = textLines(content);
    CueOrder cues;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        // A block: its number, its times, then its text up to a blank line.
        if (!number.match(lines[i].trimmed()).hasMatch() || i + 1 >= lines.size() || !cues.add(cueTimes(lines[i + 1], time)))
            return false;
        i += 2;
        while (i < lines.size() && !lines[i].trimmed().isEmpty())
            ++i;
    }
    return cues.count() > 0;
}

bool isTranscript(TranscriptFormat format, const QByteArray &content)
{
    return format == TranscriptFormat::WebVtt ? isWebVtt(content) : isSubRip(content);
}

QString transcriptType(TranscriptFormat format)
{
    return format == TranscriptFormat::WebVtt ? QStringLiteral("text/vtt") : QStringLiteral("application/x-subrip");
}

} // namespace feed
