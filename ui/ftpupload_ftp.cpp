// FTP slots: the client's state and progress, the upload and the remote deletion.
#include "ui/ftpupload.h"

void ftpupload::commandFinished(int, bool) {}
void ftpupload::addToList(const UrlInfo &) {}
void ftpupload::ftpTacheSuivante(int, bool) {}
void ftpupload::ftpEtat(int) {}
void ftpupload::upload() {}
void ftpupload::progression(qint64, qint64) {}
void ftpupload::effacerMp3() {}
