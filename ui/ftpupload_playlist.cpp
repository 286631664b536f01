// Playlist slots: the episode list, the player snippets, the playlist files and the preview.
#include "ui/ftpupload.h"

EpisodeList ftpupload::triFichiers() { return {}; }
void ftpupload::generatePlaylist() {}
void ftpupload::genererFichierPlaylist(const QString &, bool) {}
void ftpupload::runTest() {}
