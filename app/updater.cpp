#include "app/updater.h"

#include <QComboBox>
#include <QDebug>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "ui/ftpupload.h"
#include "updater/updaterfen.h"

namespace {
// A version request that gets no answer for this long counts as failed.
constexpr int versionTimeoutMs = 10000;
}

updater::updater(const QUrl &serveur)
    : version(QString::fromLatin1(BuildConfig::programVersion))
{
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(serveur.toString() + QStringLiteral("/TSLVersion.txt")));
    request.setTransferTimeout(versionTimeoutMs);
    QNetworkReply *reponse = manager.get(request);

    QEventLoop attente;
    connect(reponse, &QNetworkReply::finished, &attente, &QEventLoop::quit);
    attente.exec();

    const int status = reponse->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool recue = reponse->error() == QNetworkReply::NoError && status >= 200 && status <= 299;
    versionDistante = QString::fromLatin1(reponse->readAll());
    qDebug() << version << versionDistante;

    // Only a version actually published and different leads to the update; without an
    // answer the user goes on with the installed version.
    if (!recue) {
        qDebug() << "Version check failed:" << reponse->errorString() << status;
        ouvrirFenetre(QString());
    } else if (versionDistante == version) {
        ouvrirFenetre(QString());
    } else {
        miseAJour = new UpdaterFen(serveur);
        miseAJour->setAttribute(Qt::WA_DeleteOnClose);
        connect(miseAJour, &UpdaterFen::echec, this, [this] { ouvrirFenetre(QString()); });
        miseAJour->show();
    }
    delete reponse;
}

updater::~updater()
{
    delete fenetre;
    delete miseAJour;
}

ftpupload *updater::fenetrePrincipale() const
{
    return fenetre;
}

UpdaterFen *updater::fenetreMiseAJour() const
{
    return miseAJour;
}

void updater::changerLangue(const QString &langue)
{
    qDebug() << "ftpTest s'est closé et on fait un new ftpupload avec la langue" << langue;
    ouvrirFenetre(langue);
}

void updater::ouvrirFenetre(const QString &langue)
{
    fenetre = new ftpupload(langue);
    fenetre->show();
    // Connected after the window's own slot, which therefore closes the old window first, or
    // puts the list back when it refuses the change (during an FTP operation).
    connect(fenetre->languageCombo, &QComboBox::currentIndexChanged, this,
            [this, combo = fenetre->languageCombo](int index) {
                if (combo->currentIndex() == index)
                    changerLangue(combo->itemText(index));
            });
}
