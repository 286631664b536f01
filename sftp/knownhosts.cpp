#include "sftp/knownhosts.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMessageAuthenticationCode>

namespace knownhosts {

namespace {

// Glob match of OpenSSH's host patterns: * any run, ? one character, case-insensitive.
bool globMatches(QStringView pattern, QStringView text)
{
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype starAt = -1;
    qsizetype starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p].toLower() == text[t].toLower())) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            starText = t;
        } else if (starAt >= 0) {
            p = starAt + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool hashedMatches(const QByteArray &field, const QString &hostEntry)
{
    const QList<QByteArray> parts = field.split('|'); // "", "1", salt, hash
    if (parts.size() != 4 || parts[1] != "1")
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2]);
    const QByteArray hash = QByteArray::fromBase64(parts[3]);
    return !salt.isEmpty()
        && QMessageAuthenticationCode::hash(hostEntry.toUtf8(), salt, QCryptographicHash::Sha1) == hash;
}

} // namespace

QString hostEntry(const QString &host, quint16 port)
{
    if (port == 22)
        return host;
    return QStringLiteral("[%1]:%2").arg(host).arg(port);
}

bool hostFieldMatches(const QByteArray &field, const QString &hostEntry)
{
    if (field.startsWith('|'))
        return hashedMatches(field, hostEntry);
    bool matched = false;
    for (const QByteArray &item : field.split(',')) {
        const bool negated = item.startsWith('!');
        const QString pattern = QString::fromUtf8(negated ? item.mid(1) : item);
        if (!globMatches(pattern, hostEntry))
            continue;
        if (negated)
            return false;
        matched = true;
    }
    return matched;
}

Lookup lookup(const QStringList &files, const QString &hostEntry, const QString &keyType, const QByteArray &keyBlob)
{
    Lookup known;
    Lookup changed;
    for (const QString &fileName : files) {
        QFile file(fileName);
        if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
            continue;
        int number = 0;
        while (!file.atEnd()) {
            ++number;
            const QList<QByteArray> fields = file.readLine().simplified().split(' ');
            if (fields.isEmpty() || fields[0].isEmpty() || fields[0].startsWith('#'))
                continue;
            qsizetype first = 0;
            const bool revoking = fields[0] == "@revoked";
            if (fields[0].startsWith('@')) {
                if (!revoking) // certificate authorities: no certificates are taken
                    continue;
                first = 1;
            }
            if (fields.size() < first + 3 || !hostFieldMatches(fields[first], hostEntry))
                continue;
            const bool sameType = QString::fromUtf8(fields[first + 1]) == keyType;
            const bool sameKey = sameType && QByteArray::fromBase64(fields[first + 2]) == keyBlob;
            if (revoking && sameKey)
                return {Lookup::Revoked, fileName, number};
            if (revoking)
                continue;
            if (sameKey && known.verdict == Lookup::Unknown)
                known = {Lookup::Known, fileName, number};
            else if (sameType && !sameKey && changed.verdict == Lookup::Unknown)
                changed = {Lookup::Changed, fileName, number};
        }
    }
    if (known.verdict == Lookup::Known)
        return known;
    return changed;
}

QByteArray entryLine(const QString &hostEntry, const QString &keyType, const QByteArray &keyBlob)
{
    return hostEntry.toUtf8() + ' ' + keyType.toUtf8() + ' ' + keyBlob.toBase64();
}

bool append(const QString &fileName, const QByteArray &line, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        *error = file.errorString();
        return false;
    }
    // A last line without its end would run into ours.
    QByteArray bytes;
    if (file.size() > 0 && file.seek(file.size() - 1) && file.read(1) != "\n")
        bytes = "\n";
    bytes += line + '\n';
    if (!file.seek(file.size()) || file.write(bytes) != bytes.size() || !file.flush()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

QString fingerprint(const QByteArray &keyBlob)
{
    QByteArray digest = QCryptographicHash::hash(keyBlob, QCryptographicHash::Sha256).toBase64(QByteArray::OmitTrailingEquals);
    return QStringLiteral("SHA256:") + QString::fromLatin1(digest);
}

} // namespace knownhosts
