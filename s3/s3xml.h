#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The XML documents of the S3 API that the client reads and writes.
namespace s3 {

// An <Error> document; empty fields when the body is none.
struct StoreError
{
    QString code;
    QString message;
    // The region the store expects (AuthorizationHeaderMalformed, PermanentRedirect...).
    QString region;
};
StoreError parseError(const QByteArray &xml);

struct ObjectEntry
{
    QString key;
    qint64 size = -1;
    QDateTime lastModified; // UTC
};

// One page of a ListObjectsV2 reply.
struct ListPage
{
    QList<ObjectEntry> objects;
    QStringList commonPrefixes;
    // The token of the next page; empty on the last one.
    QString continuationToken;
    bool valid = false;
};
ListPage parseListPage(const QByteArray &xml);

// The UploadId of an InitiateMultipartUpload reply; empty when there is none.
QString parseUploadId(const QByteArray &xml);

// The body of CompleteMultipartUpload: the ETags of parts 1, 2... in order.
QByteArray completeMultipartBody(const QList<QByteArray> &etags);

// The body of DeleteObjects for keys, each reported on in the reply (no quiet mode).
QByteArray deleteObjectsBody(const QStringList &keys);

// A DeleteObjects reply: the keys removed, and the refusal of each key that was not.
struct DeleteResult
{
    QStringList deleted;
    QHash<QString, StoreError> errors;
    bool valid = false;
};
DeleteResult parseDeleteResult(const QByteArray &xml);

} // namespace s3
