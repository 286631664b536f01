// Publishes a folder through the program's window, for bench/publish.sh:
//     publishbench HOST PORT USER PASSWORD SOURCE REMOTE ONLY_CHANGED(yes|no)
// Runs in the current directory, as the program does. Prints the time from the press of the
// send button to the end of the connection ("publish-ms N"), the files sent ("sent N") and the
// failures met ("error TEXT").
#include <cstdio>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "remote/remoteclient.h"
#include "ui/ftpupload.h"

namespace {

// Answers the success box as soon as it shows, without polling.
class BoxCloser final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched))
                QTimer::singleShot(0, box, &QDialog::accept);
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 8) {
        std::fprintf(stderr, "usage: publishbench HOST PORT USER PASSWORD SOURCE REMOTE ONLY_CHANGED(yes|no)\n");
        return 2;
    }
    BoxCloser closer;
    app.installEventFilter(&closer);

    ftpupload window{QString()};
    window.serverEdit->setText(args[1]);
    window.portEdit->setText(args[2]);
    window.userEdit->setText(args[3]);
    window.passwordEdit->setText(args[4]);
    window.localFolderEdit->setText(args[5]);
    window.remoteFolderEdit->setText(args[6]);
    window.findChild<QCheckBox *>(QStringLiteral("onlyChangesBox"))->setChecked(args[7] == QLatin1String("yes"));

    int sent = 0;
    bool failed = false;
    QObject::connect(window.ftp, &RemoteClient::commandFinished, &app, [&](int, bool error) {
        if (error) {
            failed = true;
            std::printf("error %s\n", qPrintable(window.ftp->errorString()));
        } else if (window.ftp->currentCommand() == RemoteClient::Put) {
            ++sent;
        }
    });
    QElapsedTimer timer;
    qint64 elapsed = 0;
    QObject::connect(window.ftp, &RemoteClient::stateChanged, &app, [&](int state) {
        if (state != RemoteClient::Unconnected)
            return;
        elapsed = timer.nsecsElapsed();
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    QTimer::singleShot(0, &app, [&] {
        timer.start();
        window.sendButton->click();
    });
    app.exec();

    std::printf("publish-ms %.3f\nsent %d\n", static_cast<double>(elapsed) / 1e6, sent);
    return failed ? 1 : 0;
}
