// FTP slots: the client's state and progress, the upload and the remote deletion.
#include "ui/ftpupload.h"

#include <iterator>
#include <optional>
#include <utility>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

#include "remote/remoteclient.h"
#include "ui/remoteclients.h"
#include "ftp/ftpparsers.h"
#include "ftp/hostrecords.h"
#include "ftp/remotenames.h"
#include "ftp/trustedcertificates.h"
#include "publish/logmarkup.h"
#include "publish/publishplan.h"

namespace {

// The port field as a number; anything that is not a port number gives 0, which the
// connection then refuses.
quint16 portNumber(const QString &text)
{
    bool ok = false;
    const int port = text.toInt(&ok);
    return ok && port > 0 && port <= 65535 ? static_cast<quint16>(port) : 0;
}

// Certificates trusted always, and the servers that have logged in over TLS, in the working
// directory beside config.ini.
const QString fichierCertificats = QStringLiteral("certificats.txt");
const QString tlsServersFile = QStringLiteral("serveurs-tls.txt");

} // namespace

bool ftpupload::ftpBusy() const
{
    // A connection is open, or queued and not started yet (the state changes only once it starts),
    // or the episodes are being measured before one.
    return !measuring.isEmpty() || ftp->state() != RemoteClient::Unconnected || ftp->hasPendingCommands()
           || ftp->currentCommand() != RemoteClient::None;
}

void ftpupload::ftpEtat(int state)
{
    const QString messages[] = {
        tr("Il n'y a pas de connexion à l'hôte."),
        tr("Résolution du nom en cours."),
        tr("Une tentative de connexion à l'hôte est en cours."),
        tr("La connexion à l'hôte a été accomplie."),
        tr("La connexion et l'identification ont été accomplies."),
        tr("La connexion est en cours de fermeture, mais elle n'est pas encore fermée (l'état deviendra Unconnected quand la connexion sera fermée)."),
    };
    if (state >= 0 && state < static_cast<int>(std::size(messages)))
        notifier(QStringLiteral(" : ") + messages[state]);
    if (state != RemoteClient::LoggedIn)
        return;
    switch (clientProtocol) {
    case remote::Protocol::Ftp:
        if (ftp->isEncrypted()) {
            notifier(QStringLiteral(" : ") + tr("Connexion chiffrée (TLS)."));
            rememberTlsServer();
        } else
            notifyError(tr("Connexion non chiffrée : le serveur ne propose pas TLS."));
        break;
    case remote::Protocol::Sftp:
        // SSH always encrypts: the TLS servers' file is FTP's alone.
        notifier(QStringLiteral(" : ") + tr("Connexion chiffrée (SSH)."));
        break;
    case remote::Protocol::S3:
        // HTTPS always, but to this computer itself.
        if (ftp->isEncrypted())
            notifier(QStringLiteral(" : ") + tr("Connexion chiffrée (HTTPS)."));
        break;
    }
}

void ftpupload::ftpTacheSuivante(int, bool)
{
    // The deletion is announced once its last removal is done, before the connection closes.
    if (ftp->currentCommand() == RemoteClient::Remove && suppressionsRestantes > 0) {
        const bool echec = ftp->error() != RemoteClient::NoError;
        suppressionsRestantes = echec ? 0 : suppressionsRestantes - 1;
        if (!echec && suppressionsRestantes == 0)
            notifier(tr(" : <b>Fichiers supprimés du serveur.</b>"));
    }
    // The continuation of a listing, or of the upload's questions to the server, belongs to
    // commandFinished().
    if (ftp->hasPendingCommands() || ftp->state() == RemoteClient::Unconnected
        || ftp->currentCommand() == RemoteClient::List || ftp->currentCommand() == RemoteClient::RawCommand)
        return;
    finishUpload();
}

void ftpupload::finishUpload()
{
    if (ftp->error() == RemoteClient::NoError)
        notifier(QStringLiteral(" : <span style='color: green; font-weight: bold'>Prêt</span>."));
    ftp->close();
}

