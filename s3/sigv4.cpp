#include "s3/sigv4.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRegularExpression>

namespace s3 {

namespace {

QByteArray hmac(const QByteArray &key, const QByteArray &message)
{
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256);
}

QByteArray headerValue(const Pairs &headers, const QByteArray &lowerName)
{
    for (const auto &[name, value] : headers) {
        if (name.toLower() == lowerName)
            return value.trimmed();
    }
    return QByteArray();
}

// Lower-case names, sorted; the values of a repeated name joined with ',' in their order; each
// value trimmed, its inner runs of spaces made one.
Pairs canonicalHeaders(const Pairs &headers)
{
    Pairs canonical;
    for (const auto &[name, value] : headers) {
        const QByteArray lower = name.toLower().trimmed();
        const QByteArray trimmed = value.simplified();
        auto it = std::find_if(canonical.begin(), canonical.end(), [&](const auto &entry) { return entry.first == lower; });
        if (it != canonical.end())
            it->second += ',' + trimmed;
        else
            canonical.append({lower, trimmed});
    }
    std::stable_sort(canonical.begin(), canonical.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    return canonical;
}

QByteArray scope(const Request &request, const Credentials &credentials)
{
    return headerValue(request.headers, "x-amz-date").left(8) + '/' + credentials.region.toUtf8() + '/'
           + credentials.service.toUtf8() + "/aws4_request";
}

} // namespace

QByteArray uriEncode(const QByteArray &text, bool keepSlash)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray encoded;
    encoded.reserve(text.size() * 3);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')
                                || byte == '-' || byte == '_' || byte == '.' || byte == '~';
        if (unreserved || (keepSlash && byte == '/')) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 0xF];
        }
    }
    return encoded;
}

QByteArray canonicalQuery(const Pairs &query)
{
    Pairs encoded;
    for (const auto &[name, value] : query)
        encoded.append({uriEncode(name, false), uriEncode(value, false)});
    std::sort(encoded.begin(), encoded.end());
    QByteArrayList parts;
    for (const auto &[name, value] : encoded)
        parts.append(name + '=' + value);
    return parts.join('&');
}

Pairs parseQuery(const QByteArray &query)
{
    Pairs pairs;
    for (const QByteArray &part : query.split('&')) {
        if (part.isEmpty())
            continue;
        const qsizetype equals = part.indexOf('=');
        const QByteArray name = equals < 0 ? part : part.left(equals);
        const QByteArray value = equals < 0 ? QByteArray() : part.mid(equals + 1);
        pairs.append({QByteArray::fromPercentEncoding(name), QByteArray::fromPercentEncoding(value)});
    }
    return pairs;
}

QByteArray signedHeaders(const Pairs &headers)
{
    QByteArrayList names;
    for (const auto &entry : canonicalHeaders(headers))
        names.append(entry.first);
    return names.join(';');
}

QByteArray canonicalRequest(const Request &request)
{
    QByteArray headerLines;
    for (const auto &[name, value] : canonicalHeaders(request.headers))
        headerLines += name + ':' + value + '\n';
    // S3 signs the path encoded once, as sent; other services would encode it twice.
    return request.method + '\n' + uriEncode(request.path, true) + '\n' + canonicalQuery(request.query) + '\n'
           + headerLines + '\n' + signedHeaders(request.headers) + '\n' + request.payloadHash;
}

QByteArray stringToSign(const Request &request, const Credentials &credentials)
{
    return "AWS4-HMAC-SHA256\n" + headerValue(request.headers, "x-amz-date") + '\n' + scope(request, credentials) + '\n'
           + QCryptographicHash::hash(canonicalRequest(request), QCryptographicHash::Sha256).toHex();
}

QByteArray signature(const Request &request, const Credentials &credentials)
{
    const QByteArray date = headerValue(request.headers, "x-amz-date").left(8);
    const QByteArray dateKey = hmac("AWS4" + credentials.secret.toUtf8(), date);
    const QByteArray regionKey = hmac(dateKey, credentials.region.toUtf8());
    const QByteArray serviceKey = hmac(regionKey, credentials.service.toUtf8());
    const QByteArray signingKey = hmac(serviceKey, "aws4_request");
    return hmac(signingKey, stringToSign(request, credentials)).toHex();
}

QByteArray authorization(const Request &request, const Credentials &credentials)
{
    return "AWS4-HMAC-SHA256 Credential=" + credentials.accessKey.toUtf8() + '/' + scope(request, credentials)
           + ", SignedHeaders=" + signedHeaders(request.headers) + ", Signature=" + signature(request, credentials);
}

QString regionOf(const QString &host)
{
    static const QRegularExpression named(
        QStringLiteral("^(?:.+\\.)?s3[.-]([a-z0-9-]+)\\.(?:amazonaws\\.com|backblazeb2\\.com|scw\\.cloud)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString name = host.trimmed().toLower();
    if (name.endsWith(QLatin1String(".r2.cloudflarestorage.com")))
        return QStringLiteral("auto");
    const QRegularExpressionMatch match = named.match(name);
    // s3.amazonaws.com and s3-external-1.amazonaws.com are us-east-1's own.
    if (match.hasMatch() && match.captured(1) != QLatin1String("external-1"))
        return match.captured(1);
    return QStringLiteral("us-east-1");
}

} // namespace s3
