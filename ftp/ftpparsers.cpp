#include "ftp/ftpparsers.h"

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

bool isUnixMode(QStringView text)
{
    static const QRegularExpression mode(QStringLiteral("^[-dlbcps][-rwxsStTlL]{9}[.+@]?$"));
    return mode.match(text).hasMatch();
}

// "Mon DD HH:MM" or "Mon DD YYYY", starting at tokens[at].
std::optional<QDateTime> unixDate(const QList<Token> &tokens, qsizetype at, QDate today)
{
    const int month = monthNumber(tokens[at].text);
    bool ok = false;
    const int day = tokens[at + 1].text.toInt(&ok);
    if (month == 0 || !ok || day < 1 || day > 31)
        return std::nullopt;
    const QStringView third = tokens[at + 2].text;
    if (third.contains(u':')) {
        const QTime time = QTime::fromString(third.toString(), QStringLiteral("h:mm"));
        if (!time.isValid())
            return std::nullopt;
        // Without a year ls means the last six months: a date past tomorrow belongs to last year.
        QDate date(today.year(), month, day);
        if (!date.isValid() || date > today.addDays(1))
            date = QDate(today.year() - 1, month, day);
        if (!date.isValid())
            return std::nullopt;
        return QDateTime(date, time);
    }
    const int year = third.toInt(&ok);
    const QDate date(year, month, day);
    if (!ok || third.size() != 4 || !date.isValid())
        return std::nullopt;
    return QDateTime(date, QTime(0, 0));
}

std::optional<UrlInfo> parseUnixLine(QStringView line, const QList<Token> &tokens, QDate today)
{
    if (!isUnixMode(tokens[0].text))
        return std::nullopt;
    // The columns between mode and size vary (links, owner, group may be missing): look for
    // the first "size month day time-or-year" that fits and take the rest as the name.
    for (qsizetype at = 2; at + 3 < tokens.size(); ++at) {
        const auto size = toSize(tokens[at - 1].text);
        const auto when = size ? unixDate(tokens, at, today) : std::nullopt;
        if (!when)
            continue;
        QStringView name = line.sliced(tokens[at + 2].end + 1);
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
        info.setLastModified(*when);
        return info;
    }
    return std::nullopt;
}

// "MM-DD-YY  HH:MMAM  <DIR>|size  name"
std::optional<UrlInfo> parseDosLine(QStringView line, const QList<Token> &tokens)
{
    static const QRegularExpression dateForm(QStringLiteral("^(\\d{2})-(\\d{2})-(\\d{2}|\\d{4})$"));
    static const QRegularExpression timeForm(QStringLiteral("^(\\d{1,2}):(\\d{2})([AaPp][Mm])?$"));
    if (tokens.size() < 4)
        return std::nullopt;
    const auto date = dateForm.match(tokens[0].text);
    const auto time = timeForm.match(tokens[1].text);
    if (!date.hasMatch() || !time.hasMatch())
        return std::nullopt;
    int year = date.captured(3).toInt();
    if (date.capturedLength(3) == 2)
        year += year < 70 ? 2000 : 1900;
    int hour = time.captured(1).toInt();
    const QString half = time.captured(3).toUpper();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half == QLatin1String("PM") ? 12 : 0);
    }
    const QDate day(year, date.captured(1).toInt(), date.captured(2).toInt());
    const QTime clock(hour, time.captured(2).toInt());
    if (!day.isValid() || !clock.isValid())
        return std::nullopt;

    const bool dir = tokens[2].text.compare(QLatin1String("<DIR>"), Qt::CaseInsensitive) == 0;
    const auto size = dir ? std::optional<qint64>(-1) : toSize(tokens[2].text);
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

std::optional<Reply> takeReply(QByteArray &buffer)
{
    qsizetype pos = 0;
    QByteArray code;
    QStringList lines;
    for (;;) {
        const qsizetype end = buffer.indexOf('\n', pos);
        if (end < 0)
            return std::nullopt;
        QByteArray line = buffer.mid(pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        pos = end + 1;

        if (code.isEmpty()) {
            if (!isReplyCode(line)) {
                buffer.remove(0, pos);
                return Reply{0, QString::fromUtf8(line)};
            }
            code = line.first(3);
            if (line.size() == 3 || line[3] == ' ') {
                buffer.remove(0, pos);
                return Reply{code.toInt(), afterCode(line)};
            }
            lines.append(afterCode(line));
            continue;
        }
        if (line.startsWith(code) && (line.size() == 3 || line[3] == ' ')) {
            lines.append(afterCode(line));
            buffer.remove(0, pos);
            return Reply{code.toInt(), lines.join(u'\n')};
        }
        // Some servers repeat "code-" on every inner line.
        if (line.startsWith(code) && line.size() > 3 && line[3] == '-')
            lines.append(afterCode(line));
        else
            lines.append(QString::fromUtf8(line));
    }
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
    if (auto info = parseDosLine(line, tokens))
        return info;
    return parseUnixLine(line, tokens, today);
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
