#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTextEdit>
#include <QtTest>

#include "remote/remoteclient.h"
#include "tests/kit/ftpserver.h"
#include "tests/kit/testkit.h"
#include "tests/ui/publishingkit.h"
#include "ui/ftpupload.h"

// Publishing through the window against a real FTP server: the episodes of src/ go into
// server/site/MP3.
class PublishingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void uploadCreatesMp3AndSendsEveryFile();
    void uploadIntoExistingMp3SendsThePlaylistText();
    void missingPlayerFilesAreSkippedAndReported();
    void plainFileNamedMp3EndsTheUploadWithAnError();
    void refusedLoginIsReportedWithoutReady();
    void unresolvableHostIsReported();
    void connectionErrorsSpeakTheWindowsLanguage_data();
    void connectionErrorsSpeakTheWindowsLanguage();
    void buttonsQueueNothingWhileConnected();
    void buttonsQueueNothingBeforeTheConnectionStarts();
    void clickDuringTheMeasurementIsRefused_data();
    void clickDuringTheMeasurementIsRefused();
    void deletionRemovesOnlyTheFilesAfterYes();
    void declinedDeletionKeepsTheFiles();
    void deletionOfAnEmptyFolderClosesTheConnection();
    void progressWithoutTotalShowsFull();

private:
    void makeEpisodes();
    void fillForm(const QString &password);
    bool waitForIdle() { return publishingkit::waitForIdle(m_window->ftp, *m_states, *m_boxes); }
    QStringList logLines() const { return publishingkit::logLines(m_window->log); }
    QString remote(const QString &name) const { return m_dir->filePath(QStringLiteral("server/site/") + name); }
    QStringList remoteMp3() const;

    std::unique_ptr<testkit::WorkDir> m_dir;
    std::unique_ptr<testkit::FtpServer> m_server;
    std::unique_ptr<testkit::ModalAnswerer> m_boxes;
    std::unique_ptr<ftpupload> m_window;
    std::unique_ptr<QSignalSpy> m_states;
    QByteArray m_episode;
};

void PublishingTest::init()
{
    m_dir = std::make_unique<testkit::WorkDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("server/site")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("src")));
    m_server = std::make_unique<testkit::FtpServer>();
    testkit::FtpServer::Options options;
    options.root = m_dir->filePath(QStringLiteral("server"));
    QVERIFY2(m_server->start(options), qPrintable(m_server->errorString()));
    m_boxes = std::make_unique<testkit::ModalAnswerer>();
    m_window = std::make_unique<ftpupload>(QString());
    m_states = std::make_unique<QSignalSpy>(m_window->ftp, &RemoteClient::stateChanged);
}

void PublishingTest::cleanup()
{
    m_states.reset();
    m_window.reset();
    m_boxes.reset();
    m_server.reset();
    m_dir.reset();
}

void PublishingTest::makeEpisodes()
{
    m_episode.resize(300 * 1024);
    QRandomGenerator generator(7);
    for (char &byte : m_episode)
        byte = static_cast<char>(generator.generate());
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("src/a & b.mp3")), m_episode));
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("src/b.mp3")), "second episode"));
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("src/empty.mp3")), QByteArray()));
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("src/cover.jpg")), "not sent"));
}

void PublishingTest::fillForm(const QString &password)
{
    m_window->serverEdit->setText(m_server->host());
    m_window->portEdit->setText(QString::number(m_server->port()));
    m_window->userEdit->setText(m_server->user());
    m_window->passwordEdit->setText(password);
    m_window->localFolderEdit->setText(m_dir->filePath(QStringLiteral("src")));
    m_window->remoteFolderEdit->setText(QStringLiteral("/site"));
}

QStringList PublishingTest::remoteMp3() const
{
    QStringList names = QDir(remote(QStringLiteral("MP3"))).entryList(QDir::Files);
    names.sort();
    return names;
}

