// Loudness slots: the episodes measured before an upload, and their lines in the log.
#include "ui/ftpupload.h"

#include <QtConcurrent/QtConcurrentMap>

#include "audio/loudnesscache.h"
#include "audio/loudnesscheck.h"
#include "playlist/episodes.h"

void ftpupload::measureEpisodes()
{
    episodeLoudness.clear();
    measuredFolder = dossierSource.absolutePath();
    const audio::LoudnessCache cache(measuredFolder);
    QFileInfoList episodes;
    for (const Episode &episode : playlist::episodesFrom(listeFichiers)) {
        // An empty file is never sent.
        const QFileInfo file(dossierSource.absoluteFilePath(episode.fileName));
        if (file.size() > 0)
            episodes.append(file);
    }
    for (const QFileInfo &episode : std::as_const(episodes)) {
        if (const audio::Loudness *known = cache.find(episode))
            episodeLoudness.insert(episode.absoluteFilePath(), *known);
    }
    measuring = cache.unmeasured(episodes);
    if (measuring.isEmpty()) {
        startUpload();
        return;
    }
    notifier(tr(" : Mesure du volume de %n épisode(s)…", nullptr, static_cast<int>(measuring.size())));
    // One episode a core: a republish with many new episodes measures them side by side.
    loudnessWatcher.setFuture(QtConcurrent::mapped(measuring, [](const QFileInfo &episode) {
        return audio::measureLoudness(episode.absoluteFilePath());
    }));
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
        notifierSansHeure(QStringLiteral("<span style='color: red; font-weight: bold'>") + line.text.toHtmlEscaped()
                          + QStringLiteral("</span>"));
    else
        notifierSansHeure(line.text.toHtmlEscaped());
}

QLocale ftpupload::windowLocale() const
{
    // French, the source language, unless a translation is loaded.
    return traducteur.isEmpty() ? QLocale(QLocale::French) : QLocale(traducteur.language());
}
