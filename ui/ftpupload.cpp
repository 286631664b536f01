// The window's construction, its language and the comment page.
#include "ui/ftpupload.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QSslSocket>
#include <QTextEdit>
#include <QTime>
#include <QTimer>
#include <QUrl>

#include "buildconfig.h"
#include "remote/remoteclient.h"
#include "ui/remoteclients.h"
#include "locations/locations.h"
#include "playlist/snippets.h"
#include "ui/language.h"
#include "ui/logo.h"
#include "ui/notifications.h"
#include "ui/portvalidator.h"

namespace {

// Red while the button can be pressed; disabled, it keeps the platform's greyed look.
const QString redButtonStyle = QStringLiteral("QPushButton { color: red } QPushButton:disabled { color: palette(mid) }");

QPushButton *smallButton(const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setFixedSize(80, 20);
    button->setEnabled(false);
    return button;
}

// The choice of sending only the changes, beside config.ini, which the profile store rewrites.
const QString onlyChangesFile = QStringLiteral("publication.ini");
const QString onlyChangesKey = QStringLiteral("Publication/nouveautesSeulement");

} // namespace

ftpupload::ftpupload(const QString &langue)
{
    // Translation first: every text below goes through it.
    const QString code = languageCode(langue);
    qDebug() << "Langue" << code << langue;
    if (traducteur.load(locations::readOnlyFile(QStringLiteral("TSL_") + code + QStringLiteral(".qm"))))
        QCoreApplication::installTranslator(&traducteur);
    if (qtTranslator.load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    QCoreApplication::addLibraryPath(QCoreApplication::applicationDirPath());
    setWindowIcon(QIcon(locations::readOnlyFile(QStringLiteral("icone.png"))));
    setGeometry(QGuiApplication::primaryScreen()->geometry().adjusted(50, 50, -50, -50));

    dossierSource = QDir(QDir::currentPath());

    auto *fenetreGrid = new QGridLayout;
    auto *serveurGroup = new QGroupBox(this);
    auto *serveurGrid = new QGridLayout;
    auto *lecteurGroup = new QGroupBox(this);
    auto *lecteurGrid = new QGridLayout;
    auto *dossiersGroup = new QGroupBox(this);
    auto *dossiersGrid = new QGridLayout;
    auto *actionsGroup = new QGroupBox(this);
    auto *actionsGrid = new QGridLayout;
    auto *notificationsGroup = new QGroupBox(this);
    auto *notificationsGrid = new QGridLayout;

    // Widgets are created with their group as parent, in focus order: the keyboard focus
    // follows creation order apart from the four changes made further down.
    auto *nomBox = new QHBoxLayout;
    auto *nomLabel = new QLabel(tr("Nom du podcast : "), serveurGroup);
    nameEdit = new QLineEdit(serveurGroup);
    nameEdit->setPlaceholderText(tr("Par défaut : nom du serveur"));
    nomBox->addWidget(nomLabel);
    nomBox->addWidget(nameEdit);
    serveurGrid->addLayout(nomBox, 0, 0, 1, 5);

    serveurGrid->addWidget(new QLabel(tr("Anciens : "), serveurGroup), 1, 0);
    profileCombo = new QComboBox(serveurGroup);
    serveurGrid->addWidget(profileCombo, 1, 1, 1, 4);

    serveurGrid->addWidget(new QLabel(tr("Nom du serveur : "), serveurGroup), 2, 0);
    serverEdit = new QLineEdit(serveurGroup);
    serverEdit->setPlaceholderText(QStringLiteral("ftp.example.com"));
    serverEdit->setToolTip(tr("Serveur FTP ou FTPS : ftp.example.com\nServeur SFTP (SSH) : sftp://example.com, avec le port SSH (22 le plus souvent)"));
    serveurGrid->addWidget(serverEdit, 2, 1, 1, 4);

    serveurGrid->addWidget(new QLabel(tr("Port : "), serveurGroup), 3, 0);
    portEdit = new QLineEdit(serveurGroup);
    portEdit->setValidator(new PortValidator(this));
    portEdit->setText(QStringLiteral("21"));
    serveurGrid->addWidget(portEdit, 3, 1);

    serveurGrid->addWidget(new QLabel(tr("Identifiant : "), serveurGroup), 3, 2);
    userEdit = new QLineEdit(serveurGroup);
    serveurGrid->addWidget(userEdit, 3, 3);

    serveurGrid->addWidget(new QLabel(tr("Mot de passe : "), serveurGroup), 3, 4);
    passwordEdit = new QLineEdit(serveurGroup);
    passwordEdit->setEchoMode(QLineEdit::Password);
    serveurGrid->addWidget(passwordEdit, 3, 5);

    resetButton = smallButton(tr("&RAZ"), serveurGroup);
    removeButton = smallButton(tr("&Supprimer"), serveurGroup);
    removeButton->setStyleSheet(redButtonStyle);
    addButton = smallButton(tr("&Ajouter"), serveurGroup);
    addButton->setStyleSheet(redButtonStyle);
    serveurGrid->addWidget(resetButton, 0, 5, Qt::AlignRight);
    serveurGrid->addWidget(removeButton, 1, 5, Qt::AlignRight);
    serveurGrid->addWidget(addButton, 2, 5, Qt::AlignRight);

    localFolderEdit = new QLineEdit(QDir::currentPath(), dossiersGroup);
    chooseFolderButton = new QPushButton(tr("&Choisir le dossier source"), dossiersGroup);
    remoteFolderEdit = new QLineEdit(QStringLiteral("/"), dossiersGroup);
    auto *cibleLabel = new QLabel(tr("Dossier cible : "), dossiersGroup);
    dossiersGrid->addWidget(localFolderEdit, 0, 0, 1, 3);
    dossiersGrid->addWidget(chooseFolderButton, 0, 3);
    dossiersGrid->addWidget(cibleLabel, 1, 0);
    dossiersGrid->addWidget(remoteFolderEdit, 1, 1, 1, 3);

    testButton = new QPushButton(QStringLiteral("<") + QChar(0x2550) + tr(" &TESTER!"), actionsGroup);
    testButton->setEnabled(true);
    sendButton = new QPushButton(tr("&Envoyer les fichiers"), actionsGroup);
    sendButton->setStyleSheet(redButtonStyle);
    deleteFilesButton = new QPushButton(tr("S&upprimer les fichiers"), actionsGroup);
    deleteFilesButton->setStyleSheet(redButtonStyle);
    languageCombo = new QComboBox(actionsGroup);
    languageCombo->setDuplicatesEnabled(false);
    languageCombo->addItems(languageEntries());
    languageCombo->setCurrentIndex(langue.isEmpty() ? 0 : languageCombo->findText(langue, Qt::MatchExactly | Qt::MatchCaseSensitive));
    languageIndex = languageCombo->currentIndex();
    commentButton = new QPushButton(tr("C&ommenter / Signaler une erreur"), actionsGroup);
    actionsGrid->addWidget(testButton, 0, 0);
    actionsGrid->addWidget(sendButton, 1, 0);
    actionsGrid->addWidget(deleteFilesButton, 2, 0);
    actionsGrid->addWidget(languageCombo, 3, 0);
    actionsGrid->addWidget(commentButton, 4, 0);
    // Beside the send button, in a column of its own: the buttons keep their places.
    onlyChangesBox = new QCheckBox(tr("N'envoyer que les nouveautés"), actionsGroup);
    onlyChangesBox->setObjectName(QStringLiteral("onlyChangesBox"));
    onlyChangesBox->setChecked(QSettings(onlyChangesFile, QSettings::IniFormat).value(onlyChangesKey, false).toBool());
    actionsGrid->addWidget(onlyChangesBox, 1, 1);

    auto *logoLabel = new QLabel(actionsGroup);
    logoLabel->setPixmap(QPixmap::fromImage(
        renderLogo(locations::readOnlyFile(QStringLiteral("TessalySmall.svg")), logoSize(geometry().width()))));
    logoLabel->setAlignment(Qt::AlignCenter);
    actionsGrid->addWidget(logoLabel, 5, 0);

    playlistText = new QTextEdit(lecteurGroup);
    playerCombo = new QComboBox(lecteurGroup);
    playerCombo->addItems({playlist::mp3Player, playlist::dewPlayer, playlist::html5Player});
    generateButton = new QPushButton(tr("&Générer la Playlist"), lecteurGroup);
    auto *playlistLabel = new QLabel(QStringLiteral("Playlist"), lecteurGroup);
    lecteurGrid->addWidget(playerCombo, 0, 0);
    lecteurGrid->addWidget(playlistLabel, 1, 0);
    lecteurGrid->addWidget(playlistText, 2, 0);
    lecteurGrid->addWidget(generateButton, 3, 0);

    serveurGroup->setLayout(serveurGrid);
    serveurGroup->setTitle(tr("Serveur"));
    lecteurGroup->setLayout(lecteurGrid);
    lecteurGroup->setTitle(tr("Lecteur"));
    dossiersGroup->setLayout(dossiersGrid);
    dossiersGroup->setTitle(tr("Dossiers"));
    actionsGroup->setLayout(actionsGrid);
    actionsGroup->setTitle(tr("Actions à distance"));
    notificationsGroup->setLayout(notificationsGrid);
    notificationsGroup->setTitle(tr("Notifications"));

    setTabOrder(languageCombo, commentButton);
    setTabOrder(passwordEdit, localFolderEdit);
    setTabOrder(localFolderEdit, chooseFolderButton);
    setTabOrder(chooseFolderButton, remoteFolderEdit);

    log = new QTextEdit(notificationsGroup);
    log->setReadOnly(true);
    progressBar = new QProgressBar(notificationsGroup);
    progressBar->setRange(0, 100);
    progressBar->setStyleSheet(QStringLiteral(
        "text-align: center; font-weight: bold; font-size: 20px; color: blue; font-family: system"));
    notificationsGrid->addWidget(log, 0, 0);
    notificationsGrid->addWidget(progressBar, 1, 0);

    // Below the folders it describes, in a row of its own: no other widget moves.
    feedButton = new QPushButton(tr("Flux du podcast…"), dossiersGroup);
    feedButton->setObjectName(QStringLiteral("feedButton"));
    dossiersGrid->addWidget(feedButton, 2, 3);
    setTabOrder(remoteFolderEdit, feedButton);

    fenetreGrid->addWidget(serveurGroup, 0, 0, 1, 1);
    fenetreGrid->addWidget(lecteurGroup, 0, 1, 2, 1);
    fenetreGrid->addWidget(actionsGroup, 0, 2, 2, 1);
    fenetreGrid->addWidget(dossiersGroup, 1, 0, 1, 1);
    fenetreGrid->addWidget(notificationsGroup, 2, 0, 1, 4);
    setLayout(fenetreGrid);

    // Loaded before any connection exists, so filling the form and the list runs no slot.
    load();

    // The order of these connections is behaviour: the button check runs before the preview,
    // and the window's own language slot runs before the start-up object's.
    connect(testButton, &QPushButton::clicked, this, qOverload<>(&ftpupload::managerActivationBoutons));
    connect(testButton, &QPushButton::clicked, this, &ftpupload::runTest);
    connect(playlistText, &QTextEdit::textChanged, this, qOverload<>(&ftpupload::managerActivationBoutons));
    connect(playerCombo, &QComboBox::currentIndexChanged, this,
            [this](int index) { managerActivationBoutons(playerCombo->itemText(index)); });
    connect(generateButton, &QPushButton::clicked, this, &ftpupload::generatePlaylist);
    connect(chooseFolderButton, &QPushButton::clicked, this, &ftpupload::dirChosen);
    connect(localFolderEdit, &QLineEdit::textEdited, this, qOverload<const QString &>(&ftpupload::managerActivationBoutons));
    connect(remoteFolderEdit, &QLineEdit::textEdited, this, qOverload<const QString &>(&ftpupload::managerActivationBoutons));
    connect(serverEdit, &QLineEdit::textEdited, this, &ftpupload::ftpVerif);
    connect(nameEdit, &QLineEdit::textEdited, this, &ftpupload::nameVerif);
    connect(userEdit, &QLineEdit::textEdited, this, qOverload<const QString &>(&ftpupload::managerActivationBoutons));
    connect(passwordEdit, &QLineEdit::textEdited, this, qOverload<const QString &>(&ftpupload::managerActivationBoutons));
    connect(playerCombo, &QComboBox::textActivated, this, &ftpupload::switchingTestButton);
    connect(profileCombo, &QComboBox::currentIndexChanged, this, &ftpupload::podcastLoad);
    connect(deleteFilesButton, &QPushButton::clicked, this, &ftpupload::effacerMp3);
    connect(portEdit, &QLineEdit::textEdited, this, qOverload<const QString &>(&ftpupload::managerActivationBoutons));
    connect(commentButton, &QPushButton::clicked, this, &ftpupload::commenter);
    connect(languageCombo, &QComboBox::currentIndexChanged, this,
            [this](int index) { changerLangue(languageCombo->itemText(index)); });
    connect(resetButton, &QPushButton::clicked, this, &ftpupload::reset);
    connect(addButton, &QPushButton::clicked, this, &ftpupload::save);
    connect(removeButton, &QPushButton::clicked, this, &ftpupload::effacer);
    connect(sendButton, &QPushButton::clicked, this, &ftpupload::upload);
    connect(onlyChangesBox, &QCheckBox::toggled, this, &ftpupload::saveOnlyChanges);
    connect(feedButton, &QPushButton::clicked, this, &ftpupload::editFeed);
    connect(&loudnessWatcher, &QFutureWatcherBase::finished, this, &ftpupload::loudnessMeasured);

    // Created last.
    attachClient(createClient(remote::Protocol::Ftp, this), remote::Protocol::Ftp);

    // Loading the TLS library takes longer than a whole publish of the changes on a fast link:
    // it is done while the form is filled in, not when the send button is pressed.
    QTimer::singleShot(0, this, [] { QSslSocket::supportsSsl(); });
}

ftpupload::~ftpupload() = default;

void ftpupload::saveOnlyChanges(bool seulement)
{
    QSettings settings(onlyChangesFile, QSettings::IniFormat);
    settings.setValue(onlyChangesKey, seulement);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        notifyError(tr("Le choix n'a pas pu être enregistré dans %1.").arg(onlyChangesFile));
}

void ftpupload::notifier(const QString &message)
{
    notifierSansHeure(notificationLine(QTime::currentTime(), message));
}

void ftpupload::notifierSansHeure(const QString &message)
{
    // Always rich text, white space kept: the variable data in a line is escaped, so names and
    // paths read as typed whether or not the line carries markup of its own.
    log->append(QStringLiteral("<span style='white-space: pre-wrap'>") + message + QStringLiteral("</span>"));
}

void ftpupload::commenter()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(BuildConfig::serverUrl)
                                   + QStringLiteral("/Web/public-news-44.php")));
}

