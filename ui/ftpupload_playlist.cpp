// Playlist slots: the episode list, the player snippets, the playlist files and the preview.
#include "ui/ftpupload.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFont>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextEdit>
#include <QUrl>

#include "playlist/playlistfiles.h"
#include "playlist/snippets.h"
#include "playlist/texteacopier.h"

EpisodeList ftpupload::triFichiers()
{
    hoteFtp = serverEdit->text();
    dossierSource = playlist::sourceFolder(localFolderEdit->text());
    listeFichiers = dossierSource.entryInfoList();
    return playlist::episodesFrom(listeFichiers);
}

void ftpupload::generatePlaylist()
{
    // Generating reads the folder again, into the listing that an upload under way sends once
    // its episodes are measured.
    if (ftpBusy()) {
        notifier(tr(" : Une opération FTP est déjà en cours."));
        return;
    }
    const QString lecteur = playerCombo->currentText();
    const QString texte = playlist::buildPlaylist(lecteur, triFichiers());
    playlistText->setPlainText(texte);
    playlistText->setTabStopDistance(10);
    playlistText->setLineWrapMode(QTextEdit::NoWrap);
    playlistText->setFont(QFont(QStringLiteral("courier"), 8));
    notifier(QStringLiteral(" : The playlist was generated in the playlist text area."));
    (new texteACopier(playlist::copyWindowText(lecteur, texte)))->show();
}

void ftpupload::genererFichierPlaylist(const QString &fichier, bool test)
{
    const QString contenu = playlist::playlistFileContent(fichier, test, playerCombo->currentText(),
                                                          playlistText->toPlainText());
    if (!playlist::writeWholeFile(dossierSource.absoluteFilePath(fichier), contenu)) {
        QMessageBox::critical(this, tr("Erreur fichier"),
                              tr("Erreur pendant l'ouverture du fichier en écriture."));
        return;
    }
    if (fichier == playlist::playlistXml)
        notifier(tr(" : Le fichier playlist.xml a été généré."));
}

// Writes into the folder of the last generation, with the text area as it stands.
void ftpupload::runTest()
{
    // A player already beside the episodes is kept: QFile::copy never overwrites.
    for (const QLatin1StringView lecteur : {playlist::dewPlayerFile, playlist::multiPlayerFile})
        QFile::copy(QDir::current().absoluteFilePath(lecteur), dossierSource.absoluteFilePath(lecteur));
    genererFichierPlaylist(playlist::playlistXml, true);
    genererFichierPlaylist(playlist::playlistHtml, true);
    QDesktopServices::openUrl(QUrl::fromLocalFile(dossierSource.absoluteFilePath(playlist::playlistHtml)));
}
