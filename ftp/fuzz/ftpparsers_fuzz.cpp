// libFuzzer target for what a server sends: replies, passive ports, features and listings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QString>

#include "ftp/ftpparsers.h"

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // Fed in pieces of a size the input picks, as a network would.
    const qsizetype piece = bytes.isEmpty() ? 1 : 1 + static_cast<unsigned char>(bytes[0]) % 16;
    ftp::ReplyReader reader;
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        reader.append(bytes.mid(at, piece));
        while (const auto reply = reader.next()) {
            check(reply->code == 0 || (reply->code >= 100 && reply->code <= 599));
            check(ftp::replyMessage(*reply).startsWith(QString::number(reply->code)));
        }
        check(reader.pendingSize() <= bytes.size());
    }

    const QString text = QString::fromUtf8(bytes);
    if (const auto port = ftp::parseEpsvPort(text))
        check(*port != 0);
    if (const auto port = ftp::parsePasvPort(text))
        check(*port != 0);
    for (const QString &feature : ftp::parseFeatures(text))
        check(!feature.isEmpty());

    for (QStringView line : QStringView(text).split(u'\n')) {
        if (const auto info = ftp::parseListLine(line, QDate(2024, 6, 15))) {
            check(!info->name().isEmpty());
            check(info->isDir() != info->isFile());
        }
        if (const auto info = ftp::parseMlsdLine(line))
            check(!info->name().isEmpty());
    }
    return 0;
}