void ftpupload::changerLangue(const QString &langue)
{
    // The window goes away with its FTP client: a transfer would be cut short, and the server
    // would keep a truncated episode as a finished one.
    if (ftpBusy()) {
        notifier(tr(" : Une opération FTP est déjà en cours."));
        const QSignalBlocker bloqueur(languageCombo);
        languageCombo->setCurrentIndex(languageIndex);
        return;
    }
    Q_EMIT changeageLangue(langue);
    // The replacement window installs its own translation; this one must no longer answer.
    QCoreApplication::removeTranslator(&traducteur);
    QCoreApplication::removeTranslator(&qtTranslator);
    close();
    deleteLater();
}

void ftpupload::closeEvent(QCloseEvent *event)
{
    if (ftpBusy() && !fichiersParCommande.isEmpty()) {
        const auto reponse = QMessageBox::question(this, tr("Envoi en cours"), tr("Un envoi est en cours. Quitter quand même ?"),
                                                   QMessageBox::Yes | QMessageBox::No);
        if (reponse != QMessageBox::Yes) {
            event->ignore();
            return;
        }
        // Aborted rather than dropped: the server must not take the partial file for a whole one.
        // The user chose to quit: the aborted put is not reported as an error.
        ftp->disconnect(this);
        ftp->abort();
    }
    QWidget::closeEvent(event);
}
