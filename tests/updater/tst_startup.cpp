#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QTcpServer>
#include <QtTest>

#include "app/updater.h"
#include "remote/remoteclient.h"
#include "tests/kit/minihttpserver.h"
#include "tests/kit/testkit.h"
#include "ui/ftpupload.h"
#include "updater/updaterfen.h"

using testkit::MiniHttpServer;

class StartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_dir = std::make_unique<testkit::WorkDir>(); }
    void cleanup() { m_dir.reset(); }

    void versionCheckChoosesTheWindow_data();
    void versionCheckChoosesTheWindow();
    void refusedConnectionStartsTheProgram();
    void languageSwitchRebuildsTheWindowAndKeepsRunning();
    void languagePickDuringAnFtpOperationKeepsTheWindow();

private:
    std::unique_ptr<testkit::WorkDir> m_dir;
};

void StartupTest::versionCheckChoosesTheWindow_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<bool>("update");

    QTest::newRow("same version") << 200 << QByteArray("0.9") << false << false;
    QTest::newRow("line break after") << 200 << QByteArray("0.9\n") << false << true;
    QTest::newRow("space before") << 200 << QByteArray(" 0.9") << false << true;
    QTest::newRow("newer") << 200 << QByteArray("1.0") << false << true;
    QTest::newRow("older") << 200 << QByteArray("0.8") << false << true;
    QTest::newRow("empty body") << 200 << QByteArray() << false << true;
    QTest::newRow("missing file") << 404 << QByteArray("0.9") << false << false;
    QTest::newRow("server error") << 500 << QByteArray("1.0") << false << false;
    QTest::newRow("no answer") << 200 << QByteArray() << true << false;
}

void StartupTest::versionCheckChoosesTheWindow()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, silent);
    QFETCH(bool, update);

    MiniHttpServer server;
    server.setRoute("/TSLVersion.txt", {status, body, silent});
    // The installer never answers: the update window simply stays open.
    server.setRoute("/Tessaly latest version.exe", {200, QByteArray(), true});

    updater gate(server.baseUrl());
    QCOMPARE(server.requests().value(0), QByteArray("/TSLVersion.txt"));
    if (update) {
        QVERIFY(gate.fenetreMiseAJour());
        QVERIFY(gate.fenetreMiseAJour()->isVisible());
        QVERIFY(!gate.fenetrePrincipale());
    } else {
        QVERIFY(!gate.fenetreMiseAJour());
        QVERIFY(gate.fenetrePrincipale());
        QVERIFY(gate.fenetrePrincipale()->isVisible());
        QCOMPARE(gate.fenetrePrincipale()->languageCombo->currentIndex(), 0);
    }
}

void StartupTest::refusedConnectionStartsTheProgram()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();

    updater gate(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port)));
    QVERIFY(gate.fenetrePrincipale());
    QVERIFY(!gate.fenetreMiseAJour());
}

void StartupTest::languageSwitchRebuildsTheWindowAndKeepsRunning()
{
    QVERIFY(m_dir->copyFromRunDir(QStringLiteral("TSL_en.qm")));
    QVERIFY(m_dir->copyFromRunDir(QStringLiteral("TSL_es.qm")));
    MiniHttpServer server;
    server.setRoute("/TSLVersion.txt", {200, "0.9", false});
    updater gate(server.baseUrl());
    QPointer<ftpupload> first = gate.fenetrePrincipale();
    QVERIFY(first);

    QPointer<ftpupload> english;
    QPointer<ftpupload> spanish;
    QStringList closedTitles;
    // The switch must not end the application even though it closes the only window.
    QTimer::singleShot(0, [&] {
        first->languageCombo->setCurrentIndex(first->languageCombo->findText(QStringLiteral("English")));
        english = gate.fenetrePrincipale();
        QTimer::singleShot(50, [&] {
            english->languageCombo->setCurrentIndex(english->languageCombo->findText(QStringLiteral("Español")));
            spanish = gate.fenetrePrincipale();
            QTimer::singleShot(200, [] { QCoreApplication::exit(42); });
        });
    });
    QCOMPARE(QApplication::exec(), 42);

    QVERIFY(!first); // closed and released
    QVERIFY(!english);
    QVERIFY(spanish);
    QVERIFY(spanish->isVisible());
    QCOMPARE(spanish->languageCombo->currentText(), QStringLiteral("Español"));
    QCOMPARE(spanish->sendButton->text(), QStringLiteral("&Enviar los archivos"));
}

void StartupTest::languagePickDuringAnFtpOperationKeepsTheWindow()
{
    MiniHttpServer server;
    server.setRoute("/TSLVersion.txt", {200, "0.9", false});
    // A server that accepts the connection and says nothing keeps the window's client busy.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    updater gate(server.baseUrl());
    QPointer<ftpupload> window = gate.fenetrePrincipale();
    window->ftp->connectToHost(QStringLiteral("127.0.0.1"), silent.serverPort());
    QTRY_VERIFY(silent.hasPendingConnections());

    const int language = window->languageCombo->currentIndex();
    window->languageCombo->setCurrentIndex(language == 0 ? 1 : 0);
    QCoreApplication::processEvents();

    QCOMPARE(gate.fenetrePrincipale(), window.data());
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->languageCombo->currentIndex(), language);
    QVERIFY(window->log->toPlainText().endsWith(QStringLiteral(" : Une opération FTP est déjà en cours.")));
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
