#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// SSH host keys in OpenSSH's known_hosts format: "host,host2 key-type base64-key" lines, hosts as
// names, "[host]:port" for a port other than 22, patterns with * and ?, negated with !, or
// hashed ("|1|salt|hash"); "@revoked" lines refuse a key.
namespace knownhosts {

// The host as known_hosts names it: "example.org", "[example.org]:2222".
QString hostEntry(const QString &host, quint16 port);

struct Lookup
{
    enum Verdict { Unknown, Known, Changed, Revoked };
    Verdict verdict = Unknown;
    // Of Changed and Revoked: the line that names another key of the same type for the host, or
    // that revokes this key (1-based).
    QString file;
    int line = 0;
};

// The server's key (type as OpenSSH names it, "ssh-ed25519"; the key blob) against the files,
// read in order; missing files know nothing. A key that any line names for the host is known,
// unless a line revokes it; another key of the same type makes it changed.
Lookup lookup(const QStringList &files, const QString &hostEntry, const QString &keyType, const QByteArray &keyBlob);

// The line that makes the key known: "[host]:port ssh-ed25519 AAAA...".
QByteArray entryLine(const QString &hostEntry, const QString &keyType, const QByteArray &keyBlob);
// Appends line to fileName (made when missing), on a line of its own; false with *error set
// when it could not.
bool append(const QString &fileName, const QByteArray &line, QString *error);

// "SHA256:...", the key blob's digest as ssh-keygen -l prints it (base64 without padding).
QString fingerprint(const QByteArray &keyBlob);

// Whether a known_hosts host field ("a,b,[c]:2222", "*.example.org,!x.example.org",
// "|1|salt|hash") names hostEntry.
bool hostFieldMatches(const QByteArray &field, const QString &hostEntry);

} // namespace knownhosts
