#include "updater/updaterfen.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkReply>
#include <QSaveFile>

#include "updater/digits.h"
#include "updater/downloadurl.h"

UpdaterFen::UpdaterFen(const QUrl &serveur)
{
    setFixedSize(600, 40);
    setWindowTitle(tr("Mise à jour vers la dernière version de Tessaly"));
    label = new QLabel(this);
    label->setFixedSize(600, 40);

    const QUrl url(serveur.toString() + QLatin1Char('/') + installerFileName());
    if (!isSafeInstallerUrl(url)) {
        // Refused once the window is shown and its owner listens for the failure.
        QMetaObject::invokeMethod(this, [this, url] {
            abandonner(tr("l'adresse %1 n'est pas sécurisée (https). Téléchargez la dernière version à la main sur le site de Tessaly.")
                           .arg(url.toString()));
        }, Qt::QueuedConnection);
        return;
    }
    reply = manager.get(QNetworkRequest(url));
    connect(reply, &QNetworkReply::finished, this, &UpdaterFen::enregistrer);
    connect(reply, &QNetworkReply::downloadProgress, this, &UpdaterFen::progressionTelechargement);
}

UpdaterFen::~UpdaterFen() = default;

QString UpdaterFen::installerFileName()
{
    return QStringLiteral("Tessaly latest version.exe");
}

void UpdaterFen::progressionTelechargement(qint64 bytesReceived, qint64 bytesTotal)
{
    label->setText(groupDigits(bytesReceived) + tr(" octets / ") + groupDigits(bytesTotal)
                   + tr(" octets en tout"));
    label->setAlignment(Qt::AlignCenter);
    // The last thousand bytes, or a size the server does not announce (-1).
    if (bytesReceived > bytesTotal - 1000)
        label->setText(tr("Fichier en cours d'enregistrement..."));
}

void UpdaterFen::enregistrer()
{
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        abandonner(reply->errorString());
        return;
    }
    if (status < 200 || status > 299) {
        abandonner(tr("Le serveur a répondu %1.").arg(status));
        return;
    }
    const QByteArray installer = reply->readAll();
    if (installer.isEmpty()) {
        abandonner(tr("Le fichier reçu est vide."));
        return;
    }
    // Saved whole or not at all: a half-written installer must never be opened.
    QSaveFile file(QDir::current().absoluteFilePath(installerFileName()));
    if (!file.open(QIODevice::WriteOnly) || file.write(installer) != installer.size() || !file.commit()) {
        abandonner(file.errorString());
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(file.fileName()));
    close();
}

void UpdaterFen::abandonner(const QString &raison)
{
    // The reason may quote the server: shown as it is, never as markup.
    QMessageBox box(QMessageBox::Critical, tr("Mise à jour impossible"),
                    tr("La dernière version n'a pas pu être téléchargée : %1").arg(raison), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    // The main window is built before this one closes, so the program keeps a window.
    Q_EMIT echec();
    close();
}
