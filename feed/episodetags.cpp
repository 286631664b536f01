#include "feed/episodetags.h"

#include <algorithm>

#include <QFile>
#include <QRegularExpression>

#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

namespace feed {

namespace {

QString firstValue(const TagLib::PropertyMap &properties, const char *key)
{
    const auto found = properties.find(key);
    if (found == properties.end() || found->second.isEmpty())
        return {};
    return QString::fromUtf8(found->second.front().toCString(true)).trimmed();
}

} // namespace

QDateTime fullDate(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})(?:[T ](\\d{2}:\\d{2}(?::\\d{2})?))?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return {};
    const QDate date = QDate::fromString(match.captured(1), Qt::ISODate);
    // A date alone is placed at noon UTC: it then reads as the same day almost everywhere.
    const QTime time = match.hasCaptured(2) ? QTime::fromString(match.captured(2), Qt::ISODate) : QTime(12, 0);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

int plainNumber(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^0*([1-9]\\d{0,8})(?:/\\d+)?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

EpisodeTags readEpisodeTags(const QString &path)
{
    EpisodeTags tags;
    const QByteArray name = QFile::encodeName(path);
    TagLib::MPEG::File file(name.constData(), true, TagLib::AudioProperties::Fast);
    if (!file.isOpen())
        return tags;
    const TagLib::PropertyMap properties = file.properties();
    tags.title = firstValue(properties, "TITLE");
    tags.description = firstValue(properties, "COMMENT");
    if (tags.description.isEmpty())
        tags.description = firstValue(properties, "SUBTITLE");
    tags.episode = plainNumber(firstValue(properties, "TRACKNUMBER"));
    tags.season = plainNumber(firstValue(properties, "DISCNUMBER"));
    tags.released = fullDate(firstValue(properties, "RELEASEDATE"));
    if (!tags.released.isValid())
        tags.released = fullDate(firstValue(properties, "DATE"));
    if (const TagLib::AudioProperties *audio = file.audioProperties())
        tags.durationMs = std::max(0, audio->lengthInMilliseconds());
    return tags;
}

} // namespace feed
