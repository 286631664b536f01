// Loudness slots: the episodes measured before an upload, and their lines in the log.
#include "ui/ftpupload.h"

#include <memory>

#include <QtConcurrent/QtConcurrentMap>

#include "audio/loudnesscache.h"
#include "audio/loudnesscheck.h"
#include "playlist/episodes.h"
#include "publish/logmarkup.h"
#include "ui/feeddialog.h"

namespace {

// The episodes of a folder listing that an upload sends: an empty file never is.
QFileInfoList episodeFiles(const QDir &folder, const QFileInfoList &listing)
{
    QFileInfoList episodes;
    for (const Episode &episode : playlist::episodesFrom(listing)) {
        const QFileInfo file(folder.absoluteFilePath(episode.fileName));
        if (file.size() > 0)
            episodes.append(file);
    }
    return episodes;
}

// One episode a core: a republish with many new episodes measures them side by side.
QFuture<audio::Loudness> measureAll(const QFileInfoList &episodes)
{
    return QtConcurrent::mapped(episodes, [](const QFileInfo &episode) { return audio::measureLoudness(episode.absoluteFilePath()); });
}

} // namespace

void ftpupload::measureEpisodes()
{
    episodeLoudness.clear();
    measuredFolder = dossierSource.absolutePath();
    const audio::LoudnessCache cache(measuredFolder);
    const QFileInfoList episodes = episodeFiles(dossierSource, listeFichiers);
    for (const QFileInfo &episode : episodes) {
        if (const audio::Loudness *known = cache.find(episode))
            episodeLoudness.insert(episode.absoluteFilePath(), *known);
    }
    measuring = cache.unmeasured(episodes);
    if (measuring.isEmpty()) {
        startUpload();
        return;
    }
    notifier(tr(" : Mesure du volume de %n épisode(s)…", nullptr, static_cast<int>(measuring.size())));
    loudnessWatcher.setFuture(measureAll(measuring));
}

void ftpupload::loudnessMeasured()
{
    audio::LoudnessCache cache(measuredFolder);
    const QList<audio::Loudness> results = loudnessWatcher.future().results();
    for (qsizetype i = 0; i < results.size() && i < measuring.size(); ++i) {
        cache.insert(measuring[i], results[i]);
        episodeLoudness.insert(measuring[i].absoluteFilePath(), results[i]);
    }
    measuring.clear();
    if (!cache.save())
        notifyError(tr("Les mesures de volume n'ont pas pu être enregistrées dans %1.").arg(audio::cacheFile));
    startUpload();
}

void ftpupload::showLoudness(const QString &chemin)
{
    const auto found = episodeLoudness.constFind(chemin);
    if (found == episodeLoudness.cend())
        return;
    const audio::LoudnessLine line = audio::loudnessLine(QFileInfo(chemin).fileName(), *found, windowLocale());
    if (line.warning)
        notifierSansHeure(logmarkup::red(line.text));
    else
        notifierSansHeure(line.text.toHtmlEscaped());
}

void ftpupload::listLoudness(FeedDialog &dialog, QFutureWatcher<audio::Loudness> &measurement, const QDir &folder)
{
    const QFileInfoList episodes = episodeFiles(folder, folder.entryInfoList());
    QStringList names;
    for (const QFileInfo &episode : episodes)
        names << episode.fileName();
    dialog.setEpisodes(names);
    const auto cache = std::make_shared<audio::LoudnessCache>(folder.absolutePath());
    const QLocale locale = windowLocale();
    const auto show = [&dialog, locale](int row, const QString &name, const audio::Loudness &loudness) {
        const audio::LoudnessLine line = audio::loudnessLine(name, loudness, locale);
        dialog.showLoudness(row, line.text, line.warning);
    };
    QList<int> rows; // of the episodes measured, in their order
    for (int row = 0; row < episodes.size(); ++row) {
        if (const audio::Loudness *known = cache->find(episodes[row]))
            show(row, names[row], *known);
        else
            rows << row;
    }
    if (rows.isEmpty())
        return;
    QFileInfoList unknown;
    for (const int row : std::as_const(rows))
        unknown << episodes[row];
    // Kept as each one is measured: a dialog closed early loses only the measurements not finished.
    connect(&measurement, &QFutureWatcherBase::resultReadyAt, &dialog, [=, &measurement](int index) {
        const audio::Loudness loudness = measurement.resultAt(index);
        show(rows[index], names[rows[index]], loudness);
        cache->insert(unknown[index], loudness);
        cache->save();
    });
    measurement.setFuture(measureAll(unknown));
}

QLocale ftpupload::windowLocale() const
{
    return traducteur.isEmpty() ? QLocale(QLocale::French) : QLocale(traducteur.language());
}