void ftpupload::commandFinished(int, bool)
{
    const bool echec = ftp->error() != RemoteClient::NoError;
    if (echec) {
        showError(QStringLiteral("ftp error ") + QString::number(ftp->error()) + QStringLiteral(" : ")
                       + ftp->errorString());
        managerActivationBoutons(QString());
    }

    switch (ftp->currentCommand()) {
    case RemoteClient::Put:
        if (QFile *fichier = fichiersParCommande.take(ftp->currentId())) {
            fichier->close();
            delete fichier;
        }
        // Every queued file has started once the list is empty: this put was the last.
        if (!echec && fichiersEnAttente.isEmpty()) {
            QMessageBox::information(this, tr("Fichiers envoyés"), tr("Les fichiers ont été envoyés avec succès."));
            announceFeedAddress();
        }
        break;
    case RemoteClient::List:
        if (!modeEnvoi)
            proposerSuppression();
        else if (uploadStep == UploadStep::Mp3Listing)
            compareMp3();
        else
            envoyerDossier();
        listeDistante.clear();
        break;
    case RemoteClient::RawCommand:
        if (modeEnvoi && (uploadStep == UploadStep::Mp3Clock || uploadStep == UploadStep::Mp3Times)
            && (echec || timesAsked.isEmpty()))
            compareMp3();
        break;
    default:
        break;
    }
}

void ftpupload::showError(const QString &message)
{
    // The server's text is shown as it is, never interpreted as markup.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("erreur"), message, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    notifyError(message);
}

void ftpupload::notifyError(const QString &texte)
{
    notifier(QStringLiteral(" : ") + logmarkup::red(texte));
}

bool ftpupload::serverGiven(const QString &hote)
{
    if (!hote.trimmed().isEmpty())
        return true;
    showError(tr("Le champ « Nom du serveur » est vide : indiquez le serveur FTP du podcast."));
    return false;
}

void ftpupload::addToList(const UrlInfo &info)
{
    const QString name = info.name();
    if (modeEnvoi && uploadStep == UploadStep::Mp3Listing) {
        mp3Entries.append(info);
    } else if (modeEnvoi) {
        listeDistante.append(name);
    } else if (name != QLatin1String(".") && name != QLatin1String("..") && !info.isDir()) {
        if (ftp::isPlainFileName(name))
            listeDistante.append(name);
        else
            notifyError(tr("Nom de fichier distant invalide, non supprimé : %1").arg(ftp::readableName(name)));
    }
}

void ftpupload::progression(qint64 done, qint64 total)
{
    progressBar->setValue(total > 0 ? static_cast<int>(done * 100 / total) : 100);
    if (!fichiersEnAttente.isEmpty() && done == 0) {
        const QString chemin = fichiersEnAttente.takeFirst();
        showLoudness(chemin);
        notifier(tr(" : Envoi du fichier ") + chemin.toHtmlEscaped());
    }
}

void ftpupload::upload()
{
    // The upload whose episodes are being measured sends the listing read when it started.
    if (!measuring.isEmpty()) {
        notifier(tr(" : Une opération FTP est déjà en cours."));
        return;
    }
    triFichiers();
    const bool playlistEcrite = !playlistText->toPlainText().isEmpty();
    if (playlistEcrite)
        genererFichierPlaylist(QStringLiteral("playlist.xml"), false);
    const feed::FeedOutcome flux = writeFeed(dossierSource.absolutePath(), listeFichiers);
    // Once more, so that the files just written are sent.
    if (playlistEcrite || flux.status == feed::FeedOutcome::Status::Written)
        triFichiers();
    if (ftpBusy()) {
        notifier(tr(" : Une opération FTP est déjà en cours."));
        return;
    }
    if (!serverGiven(hoteFtp))
        return;
    uploadFeed = flux;
    // The upload's client is the window's from the start, while the episodes are measured.
    chooseClient(hoteFtp);
    measureEpisodes();
}

void ftpupload::startUpload()
{
    connecter(hoteFtp);
    ftp->cd(remoteFolderEdit->text());
    modeEnvoi = true;
    uploadStep = UploadStep::Folder;
    ftp->list();
}

