#pragma once

#include <optional>

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "ftp/urlinfo.h"

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

// Takes the first complete reply off the front of buffer, or returns nothing while it still
// needs more bytes. Lines may end in CRLF or a bare LF; text is UTF-8.
std::optional<Reply> takeReply(QByteArray &buffer);

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

// One line of a LIST reply, Unix "ls -l" or MS-DOS/IIS style. Dates without a year are placed
// in the year that makes them not lie in the future as seen from today.
std::optional<UrlInfo> parseListLine(QStringView line, QDate today = QDate::currentDate());
// One line of an MLSD reply ("type=file;size=12;modify=20240131120000; name").
std::optional<UrlInfo> parseMlsdLine(QStringView line);

} // namespace ftp
