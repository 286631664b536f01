#pragma once

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>

#include "remote/urlinfo.h"

// SFTP version 3 (draft-ietf-secsh-filexfer-02, what OpenSSH speaks): the packets a client sends
// and reads, free of any channel so they can be tested alone.
namespace sftp {

enum PacketType : quint8 {
    Init = 1,
    Version = 2,
    Open = 3,
    Close = 4,
    Write = 6,
    Fstat = 8,
    Opendir = 11,
    Readdir = 12,
    Remove = 13,
    Mkdir = 14,
    Realpath = 16,
    Stat = 17,
    Status = 101,
    Handle = 102,
    Data = 103,
    Name = 104,
    Attrs = 105,
};

enum StatusCode : quint32 {
    Ok = 0,
    Eof = 1,
    NoSuchFile = 2,
    PermissionDenied = 3,
    Failure = 4,
    BadMessage = 5,
    OpUnsupported = 8,
};

enum OpenFlag : quint32 {
    OpenWrite = 0x02,
    OpenCreate = 0x08,
    OpenTruncate = 0x10,
};

// The largest packet accepted from a server; OpenSSH's own limit.
constexpr quint32 MaxPacketLength = 256 * 1024;

struct FileAttributes
{
    std::optional<quint64> size;
    std::optional<quint32> permissions;
    std::optional<quint32> modified; // seconds since 1970, UTC
};

struct Entry
{
    QByteArray name;
    FileAttributes attributes;
};

// A reply from the server, as far as a client needs it.
struct Reply
{
    quint8 type = 0;
    quint32 id = 0;
    quint32 status = Ok; // of a Status reply
    QString message; // of a Status reply
    QByteArray handle; // of a Handle reply
    QList<Entry> entries; // of a Name reply
    FileAttributes attributes; // of an Attrs reply
};

// Requests, each a whole packet with its length. Paths are UTF-8, as OpenSSH takes them.
QByteArray initPacket();
// A path for Realpath, Stat, Opendir, Remove; a handle for Close, Readdir, Fstat.
QByteArray stringPacket(PacketType type, quint32 id, const QByteArray &pathOrHandle);
QByteArray mkdirPacket(quint32 id, const QByteArray &path);
QByteArray openPacket(quint32 id, const QByteArray &path, quint32 flags);
QByteArray writePacket(quint32 id, const QByteArray &handle, quint64 offset, const char *data, qsizetype size);

// The length of the packet that starts buffer, once its four length bytes are there.
std::optional<quint32> packetLength(const QByteArray &buffer);
// One packet's body (after its length); nothing when it is not a well-formed reply.
std::optional<Reply> parseReply(const QByteArray &body);
// The version a Version body announces.
std::optional<quint32> parseVersion(const QByteArray &body);

// A listing entry: exact size and time, a folder or a plain file; "." and ".." give nothing.
std::optional<UrlInfo> toUrlInfo(const Entry &entry);
bool isDirectory(const FileAttributes &attributes);

// path joined to the current directory cwd, unless it is absolute.
QString joinPath(const QString &cwd, const QString &path);

} // namespace sftp