void PublishingTest::uploadCreatesMp3AndSendsEveryFile()
{
    makeEpisodes();
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("dewplayer-playlist.swf")), "dew player"));
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("player_mp3_multi.swf")), "multi player"));
    fillForm(m_server->password());
    m_boxes->answer(QMessageBox::Ok);

    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QCOMPARE(remoteMp3(), (QStringList{QStringLiteral("a & b.mp3"), QStringLiteral("b.mp3"),
                                       QStringLiteral("dewplayer-playlist.swf"), QStringLiteral("player_mp3_multi.swf")}));
    QCOMPARE(testkit::readFile(remote(QStringLiteral("MP3/a & b.mp3"))), m_episode);
    QCOMPARE(testkit::readFile(remote(QStringLiteral("MP3/player_mp3_multi.swf"))), QByteArray("multi player"));

    const QString src = m_dir->filePath(QStringLiteral("src"));
    const QString work = QDir::currentPath();
    // The episodes are measured before the connection; neither decodes, which is said before its upload line.
    const QStringList expected{
        QStringLiteral(" : Mesure du volume de 2 épisode(s)…"),
        QStringLiteral(" : Résolution du nom en cours."),
        QStringLiteral(" : Une tentative de connexion à l'hôte est en cours."),
        QStringLiteral(" : La connexion à l'hôte a été accomplie."),
        QStringLiteral(" : La connexion et l'identification ont été accomplies."),
        QStringLiteral(" : Connexion non chiffrée : le serveur ne propose pas TLS."),
        QStringLiteral(" : MKDIR MP3"),
        QStringLiteral(" : CWD MP3"),
        QStringLiteral("a & b.mp3 mis en file d'attente."),
        QStringLiteral("b.mp3 mis en file d'attente."),
        QStringLiteral("empty.mp3 non traitée (fichier vide)."),
        work + QStringLiteral("/dewplayer-playlist.swf mis en file d'attente."),
        work + QStringLiteral("/player_mp3_multi.swf mis en file d'attente."),
        QStringLiteral("Le dossier \"MP3\" a été créé sur le serveur le cas échéant. La playlist et les mp3 y seront déposés."),
        QStringLiteral("a & b.mp3 : volume non mesuré (aucun son MPEG n'a été trouvé)"),
        QStringLiteral(" : Envoi du fichier ") + src + QStringLiteral("/a & b.mp3"),
        QStringLiteral("b.mp3 : volume non mesuré (aucun son MPEG n'a été trouvé)"),
        QStringLiteral(" : Envoi du fichier ") + src + QStringLiteral("/b.mp3"),
        QStringLiteral(" : Envoi du fichier ") + work + QStringLiteral("/dewplayer-playlist.swf"),
        QStringLiteral(" : Envoi du fichier ") + work + QStringLiteral("/player_mp3_multi.swf"),
        QStringLiteral(" : Prêt."),
        QStringLiteral(" : La connexion est en cours de fermeture, mais elle n'est pas encore fermée (l'état deviendra Unconnected quand la connexion sera fermée)."),
        QStringLiteral(" : Il n'y a pas de connexion à l'hôte."),
    };
    QCOMPARE(logLines(), expected);
    QCOMPARE(m_boxes->boxes().size(), 1);
    QCOMPARE(m_boxes->boxes().first().title, QStringLiteral("Fichiers envoyés"));
    QCOMPARE(m_boxes->boxes().first().text, QStringLiteral("Les fichiers ont été envoyés avec succès."));
    QCOMPARE(m_window->progressBar->value(), 100);
    QVERIFY(m_window->fichiersParCommande.isEmpty());
    QVERIFY(m_window->fichiersEnAttente.isEmpty());
}

void PublishingTest::uploadIntoExistingMp3SendsThePlaylistText()
{
    makeEpisodes();
    QVERIFY(QDir().mkpath(remote(QStringLiteral("MP3"))));
    fillForm(m_server->password());
    m_window->playlistText->setPlainText(QStringLiteral("<playlist>edited by hand</playlist>"));
    m_boxes->answer(QMessageBox::Ok);

    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    const QStringList lines = logLines();
    QCOMPARE(lines.first(), QStringLiteral(" : Le fichier playlist.xml a été généré."));
    QVERIFY(!lines.contains(QStringLiteral(" : MKDIR MP3")));
    QVERIFY(lines.contains(QStringLiteral(" : CWD MP3")));
    QCOMPARE(testkit::readFile(remote(QStringLiteral("MP3/playlist.xml"))), QByteArray("<playlist>edited by hand</playlist>"));
    QCOMPARE(remoteMp3(), (QStringList{QStringLiteral("a & b.mp3"), QStringLiteral("b.mp3"), QStringLiteral("playlist.xml")}));
}

