#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringList>
#include <QTextEdit>
#include <QtTest>

#include "remote/remoteclient.h"
#include "tests/kit/ftpserver.h"
#include "tests/kit/testkit.h"
#include "ui/ftpupload.h"

// Shared by the tests that publish through the window.
namespace publishingkit {

// The log's lines; a leading time is cut, so " : CWD MP3" stands for "hh:mm:ss : CWD MP3".
inline QStringList logLines(const QTextEdit *log)
{
    static const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d"));
    QStringList lines = log->toPlainText().split(QLatin1Char('\n'));
    for (QString &line : lines)
        line.remove(time);
    return lines;
}

// Waits until the client, having moved (states not empty), is back to Unconnected with nothing
// queued, and every answer given to the boxes has been used.
inline bool waitForIdle(const RemoteClient *ftp, const QSignalSpy &states, const testkit::ModalAnswerer &boxes)
{
    return QTest::qWaitFor([&] {
        return !states.isEmpty() && ftp->state() == RemoteClient::Unconnected && !ftp->hasPendingCommands()
               && !QApplication::activeModalWidget() && boxes.pending() == 0;
    }, 20000);
}

// The form of a publish of sourceFolder into the server's folder /site.
inline void fillForm(ftpupload *window, const testkit::FtpServer &server, const QString &sourceFolder)
{
    window->serverEdit->setText(server.host());
    window->portEdit->setText(QString::number(server.port()));
    window->userEdit->setText(server.user());
    window->passwordEdit->setText(server.password());
    window->localFolderEdit->setText(sourceFolder);
    window->remoteFolderEdit->setText(QStringLiteral("/site"));
}

} // namespace publishingkit
