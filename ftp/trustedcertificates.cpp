#include "ftp/trustedcertificates.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QStringList>

namespace {

QString names(const QSslCertificate &certificate, QStringList (QSslCertificate::*info)(QSslCertificate::SubjectInfo) const)
{
    QStringList parts = (certificate.*info)(QSslCertificate::CommonName);
    parts += (certificate.*info)(QSslCertificate::Organization);
    return parts.join(QStringLiteral(", "));
}

QString day(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"));
}

} // namespace

TrustedCertificates::TrustedCertificates(const QString &fileName)
    : m_fingerprints(fileName)
{
}

bool TrustedCertificates::contains(const QString &host, quint16 port) const
{
    return !m_fingerprints.value(host, port).isEmpty();
}

TrustedCertificates::Verdict TrustedCertificates::check(const QString &host, quint16 port,
                                                        const QSslCertificate &certificate) const
{
    if (!contains(host, port))
        return Verdict::Unknown;
    return m_fingerprints.value(host, port) == sha256Fingerprint(certificate) ? Verdict::Trusted : Verdict::Changed;
}

bool TrustedCertificates::trust(const QString &host, quint16 port, const QSslCertificate &certificate)
{
    return m_fingerprints.insert(host, port, sha256Fingerprint(certificate));
}

QString sha256Fingerprint(const QSslCertificate &certificate)
{
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

QString certificateQuestion(const QString &host, quint16 port, const QSslCertificate &certificate,
                            const QList<QSslError> &errors, bool changed)
{
    QStringList lines;
    if (changed) {
        lines << QCoreApplication::translate("ftpupload",
                                             "Attention : ce certificat n'est pas celui que vous aviez approuvé pour ce serveur. "
                                             "Il a peut-être été renouvelé, mais un autre serveur peut aussi se faire passer pour lui.")
              << QString();
    }
    lines << QCoreApplication::translate("ftpupload", "Le certificat du serveur %1 (port %2) n'a pas pu être vérifié :").arg(host).arg(port);
    for (const QSslError &error : errors)
        lines << QStringLiteral("- ") + error.errorString();
    lines << QString() << QCoreApplication::translate("ftpupload", "Sujet : %1").arg(names(certificate, &QSslCertificate::subjectInfo))
          << QCoreApplication::translate("ftpupload", "Émetteur : %1").arg(names(certificate, &QSslCertificate::issuerInfo))
          << QCoreApplication::translate("ftpupload", "Valide du %1 au %2").arg(day(certificate.effectiveDate()), day(certificate.expiryDate()))
          << QCoreApplication::translate("ftpupload", "Empreinte SHA-256 : %1").arg(sha256Fingerprint(certificate)) << QString()
          << QCoreApplication::translate("ftpupload", "Faire confiance à ce certificat ?");
    return lines.join(u'\n');
}
