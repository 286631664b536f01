#pragma once

#include <array>

#include <QString>
#include <QStringList>

namespace profiles {

// The seven texts of a podcast profile, in the order of the form, of the window's lists and of
// the keys in config.ini.
enum Field { NomPodcast, UrlFtp, Port, Mdp, User, Chemin, CheminLocal, FieldCount };

// One profile, indexed by Field.
using Profile = std::array<QString, FieldCount>;

// The stored profiles as seven parallel columns, indexed by Field; row i of every column belongs
// to profile i.
using ProfileTable = std::array<QStringList, FieldCount>;

// Reads the array "Remote" of an INI file. Its "size" sets the number of profiles; a missing key
// reads as an empty text, and a missing or unreadable file as an empty table. An existing file is
// left readable by its owner only.
ProfileTable readProfileTable(const QString &fileName);

// Replaces the whole content of the INI file with the first count profiles of the table.
// The file holds passwords in clear, so it is left readable by its owner only.
// Returns false when the file could not be written.
bool writeProfileTable(const QString &fileName, const ProfileTable &table, qsizetype count);

} // namespace profiles