void ftpupload::envoyerDossier()
{
    onlyChanges = onlyChangesBox->isChecked();
    // The feed's cover goes with the episodes when the upload wrote the feed.
    const bool avecCouverture = uploadFeed.status == feed::FeedOutcome::Status::Written
                                && !uploadFeed.coverImage.isEmpty();
    const QString couverture = avecCouverture ? dossierSource.absoluteFilePath(uploadFeed.coverImage) : QString();
    publishedFiles = PublishPlan::localFiles(listeFichiers, couverture, QDir::current().absolutePath(), uploadFeed.companions);
    mp3Entries.clear();
    listingOffset.reset();
    const PublishPlan dossier = PublishPlan::enterFolder(listeDistante, onlyChanges);
    runPlan(dossier);
    if (dossier.commands.last().kind == PublishPlan::Command::Kind::List)
        uploadStep = UploadStep::Mp3Listing;
    else
        queueFiles();
}

PublishPlan::Options ftpupload::uploadOptions() const
{
    // A completed file is checked with SIZE: without it, resuming would fail every time.
    return {onlyChanges,
            ftp->hasFeature(QStringLiteral("REST STREAM")) && ftp->hasFeature(QStringLiteral("SIZE")),
            ftp->hasFeature(QStringLiteral("MLST")) || ftp->hasFeature(QStringLiteral("MDTM")), listingOffset};
}

void ftpupload::compareMp3()
{
    if (ftp->error() != RemoteClient::NoError) {
        // Reported already; what the server holds is unknown, so nothing is sent.
        modeEnvoi = false;
        timesAsked.clear();
        timesMeasured.clear();
        publishedFiles.clear();
        mp3Entries.clear();
        if (ftp->state() != RemoteClient::Unconnected)
            ftp->close();
        return;
    }
    if (uploadStep == UploadStep::Mp3Listing && !ftp->hasFeature(QStringLiteral("MLST"))) {
        // The times of a LIST are truncated, in the server's unknown time zone: the MDTM of a
        // file or two measures its clock, then MDTM tells the times still too close to tell.
        if (!ftp->hasFeature(QStringLiteral("MDTM"))) {
            for (UrlInfo &entree : mp3Entries)
                entree.setLastModified(QDateTime());
        } else if (askTimes(PublishPlan::clockFiles(publishedFiles, mp3Entries, uploadOptions()), UploadStep::Mp3Clock)
                   || askTimes(PublishPlan::timesWanted(publishedFiles, mp3Entries, uploadOptions()), UploadStep::Mp3Times)) {
            return;
        }
    } else if (uploadStep == UploadStep::Mp3Clock) {
        // Measured on the times as listed, before the exact ones replace them.
        listingOffset = PublishPlan::listOffset(mp3Entries, timesMeasured);
        applyTimes();
        if (askTimes(PublishPlan::timesWanted(publishedFiles, mp3Entries, uploadOptions()), UploadStep::Mp3Times))
            return;
    } else if (uploadStep == UploadStep::Mp3Times) {
        applyTimes();
    }
    queueFiles();
}

bool ftpupload::askTimes(const QStringList &noms, UploadStep etape)
{
    if (noms.isEmpty())
        return false;
    uploadStep = etape;
    timesAsked = noms;
    timesMeasured.clear();
    for (const QString &nom : noms)
        ftp->rawCommand(QStringLiteral("MDTM ") + nom);
    return true;
}

void ftpupload::noteTime(int code, const QString &reponse)
{
    if ((uploadStep != UploadStep::Mp3Clock && uploadStep != UploadStep::Mp3Times) || timesAsked.isEmpty())
        return;
    const std::optional<QDateTime> heure = code == 213 ? ftp::parseTimeVal(reponse) : std::nullopt;
    timesMeasured.insert(timesAsked.takeFirst(), heure.value_or(QDateTime()));
}

void ftpupload::applyTimes()
{
    for (UrlInfo &entree : mp3Entries) {
        const QDateTime heure = timesMeasured.value(entree.name());
        if (heure.isValid())
            entree.setLastModified(heure);
    }
    timesMeasured.clear();
}

void ftpupload::queueFiles()
{
    // Leftovers of an upload cut short: their puts were discarded and never ran.
    fichiersEnAttente.clear();
    qDeleteAll(fichiersParCommande);
    fichiersParCommande.clear();

    const PublishPlan envoi = PublishPlan::sendFiles(publishedFiles, mp3Entries, uploadOptions());
    runPlan(envoi);
    modeEnvoi = false;
    uploadStep = UploadStep::Folder;
    publishedFiles.clear();
    mp3Entries.clear();
    // Everything is on the server already, and nothing else will end the connection.
    if (!ftp->hasPendingCommands())
        finishUpload();
}

