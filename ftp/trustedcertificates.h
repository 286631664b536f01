#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslError>
#include <QString>

#include "ftp/hostrecords.h"

// The servers' certificates that the user chose to trust always, by SHA-256 fingerprint, one per
// host and port. They live in a file of their own, a "host port fingerprint" line each:
// config.ini is rewritten whole by every profile save.
class TrustedCertificates
{
public:
    enum class Verdict { Unknown, Trusted, Changed };

    // Reads fileName; a missing file trusts nothing.
    explicit TrustedCertificates(const QString &fileName);

    bool contains(const QString &host, quint16 port) const;
    Verdict check(const QString &host, quint16 port, const QSslCertificate &certificate) const;
    // Trusts certificate for host and port from now on, in place of any other, and rewrites the
    // file whole; false, with errorString(), when it could not be written.
    bool trust(const QString &host, quint16 port, const QSslCertificate &certificate);
    QString errorString() const { return m_fingerprints.errorString(); }

private:
    HostRecords m_fingerprints;
};

// "AB:CD:…", as browsers show it.
QString sha256Fingerprint(const QSslCertificate &certificate);

// The question put to the user about a certificate that failed verification: the server, the
// errors, the certificate's subject, issuer, validity and fingerprint, and a warning when it
// replaces one that was trusted. Translated in the main window's context.
QString certificateQuestion(const QString &host, quint16 port, const QSslCertificate &certificate,
                            const QList<QSslError> &errors, bool changed);
