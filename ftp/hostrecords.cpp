#include "ftp/hostrecords.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QUrl>

HostRecords::HostRecords(const QString &fileName)
    : m_fileName(fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).split(u' ', Qt::SkipEmptyParts);
        bool ok = false;
        const ushort port = fields.size() >= 2 && fields.size() <= 3 ? fields[1].trimmed().toUShort(&ok) : 0;
        if (ok && port != 0)
            m_values.insert(key(QUrl::fromPercentEncoding(fields[0].toUtf8()), port), fields.value(2).trimmed());
    }
}

bool HostRecords::contains(const QString &host, quint16 port) const
{
    return m_values.contains(key(host, port));
}

QString HostRecords::value(const QString &host, quint16 port) const
{
    return m_values.value(key(host, port));
}

bool HostRecords::insert(const QString &host, quint16 port, const QString &value)
{
    m_values.insert(key(host, port), value);
    QByteArray content;
    for (auto entry = m_values.cbegin(); entry != m_values.cend(); ++entry) {
        const qsizetype space = entry.key().lastIndexOf(u' ');
        content += QUrl::toPercentEncoding(entry.key().left(space)) + entry.key().mid(space).toUtf8();
        if (!entry.value().isEmpty())
            content += ' ' + entry.value().toUtf8();
        content += '\n';
    }
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    m_error.clear();
    return true;
}

QString HostRecords::key(const QString &host, quint16 port)
{
    return host.toLower() + u' ' + QString::number(port);
}
