#include "ftp/trustedcertificates.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QSaveFile>
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
    : m_fileName(fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).split(u' ', Qt::SkipEmptyParts);
        bool ok = false;
        const ushort port = fields.size() == 3 ? fields[1].toUShort(&ok) : 0;
        if (ok && port != 0)
            m_fingerprints.insert(key(fields[0], port), fields[2].trimmed());
    }
}

bool TrustedCertificates::contains(const QString &host, quint16 port) const
{
    return m_fingerprints.contains(key(host, port));
}

TrustedCertificates::Verdict TrustedCertificates::check(const QString &host, quint16 port,
                                                        const QSslCertificate &certificate) const
{
    const auto found = m_fingerprints.constFind(key(host, port));
    if (found == m_fingerprints.cend())
        return Verdict::Unknown;
    return *found == sha256Fingerprint(certificate) ? Verdict::Trusted : Verdict::Changed;
}

bool TrustedCertificates::trust(const QString &host, quint16 port, const QSslCertificate &certificate)
{
    m_fingerprints.insert(key(host, port), sha256Fingerprint(certificate));
    QByteArray content;
    for (auto entry = m_fingerprints.cbegin(); entry != m_fingerprints.cend(); ++entry)
        content += entry.key().toUtf8() + ' ' + entry.value().toUtf8() + '\n';
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    m_error.clear();
    return true;
}

QString TrustedCertificates::key(const QString &host, quint16 port)
{
    return host.toLower() + u' ' + QString::number(port);
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
