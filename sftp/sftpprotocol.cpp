#include "sftp/sftpprotocol.h"

#include <initializer_list>

#include <QDateTime>
#include <QTimeZone>
#include <QtEndian>

namespace sftp {

namespace {

constexpr quint32 AttrSize = 0x01;
constexpr quint32 AttrUidGid = 0x02;
constexpr quint32 AttrPermissions = 0x04;
constexpr quint32 AttrTimes = 0x08;
constexpr quint32 AttrExtended = 0x80000000;

constexpr quint32 FileTypeMask = 0170000;
constexpr quint32 DirectoryType = 0040000;
constexpr quint32 RegularType = 0100000;

void putUint32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void putUint64(QByteArray &out, quint64 value)
{
    char bytes[8];
    qToBigEndian(value, bytes);
    out.append(bytes, 8);
}

void putString(QByteArray &out, const char *data, qsizetype size)
{
    putUint32(out, quint32(size));
    out.append(data, size);
}

void putString(QByteArray &out, const QByteArray &value)
{
    putString(out, value.constData(), value.size());
}

// A packet whose body the caller appends: the length is filled in by finish().
QByteArray begin(PacketType type, qsizetype reserve = 64)
{
    QByteArray out;
    out.reserve(reserve);
    putUint32(out, 0);
    out.append(char(type));
    return out;
}

QByteArray finish(QByteArray out)
{
    qToBigEndian(quint32(out.size() - 4), out.data());
    return out;
}

// A request whose id is followed by one string, a path or a handle, then by words (flags,
// attributes' flags).
QByteArray stringRequest(PacketType type, quint32 id, const QByteArray &string, std::initializer_list<quint32> words = {})
{
    QByteArray out = begin(type, 16 + string.size() + 4 * qsizetype(words.size()));
    putUint32(out, id);
    putString(out, string);
    for (const quint32 word : words)
        putUint32(out, word);
    return finish(std::move(out));
}

// Reads a body field by field; any read past the end makes it fail for good.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_bytes(bytes)
    {
    }

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_pos == m_bytes.size(); }

    quint8 byte()
    {
        if (!take(1))
            return 0;
        return quint8(m_bytes[m_pos - 1]);
    }

    quint32 uint32()
    {
        if (!take(4))
            return 0;
        return qFromBigEndian<quint32>(m_bytes.constData() + m_pos - 4);
    }

    quint64 uint64()
    {
        if (!take(8))
            return 0;
        return qFromBigEndian<quint64>(m_bytes.constData() + m_pos - 8);
    }

    QByteArray string()
    {
        const quint32 size = uint32();
        if (!take(size))
            return {};
        return m_bytes.mid(m_pos - size, size);
    }

    FileAttributes attributes()
    {
        FileAttributes attributes;
        const quint32 flags = uint32();
        if (flags & AttrSize)
            attributes.size = uint64();
        if (flags & AttrUidGid) {
            uint32();
            uint32();
        }
        if (flags & AttrPermissions)
            attributes.permissions = uint32();
        if (flags & AttrTimes) {
            uint32(); // access time
            attributes.modified = uint32();
        }
        if (flags & AttrExtended) {
            const quint32 count = uint32();
            for (quint32 i = 0; i < count && m_ok; ++i) {
                string();
                string();
            }
        }
        return attributes;
    }

private:
    bool take(quint64 size)
    {
        if (!m_ok || size > quint64(m_bytes.size() - m_pos)) {
            m_ok = false;
            return false;
        }
        m_pos += qsizetype(size);
        return true;
    }

    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

} // namespace

QByteArray initPacket()
{
    QByteArray out = begin(Init);
    putUint32(out, 3);
    return finish(std::move(out));
}

QByteArray stringPacket(PacketType type, quint32 id, const QByteArray &pathOrHandle)
{
    return stringRequest(type, id, pathOrHandle);
}

QByteArray mkdirPacket(quint32 id, const QByteArray &path)
{
    return stringRequest(Mkdir, id, path, {0}); // no attributes: the server's default mode
}

QByteArray openPacket(quint32 id, const QByteArray &path, quint32 flags)
{
    return stringRequest(Open, id, path, {flags, 0}); // no attributes
}

QByteArray writePacket(quint32 id, const QByteArray &handle, quint64 offset, const char *data, qsizetype size)
{
    QByteArray out = begin(Write, 32 + handle.size() + size);
    putUint32(out, id);
    putString(out, handle);
    putUint64(out, offset);
    putString(out, data, size);
    return finish(std::move(out));
}

std::optional<quint32> packetLength(const QByteArray &buffer)
{
    if (buffer.size() < 4)
        return std::nullopt;
    return qFromBigEndian<quint32>(buffer.constData());
}

std::optional<Reply> parseReply(const QByteArray &body)
{
    Reader reader(body);
    Reply reply;
    reply.type = reader.byte();
    reply.id = reader.uint32();
    switch (reply.type) {
    case Status:
        reply.status = reader.uint32();
        // Servers of version 2 and older end the packet after the code.
        if (reader.ok() && !reader.atEnd()) {
            reply.message = QString::fromUtf8(reader.string());
            if (!reader.atEnd())
                reader.string(); // language tag
        }
        break;
    case Handle:
        reply.handle = reader.string();
        break;
    case Name: {
        const quint32 count = reader.uint32();
        for (quint32 i = 0; i < count && reader.ok(); ++i) {
            Entry entry;
            entry.name = reader.string();
            reader.string(); // the "ls -l" line, for people
            entry.attributes = reader.attributes();
            reply.entries << entry;
        }
        break;
    }
    case Attrs:
        reply.attributes = reader.attributes();
        break;
    case Data:
        reader.string();
        break;
    default:
        return std::nullopt;
    }
    if (!reader.ok())
        return std::nullopt;
    return reply;
}

std::optional<quint32> parseVersion(const QByteArray &body)
{
    Reader reader(body);
    if (reader.byte() != Version)
        return std::nullopt;
    const quint32 version = reader.uint32();
    if (!reader.ok())
        return std::nullopt;
    return version;
}

bool isDirectory(const FileAttributes &attributes)
{
    return attributes.permissions && (*attributes.permissions & FileTypeMask) == DirectoryType;
}

std::optional<UrlInfo> toUrlInfo(const Entry &entry)
{
    if (entry.name == "." || entry.name == ".." || entry.name.isEmpty())
        return std::nullopt;
    UrlInfo info;
    info.setName(QString::fromUtf8(entry.name));
    const FileAttributes &attributes = entry.attributes;
    if (attributes.permissions) {
        const quint32 type = *attributes.permissions & FileTypeMask;
        info.setDir(type == DirectoryType);
        info.setFile(type == RegularType);
    }
    if (attributes.size)
        info.setSize(qint64(*attributes.size));
    if (attributes.modified)
        info.setLastModified(QDateTime::fromSecsSinceEpoch(*attributes.modified, QTimeZone::utc()));
    return info;
}

QString joinPath(const QString &cwd, const QString &path)
{
    if (path.startsWith(u'/') || cwd.isEmpty())
        return path;
    if (path.isEmpty())
        return cwd;
    return cwd.endsWith(u'/') ? cwd + path : cwd + u'/' + path;
}

} // namespace sftp
