#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QSettings>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include "buildconfig.h"
#include "tests/kit/testkit.h"
#include "ui/ftpupload.h"
#include "ui/language.h"
#include "ui/logo.h"
#include "ui/notifications.h"

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_dir = std::make_unique<testkit::WorkDir>(); }
    void cleanup() { m_dir.reset(); }

    void startsWithOnlyTheProfileButtonsDisabled();
    void portFieldAcceptsOnlyPortNumbers_data();
    void portFieldAcceptsOnlyPortNumbers();
    void focusFollowsTheFormThenTheFolders();
    void logoKeepsItsProportions_data();
    void logoKeepsItsProportions();
    void logoIsRenderedFromTheWorkingDirectory();
    void languageListStartsWithTheSystemLanguage_data();
    void languageListStartsWithTheSystemLanguage();
    void languageEntriesMapToTranslationCodes_data();
    void languageEntriesMapToTranslationCodes();
    void windowIsTranslatedFromTheWorkingDirectory();
    void notificationLinesStartWithTheTime();
    void commentButtonOpensTheCommentPage();
    void logShowsNamesAsTyped();
    void standardButtonsSpeakTheWindowsLanguage_data();
    void standardButtonsSpeakTheWindowsLanguage();
    void redButtonsLookDisabledWhenDisabled();

private:
    std::unique_ptr<testkit::WorkDir> m_dir;
};

void MainWindowTest::startsWithOnlyTheProfileButtonsDisabled()
{
    ftpupload window{QString()};
    for (QPushButton *button : {window.addButton, window.removeButton, window.resetButton})
        QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
    for (QPushButton *button : {window.testButton, window.sendButton, window.deleteFilesButton,
                                window.commentButton, window.generateButton, window.chooseFolderButton})
        QVERIFY2(button->isEnabled(), qPrintable(button->text()));
    QCOMPARE(window.portEdit->text(), QStringLiteral("21"));
    QCOMPARE(window.remoteFolderEdit->text(), QStringLiteral("/"));
    QCOMPARE(window.localFolderEdit->text(), QDir::currentPath());
    QCOMPARE(window.passwordEdit->echoMode(), QLineEdit::Password);
    QCOMPARE(window.testButton->text(), QStringLiteral("<\u2550 &TESTER!"));
    QCOMPARE(window.playerCombo->count(), 3);
    QCOMPARE(window.playerCombo->itemText(2), QStringLiteral("new Player (no flash required)"));
    QCOMPARE(window.playerCombo->currentIndex(), 0);
    QCOMPARE(window.profileCombo->itemText(0), QStringLiteral("Select"));
    QVERIFY(window.log->isReadOnly());
    QVERIFY(window.log->toPlainText().isEmpty());
    QCOMPARE(window.progressBar->maximum(), 100);
    QCOMPARE(window.addButton->size(), QSize(80, 20));
    QVERIFY(window.windowTitle().isEmpty());
}

void MainWindowTest::portFieldAcceptsOnlyPortNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("usual port") << QStringLiteral("2121") << QStringLiteral("2121");
    QTest::newRow("highest port") << QStringLiteral("65535") << QStringLiteral("65535");
    QTest::newRow("letters refused") << QStringLiteral("2a1") << QStringLiteral("21");
    QTest::newRow("too large refused") << QStringLiteral("70000") << QStringLiteral("7000");
    QTest::newRow("just above the range") << QStringLiteral("65536") << QStringLiteral("6553");
    QTest::newRow("sign refused") << QStringLiteral("-21") << QStringLiteral("21");
}

void MainWindowTest::portFieldAcceptsOnlyPortNumbers()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    ftpupload window{QString()};
    window.portEdit->clear();
    QVERIFY(window.portEdit->text().isEmpty()); // allowed while typing
    QTest::keyClicks(window.portEdit, typed);
    QCOMPARE(window.portEdit->text(), shown);
}

void MainWindowTest::focusFollowsTheFormThenTheFolders()
{
    ftpupload window{QString()};
    const QList<QWidget *> expected{
        window.nameEdit, window.profileCombo, window.serverEdit, window.portEdit, window.userEdit,
        window.passwordEdit, window.localFolderEdit, window.chooseFolderButton, window.remoteFolderEdit,
        window.resetButton, window.removeButton, window.addButton, window.testButton, window.sendButton,
        window.deleteFilesButton, window.languageCombo, window.commentButton, window.playlistText,
        window.playerCombo, window.generateButton, window.log};
    QList<QWidget *> order;
    QWidget *widget = window.nameEdit;
    do {
        if (expected.contains(widget))
            order.append(widget);
        widget = widget->nextInFocusChain();
    } while (widget != window.nameEdit);
    QCOMPARE(order, expected);
}

void MainWindowTest::logoKeepsItsProportions_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QSize>("size");
    QTest::newRow("1280-pixel screen") << 1180 << QSize(147, 101);
    QTest::newRow("1920-pixel screen") << 1820 << QSize(227, 156);
}

void MainWindowTest::logoKeepsItsProportions()
{
    QFETCH(int, width);
    QFETCH(QSize, size);
    QCOMPARE(logoSize(width), size);
}

void MainWindowTest::logoIsRenderedFromTheWorkingDirectory()
{
    const QSize size = logoSize(1180);
    const QImage missing = renderLogo(QStringLiteral("TessalySmall.svg"), size);
    QCOMPARE(missing.size(), size);
    QCOMPARE(missing.pixel(size.width() / 2, size.height() / 2), qRgba(0, 0, 0, 0));

    QVERIFY(m_dir->copyFromRunDir(QStringLiteral("TessalySmall.svg")));
    const QImage logo = renderLogo(QStringLiteral("TessalySmall.svg"), size);
    int opaque = 0;
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            opaque += qAlpha(logo.pixel(x, y)) > 0;
    QVERIFY(opaque > size.width() * size.height() / 10);
}