void ftpupload::runPlan(const PublishPlan &plan)
{
    for (const PublishPlan::Command &commande : plan.commands) {
        switch (commande.kind) {
        case PublishPlan::Command::Kind::Mkdir:
            ftp->mkdir(commande.remoteName);
            break;
        case PublishPlan::Command::Kind::Cd:
            ftp->cd(commande.remoteName);
            break;
        case PublishPlan::Command::Kind::List:
            ftp->list(commande.remoteName);
            break;
        case PublishPlan::Command::Kind::Put:
            mettreEnFile(commande.localPath, commande.remoteName, commande.offset);
            break;
        }
    }
    for (const PublishPlan::Line &ligne : plan.lines) {
        if (ligne.timed)
            notifier(ligne.text);
        else
            notifierSansHeure(ligne.text);
    }
}

void ftpupload::mettreEnFile(const QString &chemin, const QString &nomDistant, qint64 offset)
{
    fichiersEnAttente.append(chemin);
    auto *fichier = new QFile(chemin, this);
    const int id = offset > 0 ? ftp->resumePut(fichier, nomDistant, offset, RemoteClient::Binary)
                              : ftp->put(fichier, nomDistant, RemoteClient::Binary);
    fichiersParCommande.insert(id, fichier);
}

void ftpupload::effacerMp3()
{
    // On an open connection the folder it stands in is unknown (during an upload it is the
    // site's own folder): removing from there could empty the wrong folder.
    if (ftpBusy()) {
        notifier(tr(" : Une opération FTP est déjà en cours."));
        return;
    }
    if (!serverGiven(serverEdit->text()))
        return;
    connecter(serverEdit->text());
    ftp->cd(remoteFolderEdit->text() + QStringLiteral("/MP3"));
    modeEnvoi = false;
    ftp->list();
}

void ftpupload::proposerSuppression()
{
    for (const QString &nom : std::as_const(listeDistante))
        notifier(tr(" : <span style='color: red; font-weight: bold'>Supprimer ") + nom.toHtmlEscaped() + QStringLiteral("</span>"));
    const auto reponse = QMessageBox::question(this, tr("Supprimer les fichiers distants"),
                                               tr("Supprimer ces fichiers du serveur?"),
                                               QMessageBox::Yes | QMessageBox::No);
    const bool oui = reponse == QMessageBox::Yes;
    if (!oui || listeDistante.isEmpty()) {
        notifier(oui ? tr(" : <b>Fichiers supprimés du serveur.</b>") : tr(" : Suppression distante annulée."));
        if (ftp->state() != RemoteClient::Unconnected)
            ftp->close();
        return;
    }
    suppressionsRestantes = static_cast<int>(listeDistante.size());
    for (const QString &nom : std::as_const(listeDistante))
        ftp->remove(nom);
}

void ftpupload::attachClient(RemoteClient *client, remote::Protocol protocol)
{
    if (ftp) {
        ftp->disconnect(this);
        ftp->deleteLater();
    }
    ftp = client;
    clientProtocol = protocol;
    // Both commandFinished connections hang on one signal: ftpTacheSuivante decides on closing
    // the connection before commandFinished handles the result.
    connect(ftp, &RemoteClient::stateChanged, this, &ftpupload::ftpEtat);
    connect(ftp, &RemoteClient::commandFinished, this, &ftpupload::ftpTacheSuivante);
    connect(ftp, &RemoteClient::commandFinished, this, &ftpupload::commandFinished);
    connect(ftp, &RemoteClient::listInfo, this, &ftpupload::addToList);
    connect(ftp, &RemoteClient::dataTransferProgress, this, &ftpupload::progression);
    connect(ftp, &RemoteClient::untrustedCertificate, this, &ftpupload::questionCertificat);
    connect(ftp, &RemoteClient::rawCommandReply, this, &ftpupload::noteTime);
    connect(ftp, &RemoteClient::unknownHostKey, this, &ftpupload::askAboutHostKey);
    connect(ftp, &RemoteClient::information, this, [this](const QString &text) { notifier(QStringLiteral(" : ") + text.toHtmlEscaped()); });
}

