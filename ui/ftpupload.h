#pragma once

#include <optional>

#include <QDir>
#include <QFileInfoList>
#include <QFutureWatcher>
#include <QHash>
#include <QSslCertificate>
#include <QStringList>
#include <QTranslator>
#include <QWidget>

#include "audio/loudness.h"
#include "feed/publication.h"
#include "remote/remoteaddress.h"
#include "remote/urlinfo.h"
#include "playlist/episodes.h"
#include "publish/publishplan.h"

class QCheckBox;
class QCloseEvent;
class QComboBox;
class QFile;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSslError;
class QTextEdit;
class FeedDialog;
class RemoteClient;

// The program's working window. Its widgets and state are public members: the start-up object
// connects to languageCombo, and the tests drive and inspect the window through them.
class ftpupload final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ftpupload)
public:
    // langue: a language-list entry ("Français", "English", "Español"), empty for the system language.
    explicit ftpupload(const QString &langue);
    ~ftpupload() override;

    QLineEdit *nameEdit = nullptr;
    QLineEdit *serverEdit = nullptr;
    QLineEdit *portEdit = nullptr;
    QLineEdit *passwordEdit = nullptr;
    QLineEdit *userEdit = nullptr;
    QComboBox *profileCombo = nullptr;
    QComboBox *playerCombo = nullptr;
    QTextEdit *playlistText = nullptr;
    QPushButton *generateButton = nullptr;
    QLineEdit *localFolderEdit = nullptr;
    QPushButton *chooseFolderButton = nullptr;
    QLineEdit *remoteFolderEdit = nullptr;

    QStringList fichiersEnAttente;

    QPushButton *testButton = nullptr;
    QPushButton *sendButton = nullptr;
    QPushButton *deleteFilesButton = nullptr;
    QPushButton *commentButton = nullptr;
    QPushButton *addButton = nullptr;
    QPushButton *removeButton = nullptr;
    QPushButton *resetButton = nullptr;
    QComboBox *languageCombo = nullptr;
    QTextEdit *log = nullptr;
    QProgressBar *progressBar = nullptr;

    QString erreurServeur;
    QFileInfoList listeFichiers;
    QDir dossierSource;
    QString hoteFtp;
    // The client of the protocol the last connection named (FTP until then).
    RemoteClient *ftp = nullptr;
    QHash<int, QFile *> fichiersParCommande;
    bool suppressionEnCours = false;
    QStringList listeDistante;
    int indexPodcast = 1;
    bool modeEnvoi = false;
    QStringList listeUrlFtp;
    QStringList listePort;
    QStringList listeMdp;
    QStringList listeUser;
    QStringList listeChemin;
    QStringList listeCheminLocal;
    QStringList listeNomPodcast;

Q_SIGNALS:
    void changeageLangue(const QString &langue);

public Q_SLOTS:
    void commandFinished(int id, bool error);
    void addToList(const UrlInfo &info);
    void ftpTacheSuivante(int id, bool error);
    void ftpEtat(int state);
    void generatePlaylist();
    void dirChosen();
    void switchingTestButton(const QString &text);
    void ftpVerif(const QString &text);
    void nameVerif(const QString &text);
    EpisodeList triFichiers();
    void reset();
    void podcastLoad(int index);
    void save();
    void load();
    void effacer();
    void runTest();
    void upload();
    void progression(qint64 done, qint64 total);
    void effacerMp3();
    void managerActivationBoutons(const QString &text);
    void managerActivationBoutons();
    void genererFichierPlaylist(const QString &fichier, bool test = false);
    void commenter();
    void changerLangue(const QString &langue);

protected:
    void closeEvent(QCloseEvent *event) override;

private Q_SLOTS:
    // The podcast feed's details of the folder named in the form; on confirming, feed.xml is written.
    void editFeed();