void PublishingTest::missingPlayerFilesAreSkippedAndReported()
{
    makeEpisodes();
    fillForm(m_server->password());
    m_boxes->answer(QMessageBox::Ok);

    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    const QString work = QDir::currentPath();
    const QStringList lines = logLines();
    QVERIFY(lines.contains(work + QStringLiteral("/dewplayer-playlist.swf non traitée (fichier introuvable).")));
    QVERIFY(lines.contains(work + QStringLiteral("/player_mp3_multi.swf non traitée (fichier introuvable).")));
    QVERIFY(lines.contains(QStringLiteral(" : Prêt.")));
    QCOMPARE(remoteMp3(), (QStringList{QStringLiteral("a & b.mp3"), QStringLiteral("b.mp3")}));
    QCOMPARE(m_boxes->boxes().size(), 1);
    QCOMPARE(m_boxes->boxes().first().title, QStringLiteral("Fichiers envoyés"));
}

void PublishingTest::plainFileNamedMp3EndsTheUploadWithAnError()
{
    makeEpisodes();
    QVERIFY(testkit::writeFile(remote(QStringLiteral("MP3")), "a file, not a folder"));
    fillForm(m_server->password());
    m_boxes->answer(QMessageBox::Ok);

    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QCOMPARE(m_boxes->boxes().size(), 1);
    QCOMPARE(m_boxes->boxes().first().title, QStringLiteral("erreur"));
    QVERIFY(m_boxes->boxes().first().text.startsWith(QStringLiteral("ftp error 1 : ")));
    const QStringList lines = logLines();
    QVERIFY(!lines.contains(QStringLiteral(" : Prêt.")));
    QVERIFY(lines.contains(QStringLiteral(" : ") + m_boxes->boxes().first().text));
    QCOMPARE(lines.last(), QStringLiteral(" : Il n'y a pas de connexion à l'hôte."));
    QCOMPARE(testkit::readFile(remote(QStringLiteral("MP3"))), QByteArray("a file, not a folder"));
}

void PublishingTest::refusedLoginIsReportedWithoutReady()
{
    makeEpisodes();
    fillForm(QStringLiteral("wrong password"));
    m_boxes->answer(QMessageBox::Ok);

    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QCOMPARE(m_boxes->boxes().size(), 1);
    QCOMPARE(m_boxes->boxes().first().icon, QMessageBox::Critical);
    const QStringList lines = logLines();
    QVERIFY(!lines.contains(QStringLiteral(" : Prêt.")));
    QVERIFY(!lines.contains(QStringLiteral(" : La connexion et l'identification ont été accomplies.")));
    const qsizetype error = lines.indexOf(QStringLiteral(" : ") + m_boxes->boxes().first().text);
    QVERIFY(error > 0);
    QCOMPARE(lines.last(), QStringLiteral(" : Il n'y a pas de connexion à l'hôte."));
    QVERIFY(!QFileInfo::exists(remote(QStringLiteral("MP3"))));
}

void PublishingTest::unresolvableHostIsReported()
{
    fillForm(m_server->password());
    m_window->serverEdit->setText(QStringLiteral("no-such-host.invalid"));
    m_boxes->answer(QMessageBox::Ok);

    QTest::mouseClick(m_window->deleteFilesButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QCOMPARE(m_boxes->boxes().size(), 1);
    QVERIFY(m_boxes->boxes().first().text.startsWith(QStringLiteral("ftp error 2 : ")));
    const QStringList expected{
        QStringLiteral(" : Résolution du nom en cours."),
        QStringLiteral(" : Il n'y a pas de connexion à l'hôte."),
        QStringLiteral(" : ") + m_boxes->boxes().first().text,
    };
    QCOMPARE(logLines(), expected);
}

void PublishingTest::connectionErrorsSpeakTheWindowsLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("serverListens"); // false: the connection is refused
    QTest::addColumn<QString>("error"); // the end of the box's text

    QTest::newRow("French, refused") << QStringLiteral("Français") << false
                                     << QStringLiteral("Connexion refusée par le serveur 127.0.0.1");
    QTest::newRow("Spanish, refused") << QStringLiteral("Español") << false
                                      << QStringLiteral("Conexión rechazada por el servidor 127.0.0.1");
    QTest::newRow("English, refused") << QStringLiteral("English") << false
                                      << QStringLiteral("Connection refused to host 127.0.0.1");
    // The server's own words stay as it sent them.
    QTest::newRow("French, wrong password") << QStringLiteral("Français") << true
                                            << QStringLiteral("L'identification a échoué : 530 Authentication failed.");
}