remote::Address ftpupload::chooseClient(const QString &hote)
{
    // Called only while no connection is open or queued: a client of another protocol may
    // replace the one there is.
    const remote::Address adresse = remote::parseServer(hote);
    if (adresse.protocol != clientProtocol)
        attachClient(createClient(adresse.protocol, this), adresse.protocol);
    return adresse;
}

void ftpupload::connecter(const QString &hote)
{
    const remote::Address adresse = chooseClient(hote);
    hoteConnexion = hote;
    portConnexion = portNumber(portEdit->text());
    certificateToTrust.clear();
    // A server that has logged in over TLS, or whose certificate is trusted always, never gets
    // the password in clear, even if it (or someone in its place) stops offering TLS.
    ftp->setTlsRequired(HostRecords(tlsServersFile).contains(hoteConnexion, portConnexion)
                        || TrustedCertificates(fichierCertificats).contains(hoteConnexion, portConnexion));
    ftp->connectToHost(adresse.host, portConnexion);
    ftp->login(userEdit->text(), passwordEdit->text());
}

void ftpupload::rememberTlsServer()
{
    HostRecords serveurs(tlsServersFile);
    if (!serveurs.contains(hoteConnexion, portConnexion) && !serveurs.insert(hoteConnexion, portConnexion))
        notifyError(tr("Le serveur n'a pas pu être enregistré comme serveur TLS : %1").arg(serveurs.errorString()));
    if (certificateToTrust.isNull())
        return;
    TrustedCertificates approuves(fichierCertificats);
    if (!approuves.trust(hoteConnexion, portConnexion, certificateToTrust))
        notifyError(tr("Le certificat n'a pas pu être enregistré : %1").arg(approuves.errorString()));
    certificateToTrust.clear();
}

ftpupload::Trust ftpupload::askTrust(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, this);
    box.setTextFormat(Qt::PlainText);
    const QPushButton *toujours = box.addButton(tr("Toujours faire confiance"), QMessageBox::AcceptRole);
    const QPushButton *cetteFois = box.addButton(tr("Faire confiance cette fois"), QMessageBox::AcceptRole);
    QPushButton *annuler = box.addButton(tr("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(annuler);
    box.setEscapeButton(annuler);
    box.exec();
    if (box.clickedButton() == toujours)
        return Trust::Always;
    return box.clickedButton() == cetteFois ? Trust::Once : Trust::Refused;
}

void ftpupload::questionCertificat(const QSslCertificate &certificat, const QList<QSslError> &erreurs)
{
    TrustedCertificates approuves(fichierCertificats);
    const TrustedCertificates::Verdict verdict = approuves.check(hoteConnexion, portConnexion, certificat);
    if (verdict == TrustedCertificates::Verdict::Trusted) {
        ftp->acceptCertificate();
        return;
    }
    const QString texte = certificateQuestion(hoteConnexion, portConnexion, certificat, erreurs,
                                              verdict == TrustedCertificates::Verdict::Changed);
    const Trust reponse = askTrust(tr("Certificat non vérifié"), texte);
    if (reponse == Trust::Refused) {
        ftp->rejectCertificate();
        return;
    }
    // The server may have given up on the connection while the user read the question: a
    // certificate trusted always is kept once the connection has gone through with it.
    if (reponse == Trust::Always)
        certificateToTrust = certificat;
    ftp->acceptCertificate();
}

void ftpupload::askAboutHostKey(const QString &keyType, const QString &fingerprint)
{
    const QString text =
        QStringList{tr("Le serveur %1 (port %2) présente une clé d'hôte qu'aucun fichier known_hosts ne connaît.").arg(hoteConnexion).arg(portConnexion),
                    QString(), tr("Type : %1").arg(keyType), tr("Empreinte : %1").arg(fingerprint), QString(),
                    tr("Comparez cette empreinte avec celle que donne votre hébergeur. Faire confiance à cette clé ?")}
            .join(u'\n');
    // Kept in known_hosts by the client, once the login has gone through with the key.
    const Trust answer = askTrust(tr("Clé d'hôte inconnue"), text);
    if (answer == Trust::Refused)
        ftp->rejectHostKey();
    else
        ftp->acceptHostKey(answer == Trust::Always);
}
