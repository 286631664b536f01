#include <memory>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include "app/updater.h"
#include "tests/kit/minihttpserver.h"
#include "tests/kit/testkit.h"
#include "ui/ftpupload.h"
#include "updater/digits.h"
#include "updater/downloadurl.h"
#include "updater/updaterfen.h"

using testkit::MiniHttpServer;

class UpdateWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_dir = std::make_unique<testkit::WorkDir>(); }
    void cleanup() { m_dir.reset(); }

    void digitsAreGroupedByThree_data();
    void digitsAreGroupedByThree();
    void labelShowsCountsOrSaving_data();
    void labelShowsCountsOrSaving();
    void installerReplacesTheOldOneAndIsOpened();
    void failedDownloadSavesNothingAndStartsTheProgram_data();
    void failedDownloadSavesNothingAndStartsTheProgram();
    void unwritableInstallerStartsTheProgram();
    void installerIsFetchedOverHttpsOrLoopbackOnly_data();
    void installerIsFetchedOverHttpsOrLoopbackOnly();
    void plainHttpInstallerIsRefusedAndTheProgramStarts();

private:
    std::unique_ptr<testkit::WorkDir> m_dir;
};

void UpdateWindowTest::digitsAreGroupedByThree_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("small") << qint64(123) << QStringLiteral("123");
    QTest::newRow("zero") << qint64(0) << QStringLiteral("0");
    QTest::newRow("thousands") << qint64(4000) << QStringLiteral("4 000");
    QTest::newRow("millions") << qint64(1234567) << QStringLiteral("1 234 567");
    QTest::newRow("unknown total") << qint64(-1) << QStringLiteral("-1");
    QTest::newRow("negative thousands") << qint64(-123456) << QStringLiteral("-123 456");
    QTest::newRow("64-bit") << qint64(5000000000) << QStringLiteral("5 000 000 000");
}

void UpdateWindowTest::digitsAreGroupedByThree()
{
    QFETCH(qint64, value);
    QFETCH(QString, text);
    QCOMPARE(groupDigits(value), text);
}

void UpdateWindowTest::labelShowsCountsOrSaving_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("text");
    const QString saving = QStringLiteral("Fichier en cours d'enregistrement...");
    QTest::newRow("last thousand bytes") << qint64(4500) << qint64(5000) << saving;
    QTest::newRow("exactly a thousand left") << qint64(4000) << qint64(5000)
                                             << QStringLiteral("4 000 octets / 5 000 octets en tout");
    QTest::newRow("unknown size") << qint64(10) << qint64(-1) << saving;
    QTest::newRow("grouped") << qint64(1234567) << qint64(2000000)
                             << QStringLiteral("1 234 567 octets / 2 000 000 octets en tout");
}

void UpdateWindowTest::labelShowsCountsOrSaving()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    QFETCH(QString, text);
    MiniHttpServer server;
    server.setRoute("/Tessaly latest version.exe", {200, QByteArray(), true});
    UpdaterFen window(server.baseUrl());
    QCOMPARE(window.windowTitle(), QStringLiteral("Mise à jour vers la dernière version de Tessaly"));
    QCOMPARE(window.size(), QSize(600, 40));
    window.progressionTelechargement(received, total);
    auto *label = window.findChild<QLabel *>();
    QCOMPARE(label->text(), text);
    QCOMPARE(label->alignment(), Qt::AlignCenter);
}

void UpdateWindowTest::installerReplacesTheOldOneAndIsOpened()
{
    QVERIFY(testkit::writeFile(m_dir->filePath(UpdaterFen::installerFileName()), "old installer, longer than the new"));
    testkit::UrlCapture urls;
    MiniHttpServer server;
    server.setRoute("/Tessaly latest version.exe", {200, "MZ new installer", false});

    UpdaterFen window(server.baseUrl());
    window.show();
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(server.requests(), QList<QByteArray>{"/Tessaly latest version.exe"});
    QCOMPARE(testkit::readFile(m_dir->filePath(UpdaterFen::installerFileName())), QByteArray("MZ new installer"));
    QCOMPARE(urls.urls(), QList<QUrl>{QUrl::fromLocalFile(QDir(m_dir->path()).absoluteFilePath(UpdaterFen::installerFileName()))});
}

void UpdateWindowTest::failedDownloadSavesNothingAndStartsTheProgram_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("not found") << 404 << QByteArray("<html>not found</html>");
    QTest::newRow("server error") << 500 << QByteArray("oops");
    QTest::newRow("empty body") << 200 << QByteArray();
}

