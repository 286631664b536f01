#pragma once

#include <QMap>
#include <QString>

// Servers, by host and port, kept in a file of the working directory, a "host port[ value]" line
// each. Host names are percent-encoded there, so a name with spaces or line breaks (which the
// server field accepts) reads back as it was written.
class HostRecords
{
public:
    // Reads fileName; a missing file holds nothing, and malformed lines are skipped.
    explicit HostRecords(const QString &fileName);

    bool contains(const QString &host, quint16 port) const;
    // The value kept for host and port; empty when there is none.
    QString value(const QString &host, quint16 port) const;
    // Keeps value for host and port, in place of any other, and rewrites the file whole; false,
    // with errorString(), when it could not be written.
    bool insert(const QString &host, quint16 port, const QString &value = QString());
    QString errorString() const { return m_error; }

private:
    static QString key(const QString &host, quint16 port);

    QString m_fileName;
    QMap<QString, QString> m_values;
    QString m_error;
};
