#include <QApplication>

#include "app/updater.h"

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // Lives for the whole run: it builds the replacement window on every language change.
    new updater;
    return QApplication::exec();
}
