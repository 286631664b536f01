#include "publish/publishplan.h"

#include <algorithm>
#include <cmath>

#include <QTimeZone>

#include "feed/showdetails.h"
#include "ftp/remotenames.h"
#include "playlist/playlistfiles.h"
#include "publish/logmarkup.h"

namespace {

const QString rouge = logmarkup::redOpening();
const QLatin1StringView mp3Folder("MP3");

bool isListing(const QString &name)
{
    return name == playlist::playlistXml || name == feed::feedFile;
}

enum class Decision { Send, Resume, UpToDate };
enum class Newer { Yes, No, Unknown };

// A LIST's time is the server's clock, in a zone it does not tell (UTC-12 to UTC+14), rounded
// down to the minute, or to the day for older files: the instant lies within this much of it.
constexpr qint64 listUncertainty = (14 + 24) * 3600;
constexpr qint64 maxOffset = 14 * 3600;
constexpr qint64 quarterHour = 15 * 60;
// Summer time starts and ends months apart (a few weeks where it pauses for Ramadan): two files
// this close whose times fit the same offset have no change of summer time between them.
constexpr qint64 sameClockSpan = 7 * 24 * 3600;

bool listedToTheMinute(const UrlInfo &remote)
{
    return remote.lastModified().isValid() && remote.lastModified().timeSpec() == Qt::LocalTime && !remote.isDateOnly();
}

// A LIST's time as it reads, without the zone of this machine.
QDateTime reading(const UrlInfo &remote)
{
    return QDateTime(remote.lastModified().date(), remote.lastModified().time(), QTimeZone::utc());
}

// Whether the remote copy was written after the local file, so that it holds the same version,
// or, when it is shorter, an upload of it that was cut. Exact times are compared to the second,
// as servers give them; a LIST with its clock measured to the minute.
Newer remoteNewer(const PublishPlan::LocalFile &local, const UrlInfo &remote, const PublishPlan::Options &options)
{
    const QDateTime remoteTime = remote.lastModified();
    if (!remoteTime.isValid())
        return Newer::Unknown;
    QDateTime localTime = local.modified.toUTC();
    localTime.setTime(localTime.time().addMSecs(-localTime.time().msec()));
    if (remoteTime.timeSpec() != Qt::LocalTime)
        return remoteTime >= localTime ? Newer::Yes : Newer::No;
    if (options.listOffset && !remote.isDateOnly()) {
        // Both to the minute: within the same minute either may have been written first.
        const QDateTime remoteMinute = reading(remote).addSecs(-*options.listOffset);
        localTime.setTime(QTime(localTime.time().hour(), localTime.time().minute()));
        if (remoteMinute == localTime)
            return Newer::Unknown;
        return remoteMinute > localTime ? Newer::Yes : Newer::No;
    }
    if (reading(remote).addSecs(-listUncertainty) >= localTime)
        return Newer::Yes;
    if (reading(remote).addSecs(listUncertainty) < localTime)
        return Newer::No;
    return Newer::Unknown;
}

// Only sizes decide when the times do not: a file of the same size is taken as the same.
Decision decide(const PublishPlan::LocalFile &local, const UrlInfo *remote, const PublishPlan::Options &options)
{
    if (!options.onlyChanged || !remote || local.kind == PublishPlan::LocalFile::Kind::Listing || remote->size() < 0)
        return Decision::Send;
    const Newer newer = remoteNewer(local, *remote, options);
    if (remote->size() == local.size)
        return newer == Newer::No ? Decision::Send : Decision::UpToDate;
    if (remote->size() > 0 && remote->size() < local.size && newer == Newer::Yes && options.resumeOffered)
        return Decision::Resume;
    return Decision::Send;
}

// "MDTM 20240131120000 name" sets the time of name on servers that allow it (vsftpd): a file
// whose name starts so is never asked about.
bool looksLikeTimeSetting(const QString &name)
{
    return name.size() > 15 && name[14] == u' '
        && std::all_of(name.cbegin(), name.cbegin() + 14, [](QChar c) { return c.isDigit(); });
}

QHash<QString, const UrlInfo *> remoteFiles(const QList<UrlInfo> &remote)
{
    QHash<QString, const UrlInfo *> files;
    for (const UrlInfo &info : remote) {
        if (!info.isDir())
            files.insert(info.name(), &info);
    }
    return files;
}

} // namespace

