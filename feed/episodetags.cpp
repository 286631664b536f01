#include "feed/episodetags.h"

#include <algorithm>

#include <QFile>
#include <QRegularExpression>

#include <taglib/chapterframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tableofcontentsframe.h>
#include <taglib/tpropertymap.h>
#include <taglib/urllinkframe.h>

namespace feed {

namespace {

QString qString(const TagLib::String &text)
{
    return QString::fromUtf8(text.toCString(true)).trimmed();
}

QString firstValue(const TagLib::PropertyMap &properties, const char *key)
{
    const auto found = properties.find(key);
    if (found == properties.end() || found->second.isEmpty())
        return {};
    return qString(found->second.front());
}

Chapter chapterOf(const TagLib::ID3v2::ChapterFrame &frame)
{
    Chapter chapter;
    chapter.startMs = frame.startTime();
    if (const TagLib::ID3v2::FrameList &titles = frame.embeddedFrameList("TIT2"); !titles.isEmpty())
        chapter.title = qString(titles.front()->toString());
    // The link: a user URL frame (WXXX) as chapter editors write it, else any other URL frame.
    for (const TagLib::ID3v2::Frame *embedded : frame.embeddedFrameList()) {
        if (const auto *link = dynamic_cast<const TagLib::ID3v2::UrlLinkFrame *>(embedded)) {
            chapter.url = qString(link->url());
            if (embedded->frameID() == "WXXX")
                break;
        }
    }
    return chapter;
}

QList<Chapter> readChapters(TagLib::ID3v2::Tag *tag)
{
    QList<std::pair<TagLib::ByteVector, Chapter>> found;
    for (const TagLib::ID3v2::Frame *frame : tag->frameList("CHAP")) {
        if (const auto *chapter = dynamic_cast<const TagLib::ID3v2::ChapterFrame *>(frame))
            found.append({chapter->elementID(), chapterOf(*chapter)});
    }
    std::stable_sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a.second.startMs < b.second.startMs; });
    QList<Chapter> chapters;
    for (const TagLib::ID3v2::Frame *frame : tag->frameList("CTOC")) {
        const auto *table = dynamic_cast<const TagLib::ID3v2::TableOfContentsFrame *>(frame);
        if (!table || !table->isTopLevel())
            continue;
        // The table's order first; chapters it leaves out follow by start time.
        for (const TagLib::ByteVector &id : table->childElements()) {
            const auto listed = std::find_if(found.begin(), found.end(), [&](const auto &entry) { return entry.first == id; });
            if (listed != found.end()) {
                chapters.append(listed->second);
                found.erase(listed);
            }
        }
        break;
    }
    for (const auto &entry : std::as_const(found))
        chapters.append(entry.second);
    return chapters;
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
    if (file.hasID3v2Tag())
        tags.chapters = readChapters(file.ID3v2Tag());
    if (const TagLib::AudioProperties *audio = file.audioProperties())
        tags.durationMs = std::max(0, audio->lengthInMilliseconds());
    return tags;
}

} // namespace feed