void UpdateWindowTest::failedDownloadSavesNothingAndStartsTheProgram()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QVERIFY(testkit::writeFile(m_dir->filePath(UpdaterFen::installerFileName()), "previous installer"));
    testkit::UrlCapture urls;
    testkit::ModalAnswerer boxes;
    boxes.answer(QMessageBox::Ok);
    MiniHttpServer server;
    server.setRoute("/TSLVersion.txt", {200, "1.0", false});
    server.setRoute("/Tessaly latest version.exe", {status, body, false});

    updater gate(server.baseUrl());
    QVERIFY(gate.fenetreMiseAJour());
    QTRY_VERIFY(gate.fenetrePrincipale());
    QVERIFY(gate.fenetrePrincipale()->isVisible());
    QTRY_VERIFY(!gate.fenetreMiseAJour());
    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes().first().icon, QMessageBox::Critical);
    QVERIFY(urls.urls().isEmpty());
    QCOMPARE(testkit::readFile(m_dir->filePath(UpdaterFen::installerFileName())), QByteArray("previous installer"));
}

void UpdateWindowTest::unwritableInstallerStartsTheProgram()
{
    // A folder where the installer should go makes the save fail, even for root.
    QVERIFY(QDir(m_dir->path()).mkdir(UpdaterFen::installerFileName()));
    testkit::UrlCapture urls;
    testkit::ModalAnswerer boxes;
    boxes.answer(QMessageBox::Ok);
    MiniHttpServer server;
    server.setRoute("/TSLVersion.txt", {200, "1.0", false});
    server.setRoute("/Tessaly latest version.exe", {200, "MZ installer", false});

    updater gate(server.baseUrl());
    QTRY_VERIFY(gate.fenetrePrincipale());
    QCOMPARE(boxes.boxes().size(), 1);
    QVERIFY(urls.urls().isEmpty());
    QVERIFY(QFileInfo(m_dir->filePath(UpdaterFen::installerFileName())).isDir());
}

void UpdateWindowTest::installerIsFetchedOverHttpsOrLoopbackOnly_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("safe");
    QTest::newRow("https") << QStringLiteral("https://www.example.org/Tessaly latest version.exe") << true;
    QTest::newRow("http") << QStringLiteral("http://www.example.org/Tessaly latest version.exe") << false;
    QTest::newRow("http to a private address") << QStringLiteral("http://192.168.1.2/x.exe") << false;
    QTest::newRow("http to a name under localhost") << QStringLiteral("http://localhost.example.org/x.exe") << false;
    QTest::newRow("http loopback") << QStringLiteral("http://127.0.0.1:8080/x.exe") << true;
    QTest::newRow("http loopback range") << QStringLiteral("http://127.0.0.2/x.exe") << true;
    QTest::newRow("http localhost") << QStringLiteral("http://localhost/x.exe") << true;
    QTest::newRow("http IPv6 loopback") << QStringLiteral("http://[::1]/x.exe") << true;
    QTest::newRow("ftp") << QStringLiteral("ftp://www.example.org/x.exe") << false;
    QTest::newRow("file") << QStringLiteral("file:///tmp/x.exe") << false;
}

void UpdateWindowTest::installerIsFetchedOverHttpsOrLoopbackOnly()
{
    QFETCH(QString, url);
    QFETCH(bool, safe);
    QCOMPARE(isSafeInstallerUrl(QUrl(url)), safe);
}

void UpdateWindowTest::plainHttpInstallerIsRefusedAndTheProgramStarts()
{
    testkit::UrlCapture urls;
    testkit::ModalAnswerer boxes;
    boxes.answer(QMessageBox::Ok);
    // Never contacted: the address is refused before any request.
    UpdaterFen window(QUrl(QStringLiteral("http://updates.tessaly.invalid")));
    QSignalSpy failed(&window, &UpdaterFen::echec);
    window.show();
    QTRY_COMPARE(failed.size(), 1);
    QCOMPARE(boxes.boxes().size(), 1);
    QVERIFY2(boxes.boxes().first().text.contains(QStringLiteral("https")), qPrintable(boxes.boxes().first().text));
    QVERIFY(!window.isVisible());
    QVERIFY(urls.urls().isEmpty());
    QVERIFY(!QFileInfo::exists(m_dir->filePath(UpdaterFen::installerFileName())));
}

QTEST_MAIN(UpdateWindowTest)
#include "tst_updatewindow.moc"
