#include "ftp/ftpparsers.h"

#include <algorithm>

#include <QList>
#include <QRegularExpression>
#include <QTime>
#include <QTimeZone>

namespace ftp {

namespace {

bool isReplyCode(const QByteArray &line)
{
    return line.size() >= 3 && line[0] >= '1' && line[0] <= '5' && line[1] >= '0' && line[1] <= '9'
        && line[2] >= '0' && line[2] <= '9' && (line.size() == 3 || line[3] == ' ' || line[3] == '-');
}

QString afterCode(const QByteArray &line)
{
    return QString::fromUtf8(line.mid(4));
}

struct Token
{
    QStringView text;
    qsizetype end = 0; // index in the line just after the token
};

QList<Token> tokenize(QStringView line)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !line[i].isSpace())
            ++i;
        if (i > start)
            tokens.append({line.sliced(start, i - start), i});
    }
    return tokens;
}

std::optional<qint64> toSize(QStringView text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

int monthNumber(QStringView text)
{
    static const char *const months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                         "jul", "aug", "sep", "oct", "nov", "dec"};
    for (int i = 0; i < 12; ++i) {
        if (text.compare(QLatin1String(months[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

// "drwxr-xr-x", maybe with a mark of ACLs or attributes after it; checked by hand, as a regular
// expression costs more than the rest of the line's reading.
bool isUnixMode(QStringView text)
{
    if (text.size() < 10 || text.size() > 11 || !QStringView(u"-dlbcps").contains(text[0]))
        return false;
    for (qsizetype i = 1; i < 10; ++i) {
        if (!QStringView(u"-rwxsStTlL").contains(text[i]))
            return false;
    }
    return text.size() == 10 || QStringView(u".+@").contains(text[10]);
}

// A time without a year: ls means the last six months, so a date past tomorrow is last year's.
std::optional<QDateTime> recentDate(int month, int day, QStringView time, QDate today)
{
    const QTime clock = QTime::fromString(time.toString(), QStringLiteral("h:mm"));
    if (!clock.isValid())
        return std::nullopt;
    QDate date(today.year(), month, day);
    if (!date.isValid() || date > today.addDays(1))
        date = QDate(today.year() - 1, month, day);
    if (!date.isValid())
        return std::nullopt;
    return QDateTime(date, clock);
}

// "HH:MM" for a recent file, or the year.
std::optional<QDateTime> dateWithTimeOrYear(int month, QStringView dayText, QStringView third, QDate today)
{
    bool ok = false;
    const int day = dayText.toInt(&ok);
    if (month == 0 || !ok || day < 1 || day > 31)
        return std::nullopt;
    if (third.contains(u':'))
        return recentDate(month, day, third, today);
    const int year = third.toInt(&ok);
    const QDate date(year, month, day);
    if (!ok || third.size() != 4 || !date.isValid())
        return std::nullopt;
    return QDateTime(date, QTime(0, 0));
}

struct UnixDate
{
    QDateTime when;
    qsizetype last = 0; // index of the date's last token
    bool dateOnly = false;
};

// A day or month in figures, "3" or "03"; 0 for anything else.
int smallNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
        return 0;
    return text.toInt();
}

// "03 10 21:22" or "10 03 2024", as some servers print it: month and day in figures, in an order
// the line does not tell. A number above 12 is the day; when either could be the month, the
// entry keeps its name and size and its date is left unknown rather than guessed.
std::optional<UnixDate> numericDate(QStringView first, QStringView second, QStringView third, qsizetype last, QDate today)
{
    const int a = smallNumber(first);
    const int b = smallNumber(second);
    if (a == 0 || b == 0)
        return std::nullopt;
    const bool monthFirst = a <= 12;
    const auto when = dateWithTimeOrYear(monthFirst ? a : b, monthFirst ? second : first, third, today);
    if (!when)
        return std::nullopt;
    const bool ambiguous = a != b && a <= 12 && b <= 12;
    return UnixDate{ambiguous ? QDateTime() : *when, last, !third.contains(u':')};
}

// The date that starts at tokens[at] (tokens[at + 2] exists): "Mar 10 2024", "Mar 10 21:22",
// "10 mar 2024" (day first, as some European servers print it) or "2024-03-10 21:22" (ls
// --time-style=long-iso).
std::optional<UnixDate> unixDate(const QList<Token> &tokens, qsizetype at, QDate today)
{
    const QStringView first = tokens[at].text;
    const QStringView second = tokens[at + 1].text;
    if (first.size() == 10 && first[4] == u'-') {
        const QDate date = QDate::fromString(first.toString(), QStringLiteral("yyyy-MM-dd"));
        const QTime clock = QTime::fromString(second.toString(), QStringLiteral("hh:mm"));
        if (!date.isValid() || !clock.isValid())
            return std::nullopt;
        return UnixDate{QDateTime(date, clock), at + 1};
    }
    const QStringView third = tokens[at + 2].text;
    auto when = dateWithTimeOrYear(monthNumber(first), second, third, today);
    if (!when)
        when = dateWithTimeOrYear(monthNumber(second), first, third, today);
    if (!when)
        return numericDate(first, second, third, at + 2, today);
    return UnixDate{*when, at + 2, !third.contains(u':')};
}

std::optional<UrlInfo> parseUnixLine(QStringView line, const QList<Token> &tokens, QDate today)
{
    if (!isUnixMode(tokens[0].text))
        return std::nullopt;
    // The columns between mode and size vary (links, owner, group may be missing): look for
    // the first "size date" that fits and take the rest, after one blank, as the name.
    for (qsizetype at = 2; at + 2 < tokens.size(); ++at) {
        const auto size = toSize(tokens[at - 1].text);
        const auto date = size ? unixDate(tokens, at, today) : std::nullopt;
        if (!date || date->last + 1 >= tokens.size())
            continue;
        QStringView name = line.sliced(tokens[date->last].end + 1);
        const QChar type = tokens[0].text[0];
        if (type == u'l') {
            const qsizetype arrow = name.indexOf(QLatin1String(" -> "));
            if (arrow > 0)
                name = name.first(arrow);
        }
        if (name.isEmpty())
            return std::nullopt;
        UrlInfo info;
        info.setName(name.toString());
        info.setDir(type == u'd');
        info.setFile(type != u'd');
        info.setSize(*size);
        info.setLastModified(date->when);
        info.setDateOnly(date->dateOnly);
        return info;
    }
    return std::nullopt;
}

// "MM-DD-YY  HH:MMAM  <DIR>|size  name"; the year may have four digits, the date may be
// "YYYY-MM-DD" and the size may carry thousands separators ("9,730").
std::optional<UrlInfo> parseDosLine(QStringView line, const QList<Token> &tokens)
{
    static const QRegularExpression dateForm(QStringLiteral("^(\\d{2})-(\\d{2})-(\\d{2}|\\d{4})$"));
    static const QRegularExpression isoForm(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    static const QRegularExpression timeForm(QStringLiteral("^(\\d{1,2}):(\\d{2})([AaPp][Mm])?$"));
    if (tokens.size() < 4)
        return std::nullopt;
    const auto time = timeForm.match(tokens[1].text);
    if (!time.hasMatch())
        return std::nullopt;
    int year = 0;
    int month = 0;
    int dayOfMonth = 0;
    if (const auto date = dateForm.match(tokens[0].text); date.hasMatch()) {
        year = date.captured(3).toInt();
        if (date.capturedLength(3) == 2)
            year += year < 70 ? 2000 : 1900;
        month = date.captured(1).toInt();
        dayOfMonth = date.captured(2).toInt();
    } else if (const auto iso = isoForm.match(tokens[0].text); iso.hasMatch()) {
        year = iso.captured(1).toInt();
        month = iso.captured(2).toInt();
        dayOfMonth = iso.captured(3).toInt();
    } else {
        return std::nullopt;
    }
    int hour = time.captured(1).toInt();
    const QString half = time.captured(3).toUpper();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half == QLatin1String("PM") ? 12 : 0);
    }
    const QDate day(year, month, dayOfMonth);
    const QTime clock(hour, time.captured(2).toInt());
    if (!day.isValid() || !clock.isValid())
        return std::nullopt;

    const bool dir = tokens[2].text.compare(QLatin1String("<DIR>"), Qt::CaseInsensitive) == 0;
    const auto size = dir ? std::optional<qint64>(-1) : toSize(tokens[2].text.toString().remove(u','));
    if (!size)
        return std::nullopt;
    // The size column is right-aligned, so the name starts after the whole run of blanks.
    const QStringView name = line.sliced(tokens[3].end - tokens[3].text.size());
    UrlInfo info;
    info.setName(name.toString());
    info.setDir(dir);
    info.setFile(!dir);
    info.setSize(*size);
    info.setLastModified(QDateTime(day, clock));
    return info;
}

} // namespace

QString replyMessage(const Reply &reply)
{
    QStringList parts{QString::number(reply.code)};
    for (QStringView line : QStringView(reply.text).split(u'\n')) {
        line = line.trimmed();
        if (!line.isEmpty())
            parts.append(line.toString());
    }
    return parts.join(u' ');
}

void LineBuffer::append(const QByteArray &bytes)
{
    // Taken lines are dropped only once they are at least half the buffer: each byte moves at
    // most once or twice, however small the pieces.
    if (m_start > 0 && m_start >= m_buffer.size() - m_start) {
        m_buffer.remove(0, m_start);
        m_start = 0;
    }
    m_buffer.append(bytes);
}

std::optional<QByteArray> LineBuffer::takeLine()
{
    const qsizetype end = m_buffer.indexOf('\n', m_start + m_scanned);
    if (end < 0) {
        m_scanned = size();
        return std::nullopt;
    }
    QByteArray line = m_buffer.sliced(m_start, end - m_start);
    if (line.endsWith('\r'))
        line.chop(1);
    m_start = end + 1;
    m_scanned = 0;
    return line;
}

QByteArray LineBuffer::takeRest()
{
    QByteArray rest = m_buffer.sliced(m_start);
    clear();
    return rest;
}

void LineBuffer::clear()
{
    m_buffer.clear();
    m_start = 0;
    m_scanned = 0;
}

std::optional<Reply> ReplyReader::next()
{
    while (const std::optional<QByteArray> line = m_lines.takeLine()) {
        if (m_code.isEmpty()) {
            if (!isReplyCode(*line))
                return Reply{0, QString::fromUtf8(*line)};
            if (line->size() == 3 || line->at(3) == ' ')
                return Reply{line->first(3).toInt(), afterCode(*line)};
            m_code = line->first(3);
            m_text.append(afterCode(*line));
            m_pendingBytes = line->size() + 1;
            continue;
        }
        const bool sameCode = line->startsWith(m_code) && (line->size() == 3 || line->at(3) == ' ' || line->at(3) == '-');
        // Some servers repeat "code-" on every inner line.
        m_text.append(sameCode ? afterCode(*line) : QString::fromUtf8(*line));
        m_pendingBytes += line->size() + 1;
        if (sameCode && (line->size() == 3 || line->at(3) == ' ')) {
            Reply reply{m_code.toInt(), m_text.join(u'\n')};
            m_code.clear();
            m_text.clear();
            m_pendingBytes = 0;
            return reply;
        }
    }
    return std::nullopt;
}

void ReplyReader::clear()
{
    m_lines.clear();
    m_code.clear();
    m_text.clear();
    m_pendingBytes = 0;
}

std::optional<quint16> parseEpsvPort(QStringView text)
{
    const qsizetype open = text.indexOf(u'(');
    const qsizetype close = text.indexOf(u')', open + 1);
    if (open < 0 || close < open + 2)
        return std::nullopt;
    const QStringView inside = text.sliced(open + 1, close - open - 1);
    const QList<QStringView> fields = inside.split(inside[0]);
    if (fields.size() != 5)
        return std::nullopt;
    bool ok = false;
    const uint port = fields[3].toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

std::optional<quint16> parsePasvPort(QStringView text)
{
    static const QRegularExpression numbers(
        QStringLiteral("(\\d{1,3}),(\\d{1,3}),(\\d{1,3}),(\\d{1,3}),(\\d{1,3}),(\\d{1,3})"));
    const auto match = numbers.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    for (int i = 1; i <= 6; ++i) {
        if (match.captured(i).toInt() > 255)
            return std::nullopt;
    }
    const int port = match.captured(5).toInt() * 256 + match.captured(6).toInt();
    if (port == 0)
        return std::nullopt;
    return quint16(port);
}

QStringList parseFeatures(QStringView text)
{
    QStringList features;
    for (QStringView line : text.split(u'\n')) {
        if (!line.startsWith(u' '))
            continue;
        const QList<Token> tokens = tokenize(line);
        if (!tokens.isEmpty())
            features.append(tokens[0].text.toString().toUpper());
    }
    return features;
}

QStringList parseFeatureLines(QStringView text)
{
    QStringList lines;
    for (QStringView line : text.split(u'\n')) {
        if (line.startsWith(u' ') && !line.trimmed().isEmpty())
            lines.append(line.trimmed().toString());
    }
    return lines;
}

std::optional<QDateTime> parseTimeVal(QStringView text)
{
    text = text.trimmed();
    if (text.size() < 14)
        return std::nullopt;
    const QDate date = QDate::fromString(text.first(8).toString(), QStringLiteral("yyyyMMdd"));
    const QTime time = QTime::fromString(text.sliced(8, 6).toString(), QStringLiteral("HHmmss"));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, QTimeZone::utc());
}

std::optional<UrlInfo> parseListLine(QStringView line, QDate today)
{
    if (line.endsWith(u'\r'))
        line.chop(1);
    const QList<Token> tokens = tokenize(line);
    if (tokens.size() < 4)
        return std::nullopt;
    if (auto info = parseUnixLine(line, tokens, today))
        return info;
    return parseDosLine(line, tokens);
}

std::optional<UrlInfo> parseMlsdLine(QStringView line)
{
    if (line.endsWith(u'\r'))
        line.chop(1);
    const qsizetype space = line.indexOf(u' ');
    if (space < 0 || space + 1 >= line.size())
        return std::nullopt;
    UrlInfo info;
    info.setName(line.sliced(space + 1).toString());
    bool typed = false;
    for (QStringView fact : line.first(space).split(u';', Qt::SkipEmptyParts)) {
        const qsizetype equals = fact.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = fact.first(equals).toString().toLower();
        const QStringView value = fact.sliced(equals + 1);
        if (key == QLatin1String("type")) {
            const QString type = value.toString().toLower();
            typed = true;
            const bool dir = type == QLatin1String("dir") || type == QLatin1String("cdir")
                || type == QLatin1String("pdir");
            info.setDir(dir);
            info.setFile(!dir);
            // The current and parent entries carry a path, or anything, as their name.
            if (type == QLatin1String("cdir"))
                info.setName(QStringLiteral("."));
            else if (type == QLatin1String("pdir"))
                info.setName(QStringLiteral(".."));
        } else if (key == QLatin1String("size")) {
            if (const auto size = toSize(value))
                info.setSize(*size);
        } else if (key == QLatin1String("modify")) {
            if (const auto when = parseTimeVal(value))
                info.setLastModified(*when);
        }
    }
    if (!typed)
        return std::nullopt;
    return info;
}

} // namespace ftp
