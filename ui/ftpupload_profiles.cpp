// Profile slots: the profile table, config.ini and the form checks.
#include "ui/ftpupload.h"

#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "locations/locations.h"
#include "profiles/formchecks.h"
#include "profiles/profiletable.h"

using profiles::FieldCount;

namespace {

const QString configFile = QStringLiteral("config.ini");

// The window's profile lists, indexed by profiles::Field.
std::array<QStringList *, FieldCount> columns(ftpupload &w)
{
    return {&w.listeNomPodcast, &w.listeUrlFtp, &w.listePort, &w.listeMdp,
            &w.listeUser, &w.listeChemin, &w.listeCheminLocal};
}

// The form fields, indexed by profiles::Field.
std::array<QLineEdit *, FieldCount> formFields(const ftpupload &w)
{
    return {w.nameEdit, w.serverEdit, w.portEdit, w.passwordEdit,
            w.userEdit, w.remoteFolderEdit, w.localFolderEdit};
}

profiles::Profile formProfile(const ftpupload &w)
{
    profiles::Profile profile;
    const auto fields = formFields(w);
    for (int field = 0; field < FieldCount; ++field)
        profile[field] = fields[field]->text();
    return profile;
}

profiles::ProfileTable profileTable(ftpupload &w)
{
    profiles::ProfileTable table;
    const auto lists = columns(w);
    for (int field = 0; field < FieldCount; ++field)
        table[field] = *lists[field];
    return table;
}

} // namespace

void ftpupload::load()
{
    const profiles::ProfileTable table = profiles::readProfileTable(configFile);
    profileCombo->addItem(QStringLiteral("Select"));
    const auto lists = columns(*this);
    for (int field = 0; field < FieldCount; ++field)
        *lists[field] = table[field];
    profileCombo->addItems(table[profiles::NomPodcast]);
}

// Selecting an item from here runs this slot once more, from inside, before the line is logged:
// a profile newly selected by code is announced twice.
void ftpupload::podcastLoad(int index)
{
    indexPodcast = index;
    serverEdit->setStyleSheet(QStringLiteral("background-color: white"));
    erreurServeur.clear();
    if (index == 0) {
        reset();
        return;
    }
    if (index > 0 && index <= listeUrlFtp.size()) {
        const auto lists = columns(*this);
        const auto fields = formFields(*this);
        for (int field = 0; field < FieldCount; ++field)
            fields[field]->setText(lists[field]->at(index - 1));
        profileCombo->setCurrentIndex(index);
    }
    notifier(tr(" : Sélection du podcast \"<b>") + nameEdit->text().toHtmlEscaped() + tr("</b>"));
    addButton->setEnabled(false);
    removeButton->setEnabled(true);
}

// With a profile selected, going back to "Select" runs podcastLoad(0) and so this slot once more.
void ftpupload::reset()
{
    profileCombo->setCurrentIndex(profileCombo->findText(QStringLiteral("Select")));
    nameEdit->clear();
    serverEdit->clear();
    portEdit->setText(QStringLiteral("21"));
    passwordEdit->clear();
    userEdit->clear();
    remoteFolderEdit->setText(QStringLiteral("/"));
    localFolderEdit->setText(QDir::currentPath());
    notifier(tr(" : Champs réinitialisés."));
    managerActivationBoutons(QString());
}