QList<PublishPlan::LocalFile> PublishPlan::localFiles(const QFileInfoList &sourceFiles, const QString &cover,
                                                     const QString &workDir, const QHash<QString, QStringList> &companions)
{
    QList<LocalFile> files;
    for (const QFileInfo &entry : sourceFiles) {
        const QString name = entry.fileName();
        files.append({name, entry.absoluteFilePath(), entry.size(), entry.lastModified().toUTC(),
                      isListing(name) ? LocalFile::Kind::Listing : LocalFile::Kind::Episode});
        for (const QString &path : companions.value(name)) {
            const QFileInfo companion(path);
            files.append({companion.fileName(), companion.absoluteFilePath(), companion.isFile() ? companion.size() : -1,
                          companion.lastModified().toUTC(), LocalFile::Kind::Episode});
        }
    }
    if (!cover.isEmpty()) {
        const QFileInfo entry(cover);
        files.append({entry.fileName(), entry.filePath(), entry.isFile() ? entry.size() : -1,
                      entry.lastModified().toUTC(), LocalFile::Kind::Cover});
    }
    for (const QLatin1StringView player : {playlist::dewPlayerFile, playlist::multiPlayerFile}) {
        const QFileInfo entry(workDir + QLatin1Char('/') + player);
        files.append({player, entry.filePath(), entry.exists() ? entry.size() : -1,
                      entry.lastModified().toUTC(), LocalFile::Kind::Player});
    }
    return files;
}

PublishPlan PublishPlan::enterFolder(const QStringList &remoteNames, bool onlyChanged)
{
    PublishPlan plan;
    const bool exists = remoteNames.contains(mp3Folder);
    if (!exists) {
        plan.commands.append({Command::Kind::Mkdir, mp3Folder, QString()});
        plan.lines.append({QStringLiteral(" : MKDIR MP3"), true});
    }
    plan.commands.append({Command::Kind::Cd, mp3Folder, QString()});
    plan.lines.append({QStringLiteral(" : CWD MP3"), true});
    if (onlyChanged && exists)
        plan.commands.append({Command::Kind::List, QString(), QString()});
    return plan;
}

PublishPlan PublishPlan::sendFiles(const QList<LocalFile> &files, const QList<UrlInfo> &remote, const Options &options)
{
    PublishPlan plan;
    if (options.onlyChanged && !options.remoteTimes)
        plan.lines.append({tr("Le serveur ne donne pas l'heure des fichiers : seules les tailles sont comparées.")});
    const QHash<QString, const UrlInfo *> onServer = remoteFiles(remote);
    for (const LocalFile &file : files) {
        const bool player = file.kind == LocalFile::Kind::Player;
        const bool fromFolder = file.kind == LocalFile::Kind::Episode || file.kind == LocalFile::Kind::Listing;
        if (fromFolder && file.size == 0) {
            plan.lines.append({rouge + file.name.toHtmlEscaped() + tr("</span> non traitée (fichier vide).")});
            continue;
        }
        if (!ftp::fitsInCommand(file.name)) {
            plan.lines.append({rouge + ftp::readableName(file.name).toHtmlEscaped() + tr("</span> non traitée (nom de fichier invalide).")});
            continue;
        }
        if (file.size < 0) {
            // The players are named with the working directory, the cover alone.
            plan.lines.append({rouge + (player ? file.path : file.name).toHtmlEscaped() + tr("</span> non traitée (fichier introuvable).")});
            continue;
        }
        const UrlInfo *copy = onServer.value(file.name);
        const Decision decision = decide(file, copy, options);
        if (decision == Decision::UpToDate) {
            ++plan.upToDate;
            continue;
        }
        const qint64 offset = decision == Decision::Resume ? copy->size() : 0;
        plan.commands.append({Command::Kind::Put, file.name, file.path, offset});
        const QString bold = QStringLiteral("<b>");
        if (offset > 0) {
            plan.lines.append({bold + file.name.toHtmlEscaped()
                               + tr("</b> mis en file d'attente (suite de l'envoi interrompu, à partir de l'octet %1).").arg(offset)});
        } else if (player) {
            // The player lines name the working directory, then the file.
            const QString dir = file.path.chopped(file.name.size() + 1).toHtmlEscaped();
            plan.lines.append({bold + dir
                               + (file.name == playlist::dewPlayerFile ? tr("/dewplayer-playlist.swf</b> mis en file d'attente.")
                                                                        : tr("/player_mp3_multi.swf</b> mis en file d'attente."))});
        } else {
            plan.lines.append({bold + file.name.toHtmlEscaped() + tr("</b> mis en file d'attente.")});
        }
    }
    if (options.onlyChanged)
        plan.lines.append({tr("%n fichier(s) déjà à jour sur le serveur.", nullptr, plan.upToDate)});
    plan.lines.append({QStringLiteral("Le dossier \"MP3\" a été créé sur le serveur le cas échéant. La playlist et les mp3 y seront déposés.")});
    return plan;
}

