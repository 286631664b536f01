#include <memory>

#include <QCheckBox>
#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "feed/chapters.h"
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
    void uploadMeasuresEpisodesAndSendsTheirChaptersAndTranscripts();
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

    QString title, language, figures;
    answerer.handleNext([&](QWidget *dialog) {
        title = text(dialog, "titleEdit");
        language = text(dialog, "languageEdit");
        setText(dialog, "addressEdit", QStringLiteral("https://example.com/podcast/MP3"));
        setText(dialog, "descriptionEdit", QStringLiteral("Une émission."));
        setText(dialog, "ownerEmailEdit", QStringLiteral("moi@example.com"));
        setText(dialog, "peopleEdit", QStringLiteral("Léa (host)\nMax (guest)"));
        dialog->findChild<QCheckBox *>(QStringLiteral("lockedBox"))->setChecked(true);
        // The episode's figures, measured while the dialog is open.
        const QListWidget *episodes = dialog->findChild<QListWidget *>(QStringLiteral("episodesList"));
        if (QTest::qWaitFor([&] { return episodes->item(0)->text().contains(QStringLiteral("LUFS")); }, 10000))
            figures = episodes->item(0)->text();
        qobject_cast<QDialog *>(dialog)->accept();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("Mon podcast"));
    QCOMPARE(language, QStringLiteral("en"));
    QCOMPARE(feed::readShowDetails(src).ownerEmail, QStringLiteral("moi@example.com"));
    QCOMPARE(figures, QStringLiteral("a.mp3 : -∞ LUFS, peak -∞ dBTP : too quiet (target -19 LUFS)"));
    QVERIFY(feed::readShowDetails(src).locked);
    QCOMPARE(feed::readShowDetails(src).people.size(), 2);
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

void TestFeedWindow::uploadMeasuresEpisodesAndSendsTheirChaptersAndTranscripts()
{
    const testkit::WorkDir dir;
    const QString src = dir.filePath(QStringLiteral("src"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("server/site"))));
    testkit::FtpServer server;
    QVERIFY2(server.start({dir.filePath(QStringLiteral("server"))}), qPrintable(server.errorString()));
    const QString episode = src + QStringLiteral("/ep.mp3");
    QVERIFY(feedkit::makeMp3(episode, 2));
    QVERIFY(feedkit::writeChapters(episode, feedkit::secondChapters({QStringLiteral("Un"), QStringLiteral("Deux")})));
    QVERIFY(testkit::writeFile(src + QStringLiteral("/ep.vtt"), "WEBVTT\n\n00:00.000 --> 00:01.000\nBonjour\n"));
    feed::ShowDetails show;
    show.publicAddress = QStringLiteral("http://127.0.0.1/site/MP3/");
    show.language = QStringLiteral("fr");
    QVERIFY(feed::writeShowDetails(src, show));

    testkit::ModalAnswerer answerer;
    ftpupload window{QString()};
    QSignalSpy states(window.ftp, &RemoteClient::stateChanged);
    publishingkit::fillForm(&window, server, src);
    const auto publish = [&] {
        answerer.answer(QMessageBox::Ok);
        QTest::mouseClick(window.sendButton, Qt::LeftButton);
        return publishingkit::waitForIdle(window.ftp, states, answerer);
    };
    QVERIFY(publish());

    // Measured first, its line just before its upload line; the chapters and the transcript follow it.
    QStringList lines = publishingkit::logLines(window.log);
    QVERIFY(lines.contains(QStringLiteral(" : Mesure du volume de 1 épisode(s)…")));
    const qsizetype sent = lines.indexOf(QStringLiteral(" : Envoi du fichier ") + episode);
    QCOMPARE(lines.value(sent - 1), QStringLiteral("ep.mp3 : -∞ LUFS, crête -∞ dBTP : trop faible (cible -19 LUFS)"));
    QCOMPARE(lines.value(sent + 1), QStringLiteral(" : Envoi du fichier ") + src + QStringLiteral("/chapters/ep.chapters.json"));
    QCOMPARE(lines.value(sent + 2), QStringLiteral(" : Envoi du fichier ") + src + QStringLiteral("/ep.vtt"));
    QVERIFY(window.log->toHtml().contains(QStringLiteral("color:#ff0000")));

    const QString mp3 = dir.filePath(QStringLiteral("server/site/MP3/"));
    QCOMPARE(testkit::readFile(mp3 + QStringLiteral("ep.vtt")), testkit::readFile(src + QStringLiteral("/ep.vtt")));
    QVERIFY(feed::parseChaptersJson(testkit::readFile(mp3 + QStringLiteral("ep.chapters.json"))).has_value());
    const QJsonObject read = feedkit::readFeed(mp3 + QStringLiteral("feed.xml"), QStringLiteral("http://127.0.0.1/site/MP3/feed.xml"));
    QCOMPARE(read[QStringLiteral("episodes")][0][QStringLiteral("chapters")][1][QStringLiteral("title")].toString(), QStringLiteral("Deux"));
    QCOMPARE(read[QStringLiteral("podcast")][QStringLiteral("items")][0][QStringLiteral("transcript")][QStringLiteral("url")].toString(),
             QStringLiteral("http://127.0.0.1/site/MP3/ep.vtt"));

    // Again: the figures come from the cache beside feed.ini.
    window.log->clear();
    states.clear();
    QVERIFY(publish());
    lines = publishingkit::logLines(window.log);
    QVERIFY(!lines.filter(QStringLiteral("Mesure du volume")).size());
    QVERIFY(lines.contains(QStringLiteral("ep.mp3 : -∞ LUFS, crête -∞ dBTP : trop faible (cible -19 LUFS)")));

    // Deleting the remote episodes takes their chapters and transcripts too.
    states.clear();
    answerer.answer(QMessageBox::Yes);
    QTest::mouseClick(window.deleteFilesButton, Qt::LeftButton);
    QVERIFY(publishingkit::waitForIdle(window.ftp, states, answerer));
    QCOMPARE(QDir(mp3).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(TestFeedWindow)
#include "tst_feedwindow.moc"
