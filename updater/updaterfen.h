#pragma once

#include <QNetworkAccessManager>
#include <QUrl>
#include <QWidget>

#include "buildconfig.h"

class QLabel;
class QNetworkReply;

// Downloads the installer of the latest version, saves it in the working directory and
// hands it to the desktop to be opened.
class UpdaterFen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UpdaterFen)
public:
    explicit UpdaterFen(const QUrl &serveur = QUrl(QString::fromLatin1(BuildConfig::serverUrl)));
    ~UpdaterFen() override;

    static QString installerFileName();

Q_SIGNALS:
    // The installer could not be fetched or saved; the user has been told why and may go on
    // with the installed version.
    void echec();

public Q_SLOTS:
    void progressionTelechargement(qint64 bytesReceived, qint64 bytesTotal);
    void enregistrer();

private:
    void abandonner(const QString &raison);

    QLabel *label = nullptr;
    QNetworkReply *reply = nullptr;
    QNetworkAccessManager manager;
};
