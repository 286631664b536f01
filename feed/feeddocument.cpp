#include "feed/feeddocument.h"

#include <QBuffer>
#include <QLocale>
#include <QRegularExpression>
#include <QXmlStreamWriter>

namespace feed {

namespace {

const QString itunes = QStringLiteral("http://www.itunes.com/dtds/podcast-1.0.dtd");
const QString podcast = QStringLiteral("https://podcastindex.org/namespace/1.0");
const QString atom = QStringLiteral("http://www.w3.org/2005/Atom");
const QString psc = QStringLiteral("http://podlove.org/simple-chapters");

// Tags and forms may hold control characters or lone surrogates, which no XML parser accepts.
QString xmlText(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            kept += c;
            kept += text[++i];
            continue;
        }
        const char16_t u = c.unicode();
        const bool allowed = (u >= 0x20 || u == 0x9 || u == 0xA || u == 0xD) && !c.isSurrogate()
                             && u != 0xFFFE && u != 0xFFFF;
        if (allowed)
            kept += c;
    }
    return kept;
}

// With the day of the week, which Qt's RFC 2822 format leaves out and some directories expect.
QString rfc2822(const QDateTime &time)
{
    return QLocale::c().toString(time.toUTC(), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss '+0000'"));
}

class Writer
{
public:
    explicit Writer(QBuffer *buffer) : m_xml(buffer) { m_xml.setAutoFormatting(true); }
    QXmlStreamWriter &xml() { return m_xml; }

    // Optional elements: empty ones are left out, as an empty element says less than none.
    void text(const QString &name, const QString &value) { text(QString(), name, value); }
    void text(const QString &ns, const QString &name, const QString &value)
    {
        const QString clean = xmlText(value.trimmed());
        if (!clean.isEmpty())
            m_xml.writeTextElement(ns, name, clean);
    }
    // RSS 2.0 requires them even empty.
    void required(const QString &name, const QString &value) { m_xml.writeTextElement(name, xmlText(value.trimmed())); }
    void attribute(const QString &name, const QString &value) { m_xml.writeAttribute(name, xmlText(value)); }

private:
    QXmlStreamWriter m_xml;
};

void writeChannelHead(Writer &w, const ShowDetails &show, const QDateTime &built, const QString &generator)
{
    QXmlStreamWriter &xml = w.xml();
    const QString address = feedAddress(show);
    const QString cover = show.coverImage.isEmpty() ? QString() : publishedFileAddress(show, show.coverImage);

    w.required(QStringLiteral("title"), show.title);
    w.required(QStringLiteral("link"), website(show));
    w.required(QStringLiteral("description"), show.description);
    w.text(QStringLiteral("language"), show.language);
    w.text(QStringLiteral("copyright"), show.copyright);
    w.text(QStringLiteral("lastBuildDate"), rfc2822(built));
    w.text(QStringLiteral("generator"), generator);
    xml.writeEmptyElement(atom, QStringLiteral("link"));
    w.attribute(QStringLiteral("href"), address);
    w.attribute(QStringLiteral("rel"), QStringLiteral("self"));
    w.attribute(QStringLiteral("type"), QStringLiteral("application/rss+xml"));
    if (!cover.isEmpty()) {
        xml.writeStartElement(QStringLiteral("image"));
        w.text(QStringLiteral("url"), cover);
        w.text(QStringLiteral("title"), show.title);
        w.text(QStringLiteral("link"), website(show));
        xml.writeEndElement();
    }

    w.text(itunes, QStringLiteral("author"), show.author);
    if (!show.ownerName.trimmed().isEmpty() || !show.ownerEmail.trimmed().isEmpty()) {
        xml.writeStartElement(itunes, QStringLiteral("owner"));
        w.text(itunes, QStringLiteral("name"), show.ownerName);
        w.text(itunes, QStringLiteral("email"), show.ownerEmail);
        xml.writeEndElement();
    }
    if (!cover.isEmpty()) {
        xml.writeEmptyElement(itunes, QStringLiteral("image"));
        w.attribute(QStringLiteral("href"), cover);
    }
    if (!show.category.isEmpty()) {
        xml.writeStartElement(itunes, QStringLiteral("category"));
        w.attribute(QStringLiteral("text"), show.category);
        if (!show.subcategory.isEmpty()) {
            xml.writeEmptyElement(itunes, QStringLiteral("category"));
            w.attribute(QStringLiteral("text"), show.subcategory);
        }
        xml.writeEndElement();
    }
    if (show.explicitContent != Explicit::Unset)
        w.text(itunes, QStringLiteral("explicit"),
               show.explicitContent == Explicit::Yes ? QStringLiteral("true") : QStringLiteral("false"));
    w.text(itunes, QStringLiteral("type"), QStringLiteral("episodic"));
    w.text(podcast, QStringLiteral("guid"), podcastGuid(address).toString(QUuid::WithoutBraces));
    if (show.locked) {
        xml.writeStartElement(podcast, QStringLiteral("locked"));
        w.attribute(QStringLiteral("owner"), show.ownerEmail.trimmed());
        xml.writeCharacters(QStringLiteral("yes"));
        xml.writeEndElement();
    }
    if (!show.fundingUrl.trimmed().isEmpty()) {
        xml.writeStartElement(podcast, QStringLiteral("funding"));
        w.attribute(QStringLiteral("url"), show.fundingUrl.trimmed());
        xml.writeCharacters(xmlText(show.fundingText.trimmed()));
        xml.writeEndElement();
    }
    for (const Person &person : show.people) {
        xml.writeStartElement(podcast, QStringLiteral("person"));
        w.attribute(QStringLiteral("role"), person.role);
        xml.writeCharacters(xmlText(person.name));
        xml.writeEndElement();
    }
}

void writeItem(Writer &w, const ShowDetails &show, const FeedItem &item)
{
    QXmlStreamWriter &xml = w.xml();
    xml.writeStartElement(QStringLiteral("item"));
    w.text(QStringLiteral("title"), item.title);
    w.text(QStringLiteral("description"), item.description);
    xml.writeEmptyElement(QStringLiteral("enclosure"));
    w.attribute(QStringLiteral("url"), publishedFileAddress(show, item.fileName));
    w.attribute(QStringLiteral("length"), QString::number(item.size));
    w.attribute(QStringLiteral("type"), QStringLiteral("audio/mpeg"));
    xml.writeStartElement(QStringLiteral("guid"));
    xml.writeAttribute(QStringLiteral("isPermaLink"), QStringLiteral("false"));
    xml.writeCharacters(xmlText(item.identity.guid));
    xml.writeEndElement();
    w.text(QStringLiteral("pubDate"), rfc2822(item.identity.published));
    if (item.durationMs > 0)
        w.text(itunes, QStringLiteral("duration"), QString::number((item.durationMs + 500) / 1000));
    if (item.episode > 0)
        w.text(itunes, QStringLiteral("episode"), QString::number(item.episode));
    if (item.season > 0) {
        w.text(itunes, QStringLiteral("season"), QString::number(item.season));
        w.text(podcast, QStringLiteral("season"), QString::number(item.season));
    }
    if (item.episode > 0)
        w.text(podcast, QStringLiteral("episode"), QString::number(item.episode));
    if (!item.chaptersFile.isEmpty()) {
        xml.writeEmptyElement(podcast, QStringLiteral("chapters"));
        w.attribute(QStringLiteral("url"), publishedFileAddress(show, item.chaptersFile));
        w.attribute(QStringLiteral("type"), QStringLiteral("application/json+chapters"));
    }
    if (!item.transcriptFile.isEmpty()) {
        xml.writeEmptyElement(podcast, QStringLiteral("transcript"));
        w.attribute(QStringLiteral("url"), publishedFileAddress(show, item.transcriptFile));
        w.attribute(QStringLiteral("type"), item.transcriptType);
        if (!show.language.trimmed().isEmpty())
            w.attribute(QStringLiteral("language"), show.language.trimmed());
        w.attribute(QStringLiteral("rel"), QStringLiteral("captions"));
    }
    if (!item.chapters.isEmpty()) {
        xml.writeStartElement(psc, QStringLiteral("chapters"));
        xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.2"));
        for (const Chapter &chapter : item.chapters) {
            xml.writeEmptyElement(psc, QStringLiteral("chapter"));
            w.attribute(QStringLiteral("start"), normalPlayTime(chapter.startMs));
            w.attribute(QStringLiteral("title"), chapter.title);
            if (!chapter.url.isEmpty())
                w.attribute(QStringLiteral("href"), chapter.url);
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

} // namespace

QUuid podcastGuid(const QString &feedAddress)
{
    static const QUuid space(QStringLiteral("ead4c236-bf58-58c6-a2c6-a6b28d128cb6"));
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    static const QRegularExpression trailingSlashes(QStringLiteral("/+$"));
    QString name = feedAddress;
    name.remove(scheme);
    name.remove(trailingSlashes);
    return QUuid::createUuidV5(space, name.toUtf8());
}

QString episodeGuid(const QString &feedAddress, const QString &fileName)
{
    return QUuid::createUuidV5(podcastGuid(feedAddress), fileName.toUtf8()).toString(QUuid::WithoutBraces);
}

QByteArray feedDocument(const ShowDetails &show, const QList<FeedItem> &items, const QDateTime &built,
                        const QString &generator)
{
    QByteArray document;
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    Writer w(&buffer);
    QXmlStreamWriter &xml = w.xml();
    xml.writeStartDocument();
    xml.writeNamespace(itunes, QStringLiteral("itunes"));
    xml.writeNamespace(podcast, QStringLiteral("podcast"));
    xml.writeNamespace(atom, QStringLiteral("atom"));
    xml.writeNamespace(psc, QStringLiteral("psc"));
    xml.writeStartElement(QStringLiteral("rss"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    xml.writeStartElement(QStringLiteral("channel"));
    writeChannelHead(w, show, built, generator);
    for (const FeedItem &item : items)
        writeItem(w, show, item);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return document;
}

} // namespace feed
