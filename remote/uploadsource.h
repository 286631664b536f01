#pragma once

#include <QString>

class QIODevice;

namespace remote {

// Makes device ready to give an upload's bytes from offset on: opened read-only unless it is
// open already (*opened then tells the caller to close it afterwards), and seeked to offset.
// Empty when it is; else why not, for an error line about remoteName.
QString openForUpload(QIODevice *device, const QString &remoteName, qint64 offset, bool *opened);

} // namespace remote