private:
    // Appends "hh:mm:ss" + message to the log; messages start with " : ".
    void notifier(const QString &message);
    // Appends a line without the time (the per-file lines of an upload).
    void notifierSansHeure(const QString &message);

    // A red line; text is shown as it is, never as markup.
    void notifyError(const QString &texte);
    // A connection is open, or commands are queued for one.
    bool ftpBusy() const;
    // The error box, and the same text as a red line.
    void showError(const QString &message);
    // False, after saying so, when no server is given.
    bool serverGiven(const QString &hote);
    // Remembers the server of the connection as one that speaks TLS, and its certificate if
    // the user chose to trust it always.
    void rememberTlsServer();

    // What follows a finished listing: the upload's puts, or the deletion's question.
    void envoyerDossier();
    void proposerSuppression();
    // With only the changes sent: what follows the listing of MP3, and the times asked of the
    // server when that listing gave none.
    void compareMp3();
    void noteTime(int code, const QString &reponse);
    // Gives the entries of MP3 the times the server told.
    void applyTimes();
    // Queues the puts of the files that the plan keeps, given what MP3 holds.
    void queueFiles();
    PublishPlan::Options uploadOptions() const;
    // Queues a plan's commands and logs its lines.
    void runPlan(const PublishPlan &plan);
    // Queues a put of the local file, from offset on, and keeps its file object until the put finishes.
    void mettreEnFile(const QString &chemin, const QString &nomDistant, qint64 offset);
    // The upload has nothing more to do: ready, and the connection is closed.
    void finishUpload();
    // The choice of sending only the changes, kept in its own file.
    void saveOnlyChanges(bool seulement);

    // Writes feed.xml into a folder when its details name a public address, and reports it.
    feed::FeedOutcome writeFeed(const QString &folder, const QFileInfoList &listing);
    // Once every file is sent: where apps and directories find the feed.
    void announceFeedAddress();

    // Queues the connection and the login of an upload or a deletion, on a client of the
    // protocol that hote names.
    void connecter(const QString &hote);
    // Makes client the window's, in place of the one before (idle), and connects to it.
    void attachClient(RemoteClient *client, remote::Protocol protocol);
    // The client of the protocol that hote names becomes the window's; hote's address.
    remote::Address chooseClient(const QString &hote);
    // A server certificate that failed verification: trusted already, or the user is asked.
    void questionCertificat(const QSslCertificate &certificat, const QList<QSslError> &erreurs);
    // An SSH host key that no known hosts file holds: the user is asked.
    void askAboutHostKey(const QString &keyType, const QString &fingerprint);
    // The box that asks whether to trust a certificate or a host key, and the answer.
    enum class Trust { Always, Once, Refused };
    Trust askTrust(const QString &title, const QString &text);

    // The protocol of ftp.
    remote::Protocol clientProtocol = remote::Protocol::Ftp;
    // The server of the connection being opened, as typed, for its certificate or host key.
    QString hoteConnexion;
    quint16 portConnexion = 0;
    // Trusted always by the user, kept once the connection has logged in with it.
    QSslCertificate certificateToTrust;

    // Removals of the running deletion not finished yet.
    int suppressionsRestantes = 0;

    // "N'envoyer que les nouveautés".
    QCheckBox *onlyChangesBox = nullptr;
    // Where an upload that sends only the changes stands once the site's folder is listed.
    enum class UploadStep { Folder, Mp3Listing, Mp3Clock, Mp3Times };
    UploadStep uploadStep = UploadStep::Folder;
    // Asks MDTM of each file, in that step; false when there is none to ask.
    bool askTimes(const QStringList &noms, UploadStep etape);
    // The box's state when the running upload listed the site's folder.
    bool onlyChanges = false;
    // The files of the running upload, the entries of MP3, the files whose time was asked and
    // not answered yet, the times answered (invalid when refused), and the LIST's clock.
    QList<PublishPlan::LocalFile> publishedFiles;
    QList<UrlInfo> mp3Entries;
    QStringList timesAsked;
    QHash<QString, QDateTime> timesMeasured;
    std::optional<qint64> listingOffset;

    QTranslator traducteur;
    // Qt's own texts (the standard buttons of the boxes) in the same language.
    QTranslator qtTranslator;
    // The language the window was built in, for a change that must be refused.
    int languageIndex = 0;

    QPushButton *feedButton = nullptr;
    // The feed written by the running upload.
    feed::FeedOutcome uploadFeed;

    // Measures, off the GUI thread, the episodes of the upload that the folder's cache does not
    // know, then starts the upload: the episodes' lines are then ready before their upload lines.
    void measureEpisodes();
    void loudnessMeasured();
    // The connection, the site's folder and its listing, with which an upload starts.
    void startUpload();
    // The loudness line of an episode, before its upload line; nothing for other files.
    void showLoudness(const QString &chemin);
    // The episodes of the feed dialog with their loudness, the cached at once, the others as
    // they are measured, off the GUI thread, while the dialog is open.
    void listLoudness(FeedDialog &dialog, QFutureWatcher<audio::Loudness> &measurement, const QDir &folder);
    // The interface's language: French, the source language, unless a translation is loaded.
    QLocale windowLocale() const;
    QFutureWatcher<audio::Loudness> loudnessWatcher;
    // The folder and the files being measured, and the figures of the running upload's episodes, by path.
    QString measuredFolder;
    QFileInfoList measuring;
    QHash<QString, audio::Loudness> episodeLoudness;
};
