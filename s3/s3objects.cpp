#include "s3/s3objects.h"

#include <algorithm>

#include <QHash>

namespace s3 {

PartPlan partPlan(qint64 size)
{
    constexpr qint64 mebibyte = 1024 * 1024;
    const qint64 needed = (size + maximumParts - 1) / maximumParts;
    const qint64 partSize = std::max(minimumPartSize, (needed + mebibyte - 1) / mebibyte * mebibyte);
    return {partSize, static_cast<int>(size <= 0 ? 1 : (size + partSize - 1) / partSize)};
}

QByteArray contentType(const QString &name, const QByteArray &head)
{
    static const QHash<QString, QByteArray> types{
        {QStringLiteral("mp3"), "audio/mpeg"},
        {QStringLiteral("m4a"), "audio/mp4"},
        {QStringLiteral("mp4"), "video/mp4"},
        {QStringLiteral("ogg"), "audio/ogg"},
        {QStringLiteral("oga"), "audio/ogg"},
        {QStringLiteral("opus"), "audio/ogg"},
        {QStringLiteral("flac"), "audio/flac"},
        {QStringLiteral("wav"), "audio/wav"},
        {QStringLiteral("xml"), "application/xml"},
        {QStringLiteral("rss"), "application/rss+xml"},
        {QStringLiteral("xspf"), "application/xspf+xml"},
        {QStringLiteral("html"), "text/html; charset=utf-8"},
        {QStringLiteral("htm"), "text/html; charset=utf-8"},
        {QStringLiteral("css"), "text/css"},
        {QStringLiteral("js"), "text/javascript"},
        {QStringLiteral("json"), "application/json"},
        {QStringLiteral("vtt"), "text/vtt"},
        {QStringLiteral("srt"), "application/x-subrip"},
        {QStringLiteral("txt"), "text/plain; charset=utf-8"},
        {QStringLiteral("swf"), "application/x-shockwave-flash"},
        {QStringLiteral("jpg"), "image/jpeg"},
        {QStringLiteral("jpeg"), "image/jpeg"},
        {QStringLiteral("png"), "image/png"},
        {QStringLiteral("gif"), "image/gif"},
        {QStringLiteral("webp"), "image/webp"},
        {QStringLiteral("svg"), "image/svg+xml"},
    };
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1).toLower();
    if (extension == QLatin1String("xml") && head.left(1024).contains("<rss"))
        return "application/rss+xml";
    return types.value(extension, "application/octet-stream");
}

QByteArray cacheControl(const QString &name)
{
    const QString lower = name.toLower();
    return lower.endsWith(QLatin1String(".xml")) || lower.endsWith(QLatin1String(".rss")) ? "max-age=300" : QByteArray();
}

std::optional<QStringList> enterPath(const QStringList &current, const QString &dir)
{
    QStringList path = dir.startsWith(QLatin1Char('/')) ? QStringList() : current;
    for (const QString &segment : dir.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (segment == QLatin1String("."))
            continue;
        if (segment != QLatin1String("..")) {
            path.append(segment);
        } else if (path.isEmpty()) {
            return std::nullopt;
        } else {
            path.removeLast();
        }
    }
    return path;
}

QString keyPrefix(const QStringList &path)
{
    const QStringList folders = path.mid(1);
    return folders.isEmpty() ? QString() : folders.join(QLatin1Char('/')) + QLatin1Char('/');
}

bool isObjectName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") && name != QLatin1String("..");
}

} // namespace s3