void PublishingTest::connectionErrorsSpeakTheWindowsLanguage()
{
    QFETCH(QString, language);
    QFETCH(bool, serverListens);
    QFETCH(QString, error);
    for (const char *code : {"en", "es", "fr"})
        QVERIFY(m_dir->copyFromRunDir(QStringLiteral("TSL_%1.qm").arg(QLatin1String(code))));
    m_states.reset();
    m_window = std::make_unique<ftpupload>(language);
    m_states = std::make_unique<QSignalSpy>(m_window->ftp, &RemoteClient::stateChanged);
    fillForm(QStringLiteral("wrong password"));
    if (!serverListens) {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        m_window->portEdit->setText(QString::number(closed.serverPort()));
    }
    m_boxes->answer(QMessageBox::Ok);

    QTest::mouseClick(m_window->deleteFilesButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QCOMPARE(m_boxes->boxes().size(), 1);
    QVERIFY2(m_boxes->boxes().first().text.endsWith(QStringLiteral(" : ") + error), qPrintable(m_boxes->boxes().first().text));
}

void PublishingTest::buttonsQueueNothingWhileConnected()
{
    makeEpisodes();
    fillForm(m_server->password());
    m_boxes->answer(QMessageBox::Ok);

    // Both buttons are pressed while the upload's connection is logged in.
    bool pressed = false;
    connect(m_window->ftp, &RemoteClient::stateChanged, this, [&](int state) {
        if (state != RemoteClient::LoggedIn || pressed)
            return;
        pressed = true;
        QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
        QTest::mouseClick(m_window->deleteFilesButton, Qt::LeftButton);
    });
    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(waitForIdle());
    QVERIFY(pressed);

    QCOMPARE(logLines().count(QStringLiteral(" : Une opération FTP est déjà en cours.")), 2);
    QCOMPARE(logLines().count(QStringLiteral(" : Prêt.")), 1);
    QCOMPARE(remoteMp3(), (QStringList{QStringLiteral("a & b.mp3"), QStringLiteral("b.mp3")}));
    QCOMPARE(m_boxes->boxes().size(), 1); // the success box, no deletion question
}

void PublishingTest::buttonsQueueNothingBeforeTheConnectionStarts()
{
    makeEpisodes();
    QVERIFY(testkit::writeFile(remote(QStringLiteral("index.html")), "site"));
    fillForm(m_server->password());
    m_boxes->answer(QMessageBox::Ok);

    // Handled before the event loop starts the first connection.
    m_window->sendButton->click();
    m_window->sendButton->click();
    m_window->deleteFilesButton->click();
    QVERIFY(waitForIdle());

    QCOMPARE(logLines().count(QStringLiteral(" : Une opération FTP est déjà en cours.")), 2);
    QCOMPARE(m_boxes->boxes().size(), 1); // the success box, no deletion question
    QCOMPARE(remoteMp3(), (QStringList{QStringLiteral("a & b.mp3"), QStringLiteral("b.mp3")}));
    QVERIFY(QFileInfo::exists(remote(QStringLiteral("index.html"))));
}

void PublishingTest::clickDuringTheMeasurementIsRefused_data()
{
    QTest::addColumn<bool>("send");
    QTest::newRow("Générer") << false;
    QTest::newRow("Envoyer once more") << true;
}

// Both read the folder again, into the listing that the upload sends once measured.
void PublishingTest::clickDuringTheMeasurementIsRefused()
{
    QFETCH(bool, send);
    makeEpisodes();
    fillForm(m_server->password());
    m_boxes->answer(QMessageBox::Ok);

    // The measurement ends in the event loop: both clicks come while it runs.
    m_window->sendButton->click();
    QCOMPARE(logLines().last(), QStringLiteral(" : Mesure du volume de 2 épisode(s)…"));
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("src/c.mp3")), "added after the click"));
    (send ? m_window->sendButton : m_window->generateButton)->click();
    QCOMPARE(logLines().last(), QStringLiteral(" : Une opération FTP est déjà en cours."));
    QVERIFY(waitForIdle());

    QCOMPARE(remoteMp3(), (QStringList{QStringLiteral("a & b.mp3"), QStringLiteral("b.mp3")}));
    QVERIFY(m_window->playlistText->toPlainText().isEmpty());
}

