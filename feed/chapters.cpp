#include "feed/chapters.h"

#include <cmath>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace feed {

QString chaptersFileName(const QString &episodeTitle)
{
    return episodeTitle + QStringLiteral(".chapters.json");
}

QByteArray chaptersJson(const QList<Chapter> &chapters)
{
    QJsonArray list;
    for (const Chapter &chapter : chapters) {
        QJsonObject entry{{QStringLiteral("startTime"), static_cast<double>(chapter.startMs) / 1000},
                          {QStringLiteral("title"), chapter.title}};
        if (!chapter.url.isEmpty())
            entry.insert(QStringLiteral("url"), chapter.url);
        list.append(entry);
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("version"), QStringLiteral("1.2.0")},
                                     {QStringLiteral("chapters"), list}})
        .toJson(QJsonDocument::Indented);
}

std::optional<QList<Chapter>> parseChaptersJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue list = document.object().value(QStringLiteral("chapters"));
    if (!list.isArray())
        return std::nullopt;
    QList<Chapter> chapters;
    for (const QJsonValue &value : list.toArray()) {
        const QJsonValue start = value.toObject().value(QStringLiteral("startTime"));
        if (!value.isObject() || !start.isDouble() || start.toDouble() < 0 || !std::isfinite(start.toDouble()))
            return std::nullopt;
        const QJsonObject entry = value.toObject();
        chapters.append({std::llround(start.toDouble() * 1000), entry.value(QStringLiteral("title")).toString(),
                         entry.value(QStringLiteral("url")).toString()});
    }
    return chapters;
}

QString normalPlayTime(qint64 ms)
{
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

} // namespace feed
