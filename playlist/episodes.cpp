#include "playlist/episodes.h"

#include <algorithm>

namespace playlist {

QDir sourceFolder(const QString &path)
{
    QDir folder(path);
    folder.setFilter(QDir::Files | QDir::NoDotAndDotDot);
    folder.setNameFilters({QStringLiteral("*.mp3"), QStringLiteral("*.xml")});
    return folder;
}

EpisodeList episodesFrom(const QFileInfoList &listing)
{
    static const QString extension = QStringLiteral(".mp3");
    EpisodeList episodes;
    for (const QFileInfo &file : listing) {
        const QString name = file.fileName();
        if (name.endsWith(extension, Qt::CaseInsensitive))
            episodes.append({name, name.chopped(extension.size()), file.lastModified()});
    }
    // Stable: files saved in the same millisecond all stay, in listing order.
    std::stable_sort(episodes.begin(), episodes.end(),
                     [](const Episode &a, const Episode &b) { return a.modified < b.modified; });
    return episodes;
}

} // namespace playlist