void PublishingTest::deletionRemovesOnlyTheFilesAfterYes()
{
    QVERIFY(testkit::writeFile(remote(QStringLiteral("MP3/a.mp3")), "a"));
    QVERIFY(testkit::writeFile(remote(QStringLiteral("MP3/playlist.xml")), "x"));
    QVERIFY(testkit::writeFile(remote(QStringLiteral("MP3/old/kept.mp3")), "kept"));
    QVERIFY(testkit::writeFile(remote(QStringLiteral("index.html")), "site"));
    fillForm(m_server->password());
    m_boxes->answer(QMessageBox::Yes);

    QTest::mouseClick(m_window->deleteFilesButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QCOMPARE(m_boxes->boxes().size(), 1);
    QCOMPARE(m_boxes->boxes().first().title, QStringLiteral("Supprimer les fichiers distants"));
    QCOMPARE(m_boxes->boxes().first().text, QStringLiteral("Supprimer ces fichiers du serveur?"));
    QCOMPARE(remoteMp3(), QStringList());
    QVERIFY(QFileInfo::exists(remote(QStringLiteral("MP3/old/kept.mp3"))));
    QVERIFY(QFileInfo::exists(remote(QStringLiteral("index.html"))));

    QStringList lines = logLines();
    QVERIFY(lines.contains(QStringLiteral(" : Supprimer a.mp3")));
    QVERIFY(lines.contains(QStringLiteral(" : Supprimer playlist.xml")));
    QVERIFY(!lines.contains(QStringLiteral(" : Supprimer old")));
    QVERIFY(lines.contains(QStringLiteral(" : Prêt.")));
    QCOMPARE(lines.count(QStringLiteral(" : Fichiers supprimés du serveur.")), 1);
    QVERIFY(lines.indexOf(QStringLiteral(" : Fichiers supprimés du serveur.")) > lines.indexOf(QStringLiteral(" : Supprimer playlist.xml")));
    // Announced once the removals are done, then the connection closes.
    QCOMPARE(lines.mid(lines.size() - 4, 2),
             (QStringList{QStringLiteral(" : Fichiers supprimés du serveur."), QStringLiteral(" : Prêt.")}));
}

void PublishingTest::declinedDeletionKeepsTheFiles()
{
    QVERIFY(testkit::writeFile(remote(QStringLiteral("MP3/a.mp3")), "a"));
    fillForm(m_server->password());
    m_boxes->answer(QMessageBox::No);

    QTest::mouseClick(m_window->deleteFilesButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    QCOMPARE(remoteMp3(), QStringList{QStringLiteral("a.mp3")});
    const QStringList lines = logLines();
    QCOMPARE(lines.mid(lines.size() - 3),
             (QStringList{QStringLiteral(" : Suppression distante annulée."),
                          QStringLiteral(" : La connexion est en cours de fermeture, mais elle n'est pas encore fermée (l'état deviendra Unconnected quand la connexion sera fermée)."),
                          QStringLiteral(" : Il n'y a pas de connexion à l'hôte.")}));
    QVERIFY(!lines.contains(QStringLiteral(" : Prêt.")));
}

void PublishingTest::deletionOfAnEmptyFolderClosesTheConnection()
{
    QVERIFY(QDir().mkpath(remote(QStringLiteral("MP3"))));
    fillForm(m_server->password());
    m_boxes->answer(QMessageBox::Yes);

    QTest::mouseClick(m_window->deleteFilesButton, Qt::LeftButton);
    QVERIFY(waitForIdle());

    const QStringList lines = logLines();
    QVERIFY(lines.contains(QStringLiteral(" : Fichiers supprimés du serveur.")));
    QVERIFY(!lines.join(QLatin1Char('\n')).contains(QStringLiteral("Supprimer ")));
    // The connection is free again for the next action (nothing to send: no box).
    QTest::mouseClick(m_window->sendButton, Qt::LeftButton);
    QVERIFY(!logLines().contains(QStringLiteral(" : Une opération FTP est déjà en cours.")));
    QVERIFY(waitForIdle());
}

void PublishingTest::progressWithoutTotalShowsFull()
{
    m_window->progression(0, 0);
    QCOMPARE(m_window->progressBar->value(), 100);
    m_window->progression(0, 5000);
    QCOMPARE(m_window->progressBar->value(), 0);
    QVERIFY(m_window->log->toPlainText().isEmpty());
    QVERIFY(m_boxes->boxes().isEmpty());
}

QTEST_MAIN(PublishingTest)
#include "tst_publishing.moc"
