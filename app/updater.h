#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include "buildconfig.h"

class ftpupload;
class UpdaterFen;

// The start-up object: checks the published version, then shows the main window or the
// update window, and builds a new main window whenever the user picks another language.
class updater final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(updater)
public:
    explicit updater(const QUrl &serveur = QUrl(QString::fromLatin1(BuildConfig::serverUrl)));
    ~updater() override;

    // The latest main window, null while none is built.
    ftpupload *fenetrePrincipale() const;
    // The update window, null when the versions matched.
    UpdaterFen *fenetreMiseAJour() const;

public Q_SLOTS:
    void changerLangue(const QString &langue);

private:
    void ouvrirFenetre(const QString &langue);

    QString version;
    QString versionDistante;
    QPointer<ftpupload> fenetre;
    QPointer<UpdaterFen> miseAJour;
};
