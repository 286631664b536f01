#include <memory>

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "feed/showdetails.h"
#include "remote/remoteclient.h"
#include "tests/feed/feedkit.h"
#include "tests/kit/ftpserver.h"
#include "tests/kit/testkit.h"
#include "tests/ui/publishingkit.h"
#include "ui/ftpupload.h"

// The feed through the window: its dialog, and an upload that publishes the feed and its cover.
class TestFeedWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dialogKeepsEachFolderItsDetails();
    void uploadSendsTheFeedAndItsCoverThenShowsItsAddress();
};

namespace {

void setText(QWidget *dialog, const char *name, const QString &text)
{
    if (auto *edit = dialog->findChild<QLineEdit *>(QLatin1StringView(name)))
        edit->setText(text);
    else if (auto *area = dialog->findChild<QPlainTextEdit *>(QLatin1StringView(name)))
        area->setPlainText(text);
}

QString text(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLineEdit *>(QLatin1StringView(name))->text();
}

} // namespace

void TestFeedWindow::dialogKeepsEachFolderItsDetails()
{
    const testkit::WorkDir dir;
    const QString src = dir.filePath(QStringLiteral("src"));
    QVERIFY(feedkit::makeMp3(src + QStringLiteral("/a.mp3"), 1));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("other"))));
    QVERIFY(dir.copyFromRunDir(QStringLiteral("TSL_en.qm")));
    testkit::ModalAnswerer answerer;
    ftpupload window(QStringLiteral("English"));
    window.nameEdit->setText(QStringLiteral("Mon podcast"));
    window.localFolderEdit->setText(src);
    auto *button = window.findChild<QPushButton *>(QStringLiteral("feedButton"));
    QVERIFY(button);

    QString title, language;
    answerer.handleNext([&](QWidget *dialog) {
        title = text(dialog, "titleEdit");
        language = text(dialog, "languageEdit");
        setText(dialog, "addressEdit", QStringLiteral("https://example.com/podcast/MP3"));
        setText(dialog, "descriptionEdit", QStringLiteral("Une émission."));
        setText(dialog, "ownerEmailEdit", QStringLiteral("moi@example.com"));
        qobject_cast<QDialog *>(dialog)->accept();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("Mon podcast"));
    QCOMPARE(language, QStringLiteral("en"));
    QCOMPARE(feed::readShowDetails(src).ownerEmail, QStringLiteral("moi@example.com"));
    QVERIFY(QFile::exists(src + QStringLiteral("/feed.xml")));
    const QStringList lines = publishingkit::logLines(window.log);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.first(), QStringLiteral(" : The file feed.xml was generated."));
    QVERIFY(lines.last().contains(QStringLiteral("explicit content")));

    // Another folder shows its own details; cancelling writes nothing.
    window.localFolderEdit->setText(dir.filePath(QStringLiteral("other")));
    QString address = QStringLiteral("not read");
    answerer.handleNext([&](QWidget *dialog) {
        address = text(dialog, "addressEdit");
        qobject_cast<QDialog *>(dialog)->reject();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(address, QString());
    QVERIFY(QDir(dir.filePath(QStringLiteral("other"))).isEmpty());
}

void TestFeedWindow::uploadSendsTheFeedAndItsCoverThenShowsItsAddress()
{
    const testkit::WorkDir dir;
    const QString src = dir.filePath(QStringLiteral("src"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("server/site"))));
    testkit::FtpServer server;
    QVERIFY2(server.start({dir.filePath(QStringLiteral("server"))}), qPrintable(server.errorString()));
    QVERIFY(feedkit::makeMp3(src + QStringLiteral("/Épisode #1.mp3"), 2));
    QVERIFY(feedkit::makeMp3(src + QStringLiteral("/b.mp3"), 3));
    QVERIFY(testkit::writeFile(src + QStringLiteral("/cover.png"), "cover"));
    QVERIFY(testkit::writeFile(dir.filePath(QStringLiteral("dewplayer-playlist.swf")), "dew player"));
    QVERIFY(testkit::writeFile(dir.filePath(QStringLiteral("player_mp3_multi.swf")), "multi player"));
    feed::ShowDetails show;
    show.publicAddress = QStringLiteral("http://127.0.0.1/site/MP3/");
    show.coverImage = QStringLiteral("cover.png");
    QVERIFY(feed::writeShowDetails(src, show));

    testkit::ModalAnswerer answerer;
    ftpupload window{QString()};
    const QSignalSpy states(window.ftp, &RemoteClient::stateChanged);
    publishingkit::fillForm(&window, server, src);
    answerer.answer(QMessageBox::Ok);
    QTest::mouseClick(window.sendButton, Qt::LeftButton);
    QVERIFY(publishingkit::waitForIdle(window.ftp, states, answerer));

    // The cover after the episodes and the feed, before the players; the address once all is sent.
    const QStringList lines = publishingkit::logLines(window.log);
    QCOMPARE(lines.first(), QStringLiteral(" : Le fichier feed.xml a été généré."));
    const qsizetype cover = lines.indexOf(QStringLiteral("cover.png mis en file d'attente."));
    QCOMPARE(lines.indexOf(QStringLiteral("Épisode #1.mp3 mis en file d'attente.")), cover - 1); // last by name
    QCOMPARE(lines.indexOf(QDir::currentPath() + QStringLiteral("/dewplayer-playlist.swf mis en file d'attente.")), cover + 1);
    const qsizetype lastSent = lines.indexOf(QStringLiteral(" : Envoi du fichier ") + QDir::currentPath() + QStringLiteral("/player_mp3_multi.swf"));
    QVERIFY(lastSent > 0);
    QVERIFY(lines.indexOf(QStringLiteral(" : Adresse du flux : http://127.0.0.1/site/MP3/feed.xml")) > lastSent);

    const QString mp3 = dir.filePath(QStringLiteral("server/site/MP3/"));
    QCOMPARE(testkit::readFile(mp3 + QStringLiteral("cover.png")), QByteArray("cover"));
    QVERIFY(testkit::readFile(mp3 + QStringLiteral("feed.xml")).contains("<enclosure url=\"http://127.0.0.1/site/MP3/%C3%89pisode%20%231.mp3\""));
}

QTEST_MAIN(TestFeedWindow)
#include "tst_feedwindow.moc"
