#pragma once

#include <QDateTime>
#include <QString>

// One entry of a remote directory listing.
class UrlInfo
{
public:
    UrlInfo() = default;

    QString name() const { return m_name; }
    bool isDir() const { return m_isDir; }
    bool isFile() const { return m_isFile; }
    // Bytes; -1 when the listing does not tell.
    qint64 size() const { return m_size; }
    // Invalid when the listing does not tell.
    QDateTime lastModified() const { return m_lastModified; }
    // The listing told only the day of lastModified() (a Unix LIST line of an old file, "Mar 10 2024").
    bool isDateOnly() const { return m_dateOnly; }

    void setName(const QString &name) { m_name = name; }
    void setDir(bool dir) { m_isDir = dir; }
    void setFile(bool file) { m_isFile = file; }
    void setSize(qint64 size) { m_size = size; }
    void setLastModified(const QDateTime &when) { m_lastModified = when; }
    void setDateOnly(bool dateOnly) { m_dateOnly = dateOnly; }

private:
    QString m_name;
    bool m_isDir = false;
    bool m_isFile = false;
    qint64 m_size = -1;
    QDateTime m_lastModified;
    bool m_dateOnly = false;
};