QStringList PublishPlan::timesWanted(const QList<LocalFile> &files, const QList<UrlInfo> &remote, const Options &options)
{
    QStringList names;
    if (!options.onlyChanged)
        return names;
    const QHash<QString, const UrlInfo *> onServer = remoteFiles(remote);
    for (const LocalFile &file : files) {
        const UrlInfo *copy = onServer.value(file.name);
        if (!copy || file.kind == LocalFile::Kind::Listing || file.size <= 0 || remoteNewer(file, *copy, options) != Newer::Unknown
            || !ftp::fitsInCommand(file.name) || looksLikeTimeSetting(file.name))
            continue;
        if (copy->size() == file.size || (options.resumeOffered && copy->size() > 0 && copy->size() < file.size))
            names.append(file.name);
    }
    return names;
}

QStringList PublishPlan::clockFiles(const QList<LocalFile> &files, const QList<UrlInfo> &remote, const Options &options)
{
    const QHash<QString, const UrlInfo *> onServer = remoteFiles(remote);
    const UrlInfo *earliest = nullptr;
    const UrlInfo *latest = nullptr;
    for (const QString &name : timesWanted(files, remote, options)) {
        const UrlInfo *copy = onServer.value(name);
        if (!listedToTheMinute(*copy))
            continue;
        if (!earliest || reading(*copy) < reading(*earliest))
            earliest = copy;
        if (!latest || reading(*copy) > reading(*latest))
            latest = copy;
    }
    if (!earliest || reading(*earliest).secsTo(reading(*latest)) > sameClockSpan)
        return {};
    if (earliest == latest)
        return {earliest->name()};
    return {earliest->name(), latest->name()};
}

std::optional<qint64> PublishPlan::listOffset(const QList<UrlInfo> &remote, const QHash<QString, QDateTime> &exact)
{
    const QHash<QString, const UrlInfo *> onServer = remoteFiles(remote);
    std::optional<qint64> offset;
    for (auto it = exact.cbegin(); it != exact.cend(); ++it) {
        const UrlInfo *copy = onServer.value(it.key());
        if (!copy || !listedToTheMinute(*copy) || !it.value().isValid())
            return std::nullopt;
        // The listed minute is the exact time plus the offset, truncated.
        const qint64 ahead = it.value().secsTo(reading(*copy));
        const qint64 rounded = std::llround(static_cast<double>(ahead) / quarterHour) * quarterHour;
        if (rounded - ahead < 0 || rounded - ahead >= 60 || std::abs(rounded) > maxOffset || (offset && *offset != rounded))
            return std::nullopt;
        offset = rounded;
    }
    return offset;
}