void MainWindowTest::languageListStartsWithTheSystemLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("French") << QStringLiteral("fr_FR")
                            << QStringList{QStringLiteral("Français"), QStringLiteral("Español"), QStringLiteral("English")};
    QTest::newRow("English") << QStringLiteral("en_GB")
                             << QStringList{QStringLiteral("English"), QStringLiteral("Español"), QStringLiteral("Français")};
    QTest::newRow("Spanish") << QStringLiteral("es_ES")
                             << QStringList{QStringLiteral("Español"), QStringLiteral("English"), QStringLiteral("Français")};
    QTest::newRow("German") << QStringLiteral("de_DE")
                            << QStringList{QString(), QStringLiteral("Español"), QStringLiteral("English"), QStringLiteral("Français")};
}

void MainWindowTest::languageListStartsWithTheSystemLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, entries);
    QCOMPARE(languageEntries(QLocale(locale)), entries);
}

void MainWindowTest::languageEntriesMapToTranslationCodes_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("code");
    QTest::newRow("system French") << QString() << QStringLiteral("fr_FR") << QStringLiteral("fr");
    QTest::newRow("system German") << QString() << QStringLiteral("de_DE") << QStringLiteral("de");
    QTest::newRow("English") << QStringLiteral("English") << QStringLiteral("de_DE") << QStringLiteral("en");
    QTest::newRow("Spanish") << QStringLiteral("Español") << QStringLiteral("fr_FR") << QStringLiteral("es");
    QTest::newRow("French") << QStringLiteral("Français") << QStringLiteral("en_US") << QStringLiteral("fr");
}

void MainWindowTest::languageEntriesMapToTranslationCodes()
{
    QFETCH(QString, entry);
    QFETCH(QString, locale);
    QFETCH(QString, code);
    QCOMPARE(languageCode(entry, QLocale(locale)), code);
}

void MainWindowTest::windowIsTranslatedFromTheWorkingDirectory()
{
    {
        ftpupload french(QStringLiteral("English")); // no translation file yet: French texts
        QCOMPARE(french.sendButton->text(), QStringLiteral("&Envoyer les fichiers"));
        QCOMPARE(french.languageCombo->currentText(), QStringLiteral("English"));
    }
    QVERIFY(m_dir->copyFromRunDir(QStringLiteral("TSL_en.qm")));
    ftpupload english(QStringLiteral("English"));
    QCOMPARE(english.sendButton->text(), QStringLiteral("&Send the files"));
    QCOMPARE(english.playerCombo->itemText(1), QStringLiteral("Dew Player"));
    QCOMPARE(english.languageCombo->currentText(), QStringLiteral("English"));
}

void MainWindowTest::notificationLinesStartWithTheTime()
{
    QCOMPARE(notificationLine(QTime(9, 5, 7), QStringLiteral(" : Champs réinitialisés.")),
             QStringLiteral("09:05:07 : Champs réinitialisés."));
    QCOMPARE(notificationLine(QTime(23, 59, 0), QString()), QStringLiteral("23:59:00"));
}

void MainWindowTest::commentButtonOpensTheCommentPage()
{
    testkit::UrlCapture urls;
    ftpupload window{QString()};
    QTest::mouseClick(window.commentButton, Qt::LeftButton);
    QCOMPARE(urls.urls(), QList<QUrl>{QUrl(QString::fromLatin1(BuildConfig::serverUrl) + QStringLiteral("/Web/public-news-44.php"))});
    QVERIFY(window.log->toPlainText().isEmpty());
}

void MainWindowTest::logShowsNamesAsTyped()
{
    const QString name = QStringLiteral(" a  <b>&c\tz");
    QSettings settings(QStringLiteral("config.ini"), QSettings::IniFormat);
    settings.beginWriteArray(QStringLiteral("Remote"));
    settings.setArrayIndex(0);
    settings.setValue(QStringLiteral("nomPodcast"), name);
    settings.endArray();
    settings.sync();

    ftpupload window{QString()};
    window.profileCombo->setCurrentIndex(1);
    QCOMPARE(window.log->toPlainText().section(QLatin1Char('\n'), 0, 0).mid(8),
             QStringLiteral(" : Sélection du podcast \"") + name);
}

void MainWindowTest::standardButtonsSpeakTheWindowsLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::newRow("French") << QStringLiteral("Français") << QStringLiteral("&Oui") << QStringLiteral("&Non");
    QTest::newRow("Spanish") << QStringLiteral("Español") << QStringLiteral("&Sí") << QStringLiteral("&No");
    QTest::newRow("English") << QStringLiteral("English") << QStringLiteral("&Yes") << QStringLiteral("&No");
}

void MainWindowTest::standardButtonsSpeakTheWindowsLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    ftpupload window(language);
    QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), yes);
    QCOMPARE(box.button(QMessageBox::No)->text(), no);
}

void MainWindowTest::redButtonsLookDisabledWhenDisabled()
{
    ftpupload window{QString()};
    window.show();
    const auto redPixels = [](QPushButton *button) {
        const QImage image = button->grab().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor colour = image.pixelColor(x, y);
                count += colour.red() > 150 && colour.green() < 100 && colour.blue() < 100;
            }
        }
        return count;
    };
    for (QPushButton *button : {window.sendButton, window.deleteFilesButton, window.addButton, window.removeButton}) {
        button->setEnabled(true);
        QVERIFY2(redPixels(button) > 0, qPrintable(button->text()));
        button->setEnabled(false);
        QVERIFY2(redPixels(button) == 0, qPrintable(button->text()));
    }
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
