#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the client decides about objects before it talks to the store.
namespace s3 {

// Files up to this size go in one PUT; larger ones in parts.
inline constexpr qint64 singlePutLimit = 16 * 1024 * 1024;
inline constexpr qint64 minimumPartSize = 8 * 1024 * 1024;
inline constexpr int maximumParts = 10000;

// Equal parts (the last one shorter) of a multipart upload of size bytes: at least
// minimumPartSize, in whole MiB, few enough for maximumParts.
struct PartPlan
{
    qint64 partSize = 0;
    int count = 0;
};
PartPlan partPlan(qint64 size);

// The Content-Type an object gets from its name; head (the file's first bytes) tells an RSS
// feed from another XML document.
QByteArray contentType(const QString &name, const QByteArray &head);
// A short lifetime in caches for documents rewritten at every publish (the feed, the
// playlist), so that listeners see a new episode within minutes; empty for the others.
QByteArray cacheControl(const QString &name);

// A folder path ("bucket/prefix/...") as its segments, after dir is entered from current:
// '/' first starts from the top, "." stays, ".." goes up. Nothing when ".." leaves the top.
std::optional<QStringList> enterPath(const QStringList &current, const QString &dir);
// The key prefix of the folder segments after the bucket: "a/b/", or empty at the bucket's top.
QString keyPrefix(const QStringList &path);
// A name that stands for one object of the current folder: no '/', not "." nor "..".
bool isObjectName(const QString &name);

} // namespace s3
