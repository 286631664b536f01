#include "s3/s3xml.h"

#include <functional>

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace s3 {

namespace {

// The fields of the <Error> element the reader stands in; key gets its <Key> where it has one.
StoreError readError(QXmlStreamReader &reader, QString *key = nullptr)
{
    StoreError error;
    while (reader.readNextStartElement()) {
        const QString name = reader.name().toString();
        const QString text = reader.readElementText(QXmlStreamReader::SkipChildElements);
        if (name == QLatin1String("Code"))
            error.code = text;
        else if (name == QLatin1String("Message"))
            error.message = text;
        else if (name == QLatin1String("Region"))
            error.region = text;
        else if (name == QLatin1String("Key") && key)
            *key = text;
    }
    return error;
}

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

// A request body: the root element in the S3 namespace, holding what content writes.
QByteArray document(const QString &root, const std::function<void(QXmlStreamWriter &)> &content)
{
    QByteArray body;
    QXmlStreamWriter writer(&body);
    writer.writeStartDocument();
    writer.writeStartElement(root);
    writer.writeDefaultNamespace(QStringLiteral("http://s3.amazonaws.com/doc/2006-03-01/"));
    content(writer);
    writer.writeEndElement();
    writer.writeEndDocument();
    return body;
}

} // namespace

StoreError parseError(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("Error"))
        return StoreError();
    return readError(reader);
}

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
    return document(QStringLiteral("CompleteMultipartUpload"), [&](QXmlStreamWriter &writer) {
        for (qsizetype i = 0; i < etags.size(); ++i) {
            writer.writeStartElement(QStringLiteral("Part"));
            writer.writeTextElement(QStringLiteral("PartNumber"), QString::number(i + 1));
            writer.writeTextElement(QStringLiteral("ETag"), QString::fromLatin1(etags.at(i)));
            writer.writeEndElement();
        }
    });
}

QByteArray deleteObjectsBody(const QStringList &keys)
{
    return document(QStringLiteral("Delete"), [&](QXmlStreamWriter &writer) {
        writer.writeTextElement(QStringLiteral("Quiet"), QStringLiteral("false"));
        for (const QString &key : keys) {
            writer.writeStartElement(QStringLiteral("Object"));
            writer.writeTextElement(QStringLiteral("Key"), key);
            writer.writeEndElement();
        }
    });
}

DeleteResult parseDeleteResult(const QByteArray &xml)
{
    DeleteResult result;
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("DeleteResult"))
        return result;
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("Deleted")) {
            while (reader.readNextStartElement()) {
                if (reader.name() == QLatin1String("Key"))
                    result.deleted.append(reader.readElementText());
                else
                    reader.skipCurrentElement();
            }
        } else if (reader.name() == QLatin1String("Error")) {
            QString key;
            const StoreError error = readError(reader, &key);
            result.errors.insert(key, error);
        } else {
            reader.skipCurrentElement();
        }
    }
    result.valid = !reader.hasError();
    return result;
}

} // namespace s3
