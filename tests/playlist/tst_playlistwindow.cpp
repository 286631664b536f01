#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include "entries.h"
#include "golden.h"
#include "playlist/snippets.h"
#include "playlist/texteacopier.h"
#include "tests/kit/testkit.h"
#include "ui/ftpupload.h"

namespace {

// Oldest first, so that publication order is the order written here.
QStringList entriesInOrder(const QStringList &names)
{
    QStringList entries;
    QDateTime when(QDate(2015, 3, 1), QTime(10, 0));
    for (const QString &name : names) {
        entries << name + u'@' + when.toString(Qt::ISODateWithMs);
        when = when.addDays(1);
    }
    return entries;
}

const QStringList twoEpisodes{"ep-1_pilot.v2.mp3", "b.mp3"};

QList<texteACopier *> copyWindows()
{
    QList<texteACopier *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<texteACopier *>(widget))
            windows << window;
    }
    return windows;
}

QStringList logLines(const ftpupload &window)
{
    return window.log->toPlainText().split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class tst_PlaylistWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void generatingShowsPlayerText_data();
    void generatingShowsPlayerText();
    void listingFollowsTheFormAtEachCall();
    void everyGenerationOpensAnotherCopyWindow();
    void previewWritesFilesAndOpensPage_data();
    void previewWritesFilesAndOpensPage();
    void previewCopiesOnlyMissingPlayerFiles();
    void previewOfEmptyTextArea_data();
    void previewOfEmptyTextArea();
    void previewWritesTheFolderOfTheLastGeneration();
    void unwritablePlaylistShowsErrorAndPreviewGoesOn();
    void publishedPlaylistKeepsServerPaths();

private:
    void generate(const QString &player);

    std::unique_ptr<testkit::WorkDir> m_workDir;
    std::unique_ptr<ftpupload> m_window;
    QString m_source;
};

void tst_PlaylistWindow::init()
{
    m_workDir = std::make_unique<testkit::WorkDir>();
    m_window = std::make_unique<ftpupload>(QString());
    // The episodes live apart from the working directory, which holds the player files.
    m_source = m_workDir->filePath("episodes");
    QVERIFY(QDir().mkpath(m_source));
    m_window->localFolderEdit->setText(m_source);
}

void tst_PlaylistWindow::cleanup()
{
    qDeleteAll(copyWindows());
    m_window.reset();
    m_workDir.reset();
}

void tst_PlaylistWindow::generate(const QString &player)
{
    m_window->playerCombo->setCurrentText(player);
    m_window->generateButton->click();
}

void tst_PlaylistWindow::generatingShowsPlayerText_data()
{
    QTest::addColumn<QString>("player");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("copied");

    const QStringList special{"Tom & \"Jerry\" <live>.mp3", " intro.mp3", "Show.MP3", "été|1.mp3"};
    QTest::newRow("dew player") << QString(playlist::dewPlayer) << special << golden("xspf-special.txt")
                                << golden("dewplayer-object.txt");
    QTest::newRow("mp3 player") << QString(playlist::mp3Player) << twoEpisodes << golden("multi-two.txt")
                                << golden("multi-two.txt");
    QTest::newRow("html5 player, empty folder") << QString(playlist::html5Player) << QStringList()
                                                << golden("html5-none.txt") << golden("html5-none.txt");
}

void tst_PlaylistWindow::generatingShowsPlayerText()
{
    QFETCH(QString, player);
    QFETCH(QStringList, names);
    QFETCH(QString, text);
    QFETCH(QString, copied);
    QVERIFY(makeEntries(m_source, entriesInOrder(names) + QStringList{"notes.xml@2016-01-01T00:00:00.000"}));

    generate(player);

    QCOMPARE(m_window->playlistText->toPlainText(), text);
    QCOMPARE(m_window->playlistText->tabStopDistance(), 10.0);
    QCOMPARE(m_window->playlistText->lineWrapMode(), QTextEdit::NoWrap);
    QCOMPARE(m_window->playlistText->font().family(), QStringLiteral("courier"));
    QCOMPARE(m_window->playlistText->font().pointSize(), 8);
    QCOMPARE(m_window->playlistText->font().italic(), false);

    const QStringList lines = logLines(*m_window);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d : The playlist was generated in the "
                                               "playlist text area\\.$"))
                 .match(lines.first())
                 .hasMatch(),
             qPrintable(lines.first()));

    const QList<texteACopier *> windows = copyWindows();
    QCOMPARE(windows.size(), 1);
    texteACopier *window = windows.first();
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Copiez le script avec CTRL+C"));
    QCOMPARE(window->size(), QSize(500, 400));
    auto *area = window->findChild<QTextEdit *>();
    QVERIFY(area);
    QCOMPARE(area->toPlainText(), copied);
    QCOMPARE(area->textCursor().selection().toPlainText(), copied);
    QCOMPARE(area->contextMenuPolicy(), Qt::NoContextMenu);
    QVERIFY(!area->isReadOnly());
}

