#include "s3/s3xml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace s3 {

StoreError parseError(const QByteArray &xml)
{
    StoreError error;
    QXmlStreamReader reader(xml);
    while (reader.readNextStartElement()) {
        if (reader.name() != QLatin1String("Error"))
            return error;
        while (reader.readNextStartElement()) {
            const QString name = reader.name().toString();
            const QString text = reader.readElementText(QXmlStreamReader::SkipChildElements);
            if (name == QLatin1String("Code"))
                error.code = text;
            else if (name == QLatin1String("Message"))
                error.message = text;
            else if (name == QLatin1String("Region"))
                error.region = text;
        }
    }
    return error;
}

namespace {

ObjectEntry readContents(QXmlStreamReader &reader)
{
    ObjectEntry entry;
    while (reader.readNextStartElement()) {
        const auto name = reader.name();
        if (name == QLatin1String("Key")) {
            entry.key = reader.readElementText();
        } else if (name == QLatin1String("Size")) {
            bool ok = false;
            const qint64 size = reader.readElementText().toLongLong(&ok);
            entry.size = ok && size >= 0 ? size : -1;
        } else if (name == QLatin1String("LastModified")) {
            QDateTime when = QDateTime::fromString(reader.readElementText(), Qt::ISODateWithMs);
            entry.lastModified = when.isValid() ? when.toUTC() : QDateTime();
        } else {
            reader.skipCurrentElement();
        }
    }
    return entry;
}

} // namespace

ListPage parseListPage(const QByteArray &xml)
{
    ListPage page;
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("ListBucketResult"))
        return page;
    bool truncated = false;
    while (reader.readNextStartElement()) {
        const auto name = reader.name();
        if (name == QLatin1String("Contents")) {
            page.objects.append(readContents(reader));
        } else if (name == QLatin1String("CommonPrefixes")) {
            while (reader.readNextStartElement()) {
                if (reader.name() == QLatin1String("Prefix"))
                    page.commonPrefixes.append(reader.readElementText());
                else
                    reader.skipCurrentElement();
            }
        } else if (name == QLatin1String("IsTruncated")) {
            truncated = reader.readElementText() == QLatin1String("true");
        } else if (name == QLatin1String("NextContinuationToken")) {
            page.continuationToken = reader.readElementText();
        } else {
            reader.skipCurrentElement();
        }
    }
    if (!truncated)
        page.continuationToken.clear();
    // A truncated page without a token cannot be continued: read as broken, not as the end.
    page.valid = !reader.hasError() && (!truncated || !page.continuationToken.isEmpty());
    return page;
}

QString parseUploadId(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("InitiateMultipartUploadResult"))
        return QString();
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("UploadId"))
            return reader.readElementText();
        reader.skipCurrentElement();
    }
    return QString();
}

QByteArray completeMultipartBody(const QList<QByteArray> &etags)
{
    QByteArray body;
    QXmlStreamWriter writer(&body);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("CompleteMultipartUpload"));
    writer.writeDefaultNamespace(QStringLiteral("http://s3.amazonaws.com/doc/2006-03-01/"));
    for (qsizetype i = 0; i < etags.size(); ++i) {
        writer.writeStartElement(QStringLiteral("Part"));
        writer.writeTextElement(QStringLiteral("PartNumber"), QString::number(i + 1));
        writer.writeTextElement(QStringLiteral("ETag"), QString::fromLatin1(etags.at(i)));
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return body;
}

} // namespace s3
