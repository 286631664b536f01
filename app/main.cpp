#include <QApplication>
#include <QDebug>
#include <QDir>

#include "app/updater.h"
#include "locations/locations.h"

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // Before anything reads or writes a file of the working directory.
    if (!locations::applyUserDataOption(QCoreApplication::arguments()))
        qWarning() << "The user data folder cannot be used; working in" << QDir::currentPath();
    // Lives for the whole run: it builds the replacement window on every language change.
    new updater;
    return QApplication::exec();
}
