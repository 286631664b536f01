#pragma once

#include <utility>

#include <QByteArray>
#include <QList>
#include <QString>

// AWS Signature Version 4, as S3 and the stores compatible with it check it.
namespace s3 {

using Pairs = QList<std::pair<QByteArray, QByteArray>>;

// The SHA-256 of an empty payload, in hex.
inline constexpr char emptyPayloadHash[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
// The payload hash of a request whose body is checked by Content-MD5 instead.
inline constexpr char unsignedPayload[] = "UNSIGNED-PAYLOAD";

struct Credentials
{
    QString accessKey;
    QString secret;
    QString region;
    QString service = QStringLiteral("s3");
};

// What is signed of a request. path and the query's names and values are as the user gave them
// (not percent-encoded); headers in any order and case, with "x-amz-date" among them, whose
// time is the time of the signature.
struct Request
{
    QByteArray method;
    QByteArray path;
    Pairs query;
    Pairs headers;
    QByteArray payloadHash;
};

// RFC 3986 percent-encoding of everything but the unreserved characters, and of '/' unless
// keepSlash: SigV4's UriEncode, which the request target must use too.
QByteArray uriEncode(const QByteArray &text, bool keepSlash);
// name=value pairs joined with '&', each part encoded, sorted by name then value.
QByteArray canonicalQuery(const Pairs &query);
// A raw query string ("a=1&b", percent-encoded) as pairs of decoded names and values.
Pairs parseQuery(const QByteArray &query);

QByteArray canonicalRequest(const Request &request);
QByteArray stringToSign(const Request &request, const Credentials &credentials);
// The lower-case names of the signed headers, sorted, joined with ';'.
QByteArray signedHeaders(const Pairs &headers);
// The hex signature, and the Authorization header that carries it.
QByteArray signature(const Request &request, const Credentials &credentials);
QByteArray authorization(const Request &request, const Credentials &credentials);

// The region an endpoint's name tells (AWS, Backblaze B2, Scaleway; "auto" for Cloudflare R2),
// else "us-east-1", which the other stores accept.
QString regionOf(const QString &host);

} // namespace s3
