#include "remote/uploadsource.h"

#include <QCoreApplication>
#include <QFileDevice>

namespace remote {

QString openForUpload(QIODevice *device, const QString &remoteName, qint64 offset, bool *opened)
{
    *opened = false;
    if (!device)
        return QCoreApplication::translate("RemoteClient", "Nothing to send for %1").arg(remoteName);
    if (!device->isOpen()) {
        if (!device->open(QIODevice::ReadOnly)) {
            const auto *file = qobject_cast<QFileDevice *>(device);
            return file ? QCoreApplication::translate("RemoteClient", "Cannot open %1 for reading: %2").arg(file->fileName(), device->errorString())
                        : QCoreApplication::translate("RemoteClient", "Cannot open the data to send: %1").arg(device->errorString());
        }
        *opened = true;
    } else if (!device->isReadable()) {
        return QCoreApplication::translate("RemoteClient", "The data to send is not open for reading");
    }
    if (offset > 0 && (device->isSequential() || !device->seek(offset)))
        return QCoreApplication::translate("RemoteClient", "Cannot resume %1 from byte %2").arg(remoteName).arg(offset);
    return {};
}

} // namespace remote