void tst_PlaylistWindow::listingFollowsTheFormAtEachCall()
{
    QVERIFY(makeEntries(m_source, entriesInOrder({"b.mp3", "a.mp3", "playlist.xml", "notes.xml"})));
    QVERIFY(makeEntries(m_workDir->path(), entriesInOrder({"here.mp3"})));
    m_window->serverEdit->setText(QStringLiteral("ftp.example.org"));

    QCOMPARE(m_window->hoteFtp, QString());
    const EpisodeList episodes = m_window->triFichiers();
    QCOMPARE(episodes.size(), 2);
    QCOMPARE(episodes.at(0).title, QStringLiteral("b"));
    QCOMPARE(episodes.at(1).title, QStringLiteral("a"));
    QCOMPARE(m_window->hoteFtp, QStringLiteral("ftp.example.org"));
    QCOMPARE(m_window->dossierSource.absolutePath(), m_source);
    QStringList listed;
    for (const QFileInfo &file : m_window->listeFichiers)
        listed << file.fileName();
    QCOMPARE(listed, (QStringList{"a.mp3", "b.mp3", "notes.xml", "playlist.xml"}));

    // The host follows the field only when the listing is taken again.
    m_window->serverEdit->setText(QStringLiteral("ftp.example.net"));
    QCOMPARE(m_window->hoteFtp, QStringLiteral("ftp.example.org"));

    m_window->localFolderEdit->clear();
    const EpisodeList here = m_window->triFichiers();
    QCOMPARE(m_window->hoteFtp, QStringLiteral("ftp.example.net"));
    QCOMPARE(m_window->dossierSource.absolutePath(), m_workDir->path());
    QCOMPARE(here.size(), 1);
    QCOMPARE(here.first().fileName, QStringLiteral("here.mp3"));
}

void tst_PlaylistWindow::everyGenerationOpensAnotherCopyWindow()
{
    generate(QString(playlist::mp3Player));
    generate(QString(playlist::dewPlayer));
    QCOMPARE(copyWindows().size(), 2);

    // A closed copy window is gone; the others stay.
    QPointer<texteACopier> first = copyWindows().first();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    QCOMPARE(copyWindows().size(), 1);
    QVERIFY(m_window->playlistText->toPlainText().startsWith(u"<?xml"));
}

void tst_PlaylistWindow::previewWritesFilesAndOpensPage_data()
{
    QTest::addColumn<QString>("player");
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("html");

    QTest::newRow("dew player") << QString(playlist::dewPlayer) << golden("xspf-two-local.txt")
                                << golden("dewplayer-object-local.txt");
    QTest::newRow("mp3 player") << QString(playlist::mp3Player) << golden("multi-two-local.txt")
                                << golden("multi-two-local.txt");
    QTest::newRow("html5 player") << QString(playlist::html5Player) << golden("html5-two-local.txt")
                                  << golden("html5-two-local.txt");
}

void tst_PlaylistWindow::previewWritesFilesAndOpensPage()
{
    QFETCH(QString, player);
    QFETCH(QString, xml);
    QFETCH(QString, html);
    QVERIFY(makeEntries(m_source, entriesInOrder(twoEpisodes)));
    QVERIFY(testkit::writeFile(m_workDir->filePath("dewplayer-playlist.swf"), "dew"));
    QVERIFY(testkit::writeFile(m_workDir->filePath("player_mp3_multi.swf"), "multi"));
    generate(player);
    testkit::UrlCapture urls;

    m_window->testButton->click();

    const QDir source(m_source);
    QCOMPARE(QString::fromUtf8(testkit::readFile(source.filePath("playlist.xml"))), xml);
    QCOMPARE(QString::fromUtf8(testkit::readFile(source.filePath("playlist.html"))), html);
    QCOMPARE(testkit::readFile(source.filePath("dewplayer-playlist.swf")), QByteArray("dew"));
    QCOMPARE(testkit::readFile(source.filePath("player_mp3_multi.swf")), QByteArray("multi"));
    QCOMPARE(urls.urls().size(), 1);
    QVERIFY(urls.urls().first().isValid());
    QCOMPARE(urls.urls().first().toLocalFile(), source.filePath("playlist.html"));
    QCOMPARE(logLines(*m_window).filter(QStringLiteral(" : Le fichier playlist.xml a été généré.")).size(), 1);
}

