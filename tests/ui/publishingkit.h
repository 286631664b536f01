#pragma once

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
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

// The form of a publish of sourceFolder into the server's folder remoteFolder.
inline void fillForm(ftpupload *window, const QString &server, quint16 port, const QString &user,
                     const QString &password, const QString &sourceFolder, const QString &remoteFolder = QStringLiteral("/site"))
{
    window->serverEdit->setText(server);
    window->portEdit->setText(QString::number(port));
    window->userEdit->setText(user);
    window->passwordEdit->setText(password);
    window->localFolderEdit->setText(sourceFolder);
    window->remoteFolderEdit->setText(remoteFolder);
}

inline void fillForm(ftpupload *window, const testkit::FtpServer &server, const QString &sourceFolder)
{
    fillForm(window, server.host(), server.port(), server.user(), server.password(), sourceFolder);
}

// Clicks the button of the next message box that carries text; the handler may do more first.
inline void clickNext(testkit::ModalAnswerer &boxes, const QString &text, std::function<void()> before = {})
{
    boxes.handleNext([text, before](QWidget *widget) {
        if (before)
            before();
        for (QAbstractButton *button : qobject_cast<QMessageBox *>(widget)->buttons()) {
            if (button->text() == text)
                button->click();
        }
    });
}

} // namespace publishingkit
