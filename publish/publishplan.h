#pragma once

#include <optional>

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfoList>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "remote/urlinfo.h"

// What a publish does on the server, decided without a window or a connection: the window runs
// the commands on its FTP client and shows the lines.
class PublishPlan
{
    Q_DECLARE_TR_FUNCTIONS(PublishPlan)
public:
    // A file to publish, with what is known of it locally.
    struct LocalFile
    {
        enum class Kind {
            Episode, // a file of the source folder
            Listing, // playlist.xml and the feed: small, changed at every publish, always sent
            Cover,   // the feed's image
            Player   // a player file from the working directory
        };
        QString name; // the remote name too
        QString path; // absolute
        qint64 size = -1; // -1: the file does not exist
        QDateTime modified;
        Kind kind = Kind::Episode;
    };

    struct Options
    {
        // Send only the files that the server lacks or holds in another version.
        bool onlyChanged = false;
        // The server completes a file from an offset (REST STREAM), and tells its size after.
        bool resumeOffered = false;
        // The server tells the times of its files (MLSD or MDTM); otherwise only sizes are
        // compared, which the plan says once, and the caller clears the times of the entries.
        bool remoteTimes = false;
        // Seconds by which the LIST's clock runs ahead of UTC, once measured (listOffset()): its
        // times of day then tell the minute the files were written.
        std::optional<qint64> listOffset;
    };

    struct Command
    {
        enum class Kind { Mkdir, Cd, List, Put };
        Kind kind;
        QString remoteName;
        QString localPath; // of a put
        qint64 offset = 0; // of a put that completes a cut upload
    };

    struct Line
    {
        QString text;
        bool timed = false; // a notification line with the time, else a plain one
    };

    QList<Command> commands;
    QList<Line> lines;
    // Files left alone because the server holds them already.
    int upToDate = 0;

    // The files a publish sends: the MP3 and XML files of the source folder, in their order, each
    // episode followed by its companions (by episode name: the paths of its chapters file and
    // transcript, compared with the server like the episodes), the feed's cover (its path, or
    // empty when the feed was not written), then the two player files of the working directory.
    static QList<LocalFile> localFiles(const QFileInfoList &sourceFiles, const QString &cover, const QString &workDir,
                                       const QHash<QString, QStringList> &companions = {});

    // After the listing of the remote folder: enter MP3, made first when it is missing. When only
    // changes are sent and MP3 exists, it is listed too: sendFiles() then gets its entries.
    static PublishPlan enterFolder(const QStringList &remoteNames, bool onlyChanged);

    // The puts and their lines. remote: the entries of MP3 (empty when it was just made, or when
    // every file is sent). Their times are exact when they come with a zone (MLSD, MDTM); local
    // times are read as a LIST gives them, the server's clock truncated to the minute: with the
    // clock measured they decide unless they fall in the local file's minute, else only when far
    // enough from the local file's time for any zone.
    static PublishPlan sendFiles(const QList<LocalFile> &files, const QList<UrlInfo> &remote, const Options &options);

    // The remote files whose time decides what happens to them and is not known yet.
    static QStringList timesWanted(const QList<LocalFile> &files, const QList<UrlInfo> &remote, const Options &options);

    // The files whose exact time (MDTM) measures the LIST's clock, so that the others need none:
    // the earliest and the latest of timesWanted() listed with a time of day, when they lie close
    // enough that no change of summer time can fall between them unseen; else none.
    static QStringList clockFiles(const QList<LocalFile> &files, const QList<UrlInfo> &remote, const Options &options);

    // The LIST's clock (see Options::listOffset) from the exact times of clockFiles() as listed
    // (an invalid time for a file the server did not answer about): each must fit its listed
    // minute with an offset of whole quarters of an hour within 14 hours, and all the same one.
    static std::optional<qint64> listOffset(const QList<UrlInfo> &remote, const QHash<QString, QDateTime> &exact);
};