void tst_PlaylistWindow::previewCopiesOnlyMissingPlayerFiles()
{
    const QDir source(m_source);
    QVERIFY(testkit::writeFile(source.filePath("dewplayer-playlist.swf"), "earlier"));
    QVERIFY(testkit::writeFile(m_workDir->filePath("dewplayer-playlist.swf"), "newer"));
    // player_mp3_multi.swf is missing from the working directory.
    testkit::UrlCapture urls;
    testkit::ModalAnswerer boxes;

    m_window->triFichiers();
    m_window->runTest();

    QCOMPARE(testkit::readFile(source.filePath("dewplayer-playlist.swf")), QByteArray("earlier"));
    QVERIFY(!source.exists(QStringLiteral("player_mp3_multi.swf")));
    QVERIFY(boxes.boxes().isEmpty());
    QCOMPARE(urls.urls().size(), 1);
}

void tst_PlaylistWindow::previewOfEmptyTextArea_data()
{
    QTest::addColumn<QString>("player");
    QTest::addColumn<QString>("html");

    QTest::newRow("dew player") << QString(playlist::dewPlayer) << golden("dewplayer-object-local.txt");
    QTest::newRow("mp3 player") << QString(playlist::mp3Player) << QString();
    QTest::newRow("html5 player") << QString(playlist::html5Player) << QString();
}

void tst_PlaylistWindow::previewOfEmptyTextArea()
{
    QFETCH(QString, player);
    QFETCH(QString, html);
    m_window->playerCombo->setCurrentText(player);
    testkit::UrlCapture urls;

    m_window->triFichiers();
    m_window->runTest();

    const QDir source(m_source);
    QVERIFY(source.exists(QStringLiteral("playlist.xml")));
    QCOMPARE(QFileInfo(source.filePath("playlist.xml")).size(), 0);
    QCOMPARE(QString::fromUtf8(testkit::readFile(source.filePath("playlist.html"))), html);
}

void tst_PlaylistWindow::previewWritesTheFolderOfTheLastGeneration()
{
    testkit::UrlCapture urls;
    // Before any listing the preview goes to the working directory.
    m_window->runTest();
    QVERIFY(QFile::exists(m_workDir->filePath("playlist.html")));

    generate(QString(playlist::mp3Player));
    m_window->playlistText->setPlainText(QStringLiteral("edited by hand: MP3/x.mp3"));
    const QString other = m_workDir->filePath("other");
    QVERIFY(QDir().mkpath(other));
    m_window->localFolderEdit->setText(other);

    m_window->runTest();

    QCOMPARE(testkit::readFile(QDir(m_source).filePath("playlist.xml")), QByteArray("edited by hand: x.mp3"));
    QVERIFY(QDir(other).isEmpty());
    QCOMPARE(urls.urls().last().toLocalFile(), QDir(m_source).filePath("playlist.html"));
}

void tst_PlaylistWindow::unwritablePlaylistShowsErrorAndPreviewGoesOn()
{
    QVERIFY(makeEntries(m_source, entriesInOrder({"a.mp3", "playlist.xml/"})));
    generate(QString(playlist::dewPlayer));
    testkit::UrlCapture urls;
    testkit::ModalAnswerer boxes;
    boxes.answer(QMessageBox::Ok);

    m_window->runTest();

    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes().first().title, QStringLiteral("Erreur fichier"));
    QCOMPARE(boxes.boxes().first().text, QStringLiteral("Erreur pendant l'ouverture du fichier en écriture."));
    QCOMPARE(boxes.boxes().first().icon, QMessageBox::Critical);
    QVERIFY(QFileInfo(QDir(m_source).filePath("playlist.xml")).isDir());
    QVERIFY(logLines(*m_window).filter(QStringLiteral("playlist.xml")).isEmpty());
    QCOMPARE(QString::fromUtf8(testkit::readFile(QDir(m_source).filePath("playlist.html"))),
             golden("dewplayer-object-local.txt"));
    QCOMPARE(urls.urls().size(), 1);
}

void tst_PlaylistWindow::publishedPlaylistKeepsServerPaths()
{
    QVERIFY(makeEntries(m_source, entriesInOrder(twoEpisodes)));
    generate(QString(playlist::dewPlayer));
    testkit::UrlCapture urls;
    m_window->runTest();

    m_window->genererFichierPlaylist(QStringLiteral("playlist.xml"));

    QCOMPARE(QString::fromUtf8(testkit::readFile(QDir(m_source).filePath("playlist.xml"))), golden("xspf-two.txt"));
    QCOMPARE(logLines(*m_window).filter(QStringLiteral(" : Le fichier playlist.xml a été généré.")).size(), 2);
}

QTEST_MAIN(tst_PlaylistWindow)
#include "tst_playlistwindow.moc"
