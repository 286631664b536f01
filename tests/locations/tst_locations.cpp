#include <memory>

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "locations/locations.h"
#include "tests/kit/testkit.h"
#include "ui/ftpupload.h"

class TestLocations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_dir = std::make_unique<testkit::WorkDir>(); }
    void cleanup() { m_dir.reset(); }

    void readOnlyFilesComeFromTheWorkingDirectoryFirst_data();
    void readOnlyFilesComeFromTheWorkingDirectoryFirst();
    void userDataOptionMovesIntoTheUserDataFolder_data();
    void userDataOptionMovesIntoTheUserDataFolder();
    void installedWindowFindsItsTranslationIconAndLogo();

private:
    std::unique_ptr<testkit::WorkDir> m_dir;
};

void TestLocations::readOnlyFilesComeFromTheWorkingDirectoryFirst_data()
{
    QTest::addColumn<bool>("inWorkingDirectory");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("fromInstalled");
    QTest::newRow("in both") << true << true << false;
    QTest::newRow("installed only") << false << true << true;
    QTest::newRow("neither: the working directory's path") << false << false << false;
}

void TestLocations::readOnlyFilesComeFromTheWorkingDirectoryFirst()
{
    QFETCH(bool, inWorkingDirectory);
    QFETCH(bool, installed);
    QFETCH(bool, fromInstalled);
    QTemporaryDir installedDir;
    if (inWorkingDirectory)
        QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("TSL_en.qm")), "here"));
    if (installed)
        QVERIFY(testkit::writeFile(installedDir.filePath(QStringLiteral("TSL_en.qm")), "installed"));
    const QString expected = fromInstalled ? installedDir.filePath(QStringLiteral("TSL_en.qm"))
                                           : QDir::current().absoluteFilePath(QStringLiteral("TSL_en.qm"));
    QCOMPARE(locations::readOnlyFile(QStringLiteral("TSL_en.qm"), installedDir.path()), expected);
}

void TestLocations::userDataOptionMovesIntoTheUserDataFolder_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("blocked"); // a file stands where the folder should be made
    QTest::addColumn<bool>("moves");
    const QString program = QStringLiteral("tessaly");
    QTest::newRow("no option") << QStringList{program} << false << false;
    QTest::newRow("option") << QStringList{program, QStringLiteral("--user-data")} << false << true;
    QTest::newRow("folder cannot be made") << QStringList{program, QStringLiteral("--user-data")} << true << false;
}

void TestLocations::userDataOptionMovesIntoTheUserDataFolder()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, blocked);
    QFETCH(bool, moves);
    qputenv("XDG_DATA_HOME", m_dir->filePath(QStringLiteral("data")).toLocal8Bit());
    if (blocked)
        QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("data/Orvane Development")), "file"));
    const QString start = QDir::currentPath();

    QCOMPARE(locations::applyUserDataOption(arguments), !blocked);
    QCOMPARE(QDir::currentPath(), moves ? start + QStringLiteral("/data/Orvane Development/Tessaly") : start);
}

void TestLocations::installedWindowFindsItsTranslationIconAndLogo()
{
    QDir installed(locations::installedDataDir());
    QVERIFY(installed.removeRecursively() && installed.mkpath(QStringLiteral(".")));
    const QStringList files{QStringLiteral("TSL_en.qm"), QStringLiteral("icone.png"), QStringLiteral("TessalySmall.svg")};
    for (const QString &name : files)
        QVERIFY(QFile::copy(QStringLiteral(TESSALY_RUN_DIR "/") + name, installed.filePath(name)));

    ftpupload window(QStringLiteral("English"));
    installed.removeRecursively();
    QCOMPARE(window.sendButton->text(), QStringLiteral("&Send the files"));
    QVERIFY(!window.windowIcon().isNull());
    const QList<QLabel *> labels = window.findChildren<QLabel *>();
    QVERIFY(std::any_of(labels.cbegin(), labels.cend(), [](const QLabel *label) {
        const QImage logo = label->pixmap().toImage();
        QImage transparent(logo.size(), logo.format());
        transparent.fill(Qt::transparent);
        return !logo.isNull() && logo != transparent;
    }));
}

QTEST_MAIN(TestLocations)
#include "tst_locations.moc"
