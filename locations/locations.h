#pragma once

#include <QString>
#include <QStringList>

namespace locations {

// The folder of the installed read-only files (translations, icon, logo), placed relative to the
// program's own folder: <prefix>/share/tessaly for <prefix>/bin/tessaly.
QString installedDataDir();

// Path of a read-only file: in the working directory when it is there, as a program started from
// its own folder has always found it, otherwise in the installed folder. When neither holds it,
// the working-directory path, where a missing file has always been looked for and reported.
QString readOnlyFile(const QString &name, const QString &installedDir = installedDataDir());

// The identity the profiles are saved under; it also names the user's data folder.
void setApplicationIdentity();

// With "--user-data" among the arguments, makes the user's data folder (created when missing)
// the working directory, so that the files the program keeps for itself (config.ini, the trust
// files...) and the update download land there. False when the option is given but the folder
// cannot be made or entered: the working directory then stays as it was.
bool applyUserDataOption(const QStringList &arguments);

} // namespace locations
