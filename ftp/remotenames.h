#pragma once

#include <QString>

namespace ftp {

// A name that an FTP command line can carry: a CR or LF would end the command early and send the
// rest as a command of its own, and a server may cut the name at a NUL.
bool fitsInCommand(const QString &name);

// A name from a listing that may be removed from the folder listed: one file of that folder,
// never a path (on plain FTP anyone on the path can inject listing lines).
bool isPlainFileName(const QString &name);

// The name for a log line, its control characters shown as \xHH (a line break would split the
// line, and a NUL would end it).
QString readableName(const QString &name);

} // namespace ftp