void ftpupload::save()
{
    profiles::Profile form = formProfile(*this);
    if (form[profiles::NomPodcast].isEmpty())
        form[profiles::NomPodcast] = form[profiles::UrlFtp];
    const QString &name = form[profiles::NomPodcast];
    indexPodcast = int(listeNomPodcast.indexOf(name));
    // The combo holds "Select" and one item per profile: M ends as the number of profiles.
    int m = profileCombo->count();

    if (form[profiles::UrlFtp].isEmpty())
        serverEdit->setFocus();
    ftpVerif(form[profiles::UrlFtp]);
    qDebug().noquote() << "erreur : " + erreurServeur;

    if (!erreurServeur.isEmpty() && !suppressionEnCours) {
        QMessageBox::critical(this, tr("erreur"), erreurServeur);
        notifier(tr(" : <span style='color: red; font-weight: bold'>Erreur</span> : ") + erreurServeur);
    } else {
        const auto lists = columns(*this);
        if (indexPodcast == -1 && !suppressionEnCours) {
            for (int field = 0; field < FieldCount; ++field)
                lists[field]->append(form[field]);
            profileCombo->addItem(name);
            podcastLoad(int(listeUrlFtp.size()));
        } else if (indexPodcast >= 0) {
            ++indexPodcast;
            for (int field = 0; field < FieldCount; ++field)
                (*lists[field])[indexPodcast - 1] = form[field];
            profileCombo->setItemText(indexPodcast, name);
            --m;
            suppressionEnCours = false;
        } else {
            // Called by effacer() while the form shows no stored profile: only rewrite the file.
            --m;
            suppressionEnCours = false;
        }

        locations::setApplicationIdentity();

        // The table in memory keeps the change even when the file cannot follow.
        if (profiles::writeProfileTable(configFile, profileTable(*this), m)) {
            notifier(tr(" : Liste des podcast mise à jour"));
        } else {
            notifier(tr(" : <span style='color: red; font-weight: bold'>Erreur</span> : ")
                     + tr("impossible d'écrire dans config.ini"));
        }
    }
    managerActivationBoutons(QString());
}

// Removing the current item makes the combo select its neighbour, which runs podcastLoad before
// the deletion is logged.
void ftpupload::effacer()
{
    if (indexPodcast > 0 && indexPodcast <= listeUrlFtp.size()) {
        for (QStringList *list : columns(*this))
            list->removeAt(indexPodcast - 1);
        profileCombo->removeItem(indexPodcast);
        notifier(QStringLiteral(" : The current podcast parameters were deleted."));
    }
    suppressionEnCours = true;
    save();
    managerActivationBoutons(QString());
}

void ftpupload::nameVerif(const QString &text)
{
    const qsizetype position = listeNomPodcast.indexOf(text);
    if (position >= 0)
        podcastLoad(int(position) + 1);
    managerActivationBoutons(QString());
}

void ftpupload::ftpVerif(const QString &text)
{
    erreurServeur.clear();
    if (profiles::isValidServer(text)) {
        serverEdit->setStyleSheet(QStringLiteral("background-color: white;"));
    } else {
        serverEdit->setStyleSheet(QStringLiteral("background-color: red;"));
        erreurServeur = tr("ftp non valide");
    }
    managerActivationBoutons(QString());
}

void ftpupload::managerActivationBoutons(const QString &)
{
    // The profile list's text stands for the name: renaming alone is no change.
    profiles::Profile form = formProfile(*this);
    form[profiles::NomPodcast] = profileCombo->currentText();
    const profiles::ButtonStates states =
        profiles::buttonStates(form, serverEdit->styleSheet(), indexPodcast, profileTable(*this));
    addButton->setEnabled(states.add);
    removeButton->setEnabled(states.remove);
    resetButton->setEnabled(states.reset);
}

void ftpupload::managerActivationBoutons()
{
    managerActivationBoutons(QString());
}

void ftpupload::switchingTestButton(const QString &)
{
    managerActivationBoutons(QString());
}

void ftpupload::dirChosen()
{
    const QString path =
        QFileDialog::getExistingDirectory(this, QString(), QString(), QFileDialog::ShowDirsOnly);
    if (path.isEmpty() || path == localFolderEdit->text())
        return;
    localFolderEdit->setText(path);
    notifier(tr(" : Le dossier source pointe alors sur <b>\"") + path.toHtmlEscaped()
             + QStringLiteral("\"</b>."));
    managerActivationBoutons(QString());
}
