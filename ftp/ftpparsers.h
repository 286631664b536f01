#pragma once

#include <optional>

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "remote/urlinfo.h"

// Parsing of what an FTP server sends, free of sockets so it can be tested and fuzzed alone.
namespace ftp {

struct Reply
{
    // 100 to 599; 0 for a line that is not a reply at all.
    int code = 0;
    // The reply's text without the codes, the lines of a multi-line reply joined by '\n'.
    QString text;

    friend bool operator==(const Reply &, const Reply &) = default;
};

// The reply as a user reads it in an error: the code, then the text of every line, e.g.
// "530 Login incorrect." (a multi-line reply's explanation is often not on its last line).
QString replyMessage(const Reply &reply);

// Bytes that arrive in pieces, taken back as whole lines. Each byte is looked at once and moved
// a bounded number of times, so a huge reply fed in small segments costs linear time.
class LineBuffer
{
public:
    void append(const QByteArray &bytes);
    // The next whole line without its LF (nor a CR before it), or nothing yet.
    std::optional<QByteArray> takeLine();
    // Whatever is left (an unfinished line), emptying the buffer.
    QByteArray takeRest();
    // Bytes not taken yet.
    qsizetype size() const { return m_buffer.size() - m_start; }
    void clear();

private:
    QByteArray m_buffer;
    qsizetype m_start = 0; // first byte not taken
    qsizetype m_scanned = 0; // bytes after m_start known to hold no LF
};

// Control connection replies, from bytes that arrive in pieces. Lines may end in CRLF or a bare
// LF; text is UTF-8.
class ReplyReader
{
public:
    void append(const QByteArray &bytes) { m_lines.append(bytes); }
    // The next complete reply, or nothing while it still needs more bytes.
    std::optional<Reply> next();
    // Bytes of the reply that is not complete yet.
    qsizetype pendingSize() const { return m_lines.size() + m_pendingBytes; }
    void clear();

private:
    LineBuffer m_lines;
    QByteArray m_code; // of the multi-line reply being read
    QStringList m_text;
    qsizetype m_pendingBytes = 0;
};

// The data port of a 229 reply, "(|||port|)".
std::optional<quint16> parseEpsvPort(QStringView text);
// The data port of a 227 reply, "h1,h2,h3,h4,p1,p2"; the address is deliberately not returned.
std::optional<quint16> parsePasvPort(QStringView text);
// The keywords of a FEAT reply, upper case ("MLST", "UTF8", ...).
QStringList parseFeatures(QStringView text);
// The lines of a FEAT reply, each with its parameters ("REST STREAM", "MLST type*;size*;").
QStringList parseFeatureLines(QStringView text);
// An MDTM reply or an MLSD "modify" fact, "YYYYMMDDHHMMSS[.sss]", in UTC.
std::optional<QDateTime> parseTimeVal(QStringView text);

// One line of a LIST reply, Unix "ls -l" (dates "Mar 10 2024", "10 mar 21:22", "2024-03-10
// 21:22", "03 10 21:22") or MS-DOS/IIS style. Dates without a year are placed in the year that makes them not
// lie in the future as seen from today.
std::optional<UrlInfo> parseListLine(QStringView line, QDate today = QDate::currentDate());
// One line of an MLSD reply ("type=file;size=12;modify=20240131120000; name").
std::optional<UrlInfo> parseMlsdLine(QStringView line);

} // namespace ftp
