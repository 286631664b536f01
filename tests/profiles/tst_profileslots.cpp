#include <memory>

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include "profiles/profiletable.h"
#include "tests/kit/testkit.h"
#include "tests/profiles/profilerows.h"
#include "ui/ftpupload.h"

using namespace profiles;

namespace {

const QString configFile = QStringLiteral("config.ini");

const Profile lune = {"Radio Lune", "ftp.lune.example", "21", "s3cret", "luna", "/www", "/home/luna"};
const Profile ondes = {"Les Ondes", "ftp.ondes.example", "2121", "mdp", "ondes", "/pod", "/home/ondes"};
const Profile marees = {"Marées", "ftp.marees.example", "22", "vague", "maree", "/", "/home/maree"};
// Typed profiles keep to ASCII: QTest types no other key.
const Profile greves = {"Greves", "ftp.greves.example", "2222", "sable", "greve", "/g", "/home/greve"};

void store(const QList<Profile> &rows)
{
    QVERIFY(writeProfileTable(configFile, tableOf(rows), rows.size()));
}

QList<Profile> stored()
{
    return rowsOf(readProfileTable(configFile));
}

QStringList comboItems(const ftpupload &w)
{
    QStringList items;
    for (int i = 0; i < w.profileCombo->count(); ++i)
        items.append(w.profileCombo->itemText(i));
    return items;
}

std::array<QLineEdit *, FieldCount> fields(const ftpupload &w)
{
    return {w.nameEdit, w.serverEdit, w.portEdit, w.passwordEdit, w.userEdit, w.remoteFolderEdit,
            w.localFolderEdit};
}

Profile form(const ftpupload &w)
{
    Profile profile;
    for (int field = 0; field < FieldCount; ++field)
        profile[field] = fields(w)[field]->text();
    return profile;
}

// Types a whole profile into the form as the user would, name last.
void typeProfile(const ftpupload &w, const Profile &profile)
{
    for (int field = FieldCount - 1; field >= 0; --field) {
        QLineEdit *edit = fields(w)[field];
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, profile[field]);
    }
}

void clearField(QLineEdit *edit)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
}

} // namespace

class TestProfileSlots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_dir = std::make_unique<testkit::WorkDir>(); }
    void cleanup()
    {
        m_window.reset();
        m_dir.reset();
    }

    void startupListsStoredProfilesWithoutSelecting()
    {
        store({lune, ondes});
        ftpupload &w = window();
        QCOMPARE(comboItems(w), QStringList({"Select", "Radio Lune", "Les Ondes"}));
        QCOMPARE(w.profileCombo->currentIndex(), 0);
        QCOMPARE(w.listeNomPodcast, QStringList({"Radio Lune", "Les Ondes"}));
        QCOMPARE(w.listeCheminLocal, QStringList({"/home/luna", "/home/ondes"}));
        QCOMPARE(w.indexPodcast, 1);
        QCOMPARE(w.serverEdit->text(), QString());
        QCOMPARE(w.portEdit->text(), QStringLiteral("21"));
        QVERIFY(!w.addButton->isEnabled());
        QVERIFY(!w.removeButton->isEnabled());
        QVERIFY(!w.resetButton->isEnabled());
        QVERIFY(w.log->toPlainText().isEmpty());
    }

    void missingEntriesLoadAsEmptyProfiles()
    {
        QVERIFY(testkit::writeFile(configFile, "[Remote]\n1\\nomPodcast=Seul\nsize=3\n"));
        ftpupload &w = window();
        QCOMPARE(comboItems(w), QStringList({"Select", "Seul", "", ""}));
        QCOMPARE(w.listeUrlFtp, QStringList({"", "", ""}));
    }

    void firstEditAfterStartupComparesWithFirstProfile()
    {
        store({lune});
        ftpupload &w = window();
        // indexPodcast starts at 1: the form is set against "Radio Lune", the combo shows "Select".
        typeProfile(w, ondes);
        QVERIFY(w.addButton->isEnabled());
        QVERIFY(!w.removeButton->isEnabled());
        QVERIFY(w.resetButton->isEnabled());
    }

    void firstProfileNamedSelectMatchesUntouchedForm()
    {
        store({{"Select", "", "21", "", "", "/", QDir::currentPath()}});
        ftpupload &w = window();
        w.playlistText->setPlainText(QStringLiteral("x")); // re-evaluates without touching the form
        QVERIFY(!w.addButton->isEnabled());
        QVERIFY(w.removeButton->isEnabled());
    }

    void selectingProfileFillsFormAndLogsOnce()
    {
        store({lune, ondes});
        ftpupload &w = window();
        w.serverEdit->setStyleSheet(QStringLiteral("background-color: red;"));
        w.profileCombo->setCurrentIndex(2);
        QCOMPARE(form(w), ondes);
        QCOMPARE(w.indexPodcast, 2);
        QCOMPARE(w.serverEdit->styleSheet(), QStringLiteral("background-color: white"));
        QCOMPARE(logLines(w), QStringList({" : Sélection du podcast \"Les Ondes"}));
        QVERIFY(w.log->toHtml().contains(QStringLiteral("font-weight:700;\">Les Ondes")));
        QVERIFY(!w.addButton->isEnabled());
        QVERIFY(w.removeButton->isEnabled());
        QVERIFY(!w.resetButton->isEnabled());
    }

    void savingNewProfileAppendsSelectsAndLogs()
    {
        store({lune});
        ftpupload &w = window();
        typeProfile(w, ondes);
        QVERIFY(w.addButton->isEnabled());
        QTest::mouseClick(w.addButton, Qt::LeftButton);
        QCOMPARE(comboItems(w), QStringList({"Select", "Radio Lune", "Les Ondes"}));
        QCOMPARE(w.profileCombo->currentIndex(), 2);
        QCOMPARE(w.indexPodcast, 2);
        QCOMPARE(logLines(w), QStringList({" : Sélection du podcast \"Les Ondes",
                                           " : Sélection du podcast \"Les Ondes",
                                           " : Liste des podcast mise à jour"}));
        QCOMPARE(stored(), QList<Profile>({lune, ondes}));
        QVERIFY(!w.addButton->isEnabled());
        QVERIFY(w.removeButton->isEnabled());
    }

    void savingWithoutNameStoresUnderServer()
    {
        ftpupload &w = window();
        Profile unnamed = lune;
        unnamed[NomPodcast].clear();
        typeProfile(w, unnamed);
        QTest::mouseClick(w.addButton, Qt::LeftButton);
        QCOMPARE(comboItems(w), QStringList({"Select", "ftp.lune.example"}));
        QCOMPARE(w.nameEdit->text(), QStringLiteral("ftp.lune.example"));
        Profile expected = lune;
        expected[NomPodcast] = lune[UrlFtp];
        QCOMPARE(stored(), QList<Profile>({expected}));
    }

    void savingStoredNameUpdatesFirstOfThatName()
    {
        Profile twin = ondes;
        twin[NomPodcast] = lune[NomPodcast];
        store({lune, twin});
        ftpupload &w = window();
        w.profileCombo->setCurrentIndex(2);
        QTest::keyClicks(w.userEdit, QStringLiteral("2"));
        QVERIFY(w.addButton->isEnabled());
        QTest::mouseClick(w.addButton, Qt::LeftButton);
        Profile updated = twin;
        updated[User] += QStringLiteral("2");
        QCOMPARE(stored(), QList<Profile>({updated, twin}));
        QCOMPARE(w.listeUser, QStringList({"ondes2", "ondes"}));
        QCOMPARE(w.indexPodcast, 1);
        QCOMPARE(comboItems(w).size(), 3);
        QCOMPARE(logLines(w).last(), QStringLiteral(" : Liste des podcast mise à jour"));
    }

    void savingInvalidServerIsRefused()
    {
        store({lune});
        const QByteArray before = testkit::readFile(configFile);
        ftpupload &w = window();
        typeProfile(w, ondes);
        clearField(w.serverEdit);
        QTest::keyClicks(w.serverEdit, QStringLiteral("x.y"));
        QVERIFY(!w.addButton->isEnabled());
        testkit::ModalAnswerer answerer;
        answerer.answer(QMessageBox::Ok);
        w.save();
        QCOMPARE(answerer.boxes().size(), 1);
        QCOMPARE(answerer.boxes().at(0).title, QStringLiteral("erreur"));
        QCOMPARE(answerer.boxes().at(0).text, QStringLiteral("ftp non valide"));
        QCOMPARE(answerer.boxes().at(0).icon, QMessageBox::Critical);
        QCOMPARE(logLines(w), QStringList({" : Erreur : ftp non valide"}));
        QCOMPARE(comboItems(w), QStringList({"Select", "Radio Lune"}));
        QCOMPARE(w.listeNomPodcast, QStringList({"Radio Lune"}));
        QCOMPARE(testkit::readFile(configFile), before);
    }

    void deletingMiddleProfileShowsNextOne()
    {
        store({lune, ondes, marees});
        ftpupload &w = window();
        w.profileCombo->setCurrentIndex(2);
        clearLog(w);
        QTest::mouseClick(w.removeButton, Qt::LeftButton);
        QCOMPARE(form(w), marees);
        QCOMPARE(comboItems(w), QStringList({"Select", "Radio Lune", "Marées"}));
        QCOMPARE(w.profileCombo->currentIndex(), 2);
        QCOMPARE(logLines(w), QStringList({" : Sélection du podcast \"Marées",
                                           " : The current podcast parameters were deleted.",
                                           " : Liste des podcast mise à jour"}));
        QCOMPARE(stored(), QList<Profile>({lune, marees}));
        const QByteArray content = testkit::readFile(configFile);
        QVERIFY(content.contains("2\\nomPodcast="));
        QVERIFY(!content.contains("3\\"));
        QVERIFY(content.contains("size=2\n"));
    }

    void deletingLastProfileShowsNewLastOne()
    {
        store({lune, ondes, marees});
        ftpupload &w = window();
        w.profileCombo->setCurrentIndex(3);
        clearLog(w);
        QTest::mouseClick(w.removeButton, Qt::LeftButton);
        QCOMPARE(form(w), ondes);
        QCOMPARE(w.profileCombo->currentIndex(), 2);
        QCOMPARE(logLines(w), QStringList({" : Sélection du podcast \"Les Ondes",
                                           " : The current podcast parameters were deleted.",
                                           " : Liste des podcast mise à jour"}));
        QCOMPARE(stored(), QList<Profile>({lune, ondes}));
        QVERIFY(w.removeButton->isEnabled());
    }

    void deletingOnlyProfileResetsForm()
    {
        store({lune});
        ftpupload &w = window();
        w.profileCombo->setCurrentIndex(1);
        clearLog(w);
        QTest::mouseClick(w.removeButton, Qt::LeftButton);
        QCOMPARE(comboItems(w), QStringList({"Select"}));
        QCOMPARE(form(w), Profile({"", "", "21", "", "", "/", QDir::currentPath()}));
        QCOMPARE(logLines(w), QStringList({" : Champs réinitialisés.",
                                           " : The current podcast parameters were deleted.",
                                           " : Liste des podcast mise à jour"}));
        QCOMPARE(testkit::readFile(configFile), QByteArray("[Remote]\nsize=0\n"));
        QCOMPARE(w.indexPodcast, -1);
        QVERIFY(w.serverEdit->styleSheet().contains(QStringLiteral("red")));
        QCOMPARE(w.focusWidget(), w.serverEdit);
        QVERIFY(!w.removeButton->isEnabled());
    }

    void resetWithProfileSelectedRunsTwice()
    {
        store({lune});
        ftpupload &w = window();
        w.profileCombo->setCurrentIndex(1);
        clearLog(w);
        w.reset();
        QCOMPARE(w.profileCombo->currentIndex(), 0);
        QCOMPARE(w.indexPodcast, 0);
        QCOMPARE(logLines(w), QStringList({" : Champs réinitialisés.", " : Champs réinitialisés."}));
        QCOMPARE(form(w), Profile({"", "", "21", "", "", "/", QDir::currentPath()}));
        QVERIFY(w.resetButton->isEnabled());
        // Nothing selected any more: a second reset runs once and keeps indexPodcast.
        w.indexPodcast = 7;
        clearLog(w);
        w.reset();
        QCOMPARE(logLines(w), QStringList({" : Champs réinitialisés."}));
        QCOMPARE(w.indexPodcast, 7);
    }

    void typingStoredNameLoadsItAndKeepsIt()
    {
        store({lune, ondes});
        ftpupload &w = window();
        QTest::keyClicks(w.nameEdit, QStringLiteral("Les Ondes"));
        QCOMPARE(form(w), ondes);
        QCOMPARE(w.profileCombo->currentIndex(), 2);
        QCOMPARE(logLines(w).size(), 2);
        QVERIFY(!w.addButton->isEnabled());
        QVERIFY(w.removeButton->isEnabled());
        // Going on with the name alone is no change to the profile.
        QTest::keyClicks(w.nameEdit, QStringLiteral(" 2"));
        Profile expected = ondes;
        expected[NomPodcast] = QStringLiteral("Les Ondes 2");
        QCOMPARE(form(w), expected);
        QVERIFY(!w.addButton->isEnabled());
        QVERIFY(w.removeButton->isEnabled());
    }

    void editingLoadedProfileSetsButtons_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<bool>("clear");
        QTest::addColumn<bool>("add");
        QTest::addColumn<bool>("remove");
        QTest::newRow("server changed") << int(UrlFtp) << false << true << false;
        QTest::newRow("port changed") << int(Port) << false << true << false;
        QTest::newRow("password changed") << int(Mdp) << false << true << false;
        QTest::newRow("user changed") << int(User) << false << true << false;
        QTest::newRow("remote folder changed") << int(Chemin) << false << true << false;
        QTest::newRow("local folder changed") << int(CheminLocal) << false << true << false;
        QTest::newRow("password emptied") << int(Mdp) << true << false << false;
        QTest::newRow("name emptied") << int(NomPodcast) << true << false << true;
        QTest::newRow("server made invalid") << int(UrlFtp) << true << false << false;
    }
    void editingLoadedProfileSetsButtons()
    {
        QFETCH(int, field);
        QFETCH(bool, clear);
        QFETCH(bool, add);
        QFETCH(bool, remove);
        store({lune});
        ftpupload &w = window();
        w.profileCombo->setCurrentIndex(1);
        QLineEdit *edit = fields(w)[field];
        if (clear)
            clearField(edit);
        else
            QTest::keyClicks(edit, QStringLiteral("1"));
        QCOMPARE(w.addButton->isEnabled(), add);
        QCOMPARE(w.removeButton->isEnabled(), remove);
        QVERIFY(w.resetButton->isEnabled());
    }

    void typingServerChecksIt()
    {
        ftpupload &w = window();
        QTest::keyClicks(w.serverEdit, QStringLiteral("ftp.example"));
        QCOMPARE(w.serverEdit->styleSheet(), QStringLiteral("background-color: red;"));
        QCOMPARE(w.erreurServeur, QStringLiteral("ftp non valide"));
        QTest::keyClicks(w.serverEdit, QStringLiteral(".org"));
        QCOMPARE(w.serverEdit->styleSheet(), QStringLiteral("background-color: white;"));
        QVERIFY(w.erreurServeur.isEmpty());
        QVERIFY(w.log->toPlainText().isEmpty());
    }

    void failedWriteIsReportedAndTableKept()
    {
        QVERIFY(QDir().mkdir(configFile));
        ftpupload &w = window();
        typeProfile(w, lune);
        QTest::mouseClick(w.addButton, Qt::LeftButton);
        const QStringList lines = logLines(w);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.last(), QStringLiteral(" : Erreur : impossible d'écrire dans config.ini"));
        QVERIFY(w.log->toHtml().contains(QStringLiteral("color:#ff0000")));
        QCOMPARE(comboItems(w), QStringList({"Select", "Radio Lune"}));
        QCOMPARE(w.listeNomPodcast, QStringList({"Radio Lune"}));
    }

    void profileNameIsEscapedInLog()
    {
        Profile odd = lune;
        odd[NomPodcast] = QStringLiteral("<i>A & B</i>");
        store({odd});
        ftpupload &w = window();
        w.profileCombo->setCurrentIndex(1);
        QCOMPARE(logLines(w), QStringList({" : Sélection du podcast \"<i>A & B</i>"}));
    }

    void outOfRangeIndexReadsNothing()
    {
        store({lune});
        ftpupload &w = window();
        w.podcastLoad(2);
        w.podcastLoad(-1);
        QCOMPARE(w.serverEdit->text(), QString());
        QCOMPARE(w.profileCombo->currentIndex(), 0);
    }

    void profilesSurviveRestart()
    {
        {
            ftpupload &w = window();
            typeProfile(w, lune);
            QTest::mouseClick(w.addButton, Qt::LeftButton);
            w.reset();
            typeProfile(w, ondes);
            QTest::mouseClick(w.addButton, Qt::LeftButton);
            w.reset();
            typeProfile(w, greves);
            QTest::mouseClick(w.addButton, Qt::LeftButton);
            w.profileCombo->setCurrentIndex(1);
            QTest::mouseClick(w.removeButton, Qt::LeftButton);
        }
        ftpupload &again = window();
        QCOMPARE(comboItems(again), QStringList({"Select", "Les Ondes", "Greves"}));
        again.profileCombo->setCurrentIndex(2);
        QCOMPARE(form(again), greves);
    }

    void choosingSourceFolderLogsIt()
    {
        const QString folder = QDir::current().absoluteFilePath(QStringLiteral("Rock & <Roll>"));
        QVERIFY(QDir().mkdir(folder));
        ftpupload &w = window();
        testkit::ModalAnswerer answerer;
        answerer.handleNext([folder](QWidget *modal) { acceptFolder(modal, folder); });
        QTest::mouseClick(w.chooseFolderButton, Qt::LeftButton);
        QCOMPARE(w.localFolderEdit->text(), folder);
        QCOMPARE(logLines(w), QStringList({" : Le dossier source pointe alors sur \"" + folder + "\"."}));
        QVERIFY(w.resetButton->isEnabled());

        // The same folder again, then a cancelled chooser: nothing to report.
        answerer.handleNext([folder](QWidget *modal) { acceptFolder(modal, folder); });
        QTest::mouseClick(w.chooseFolderButton, Qt::LeftButton);
        answerer.handleNext([](QWidget *modal) { modal->close(); });
        QTest::mouseClick(w.chooseFolderButton, Qt::LeftButton);
        QCOMPARE(answerer.pending(), 0);
        QCOMPARE(w.localFolderEdit->text(), folder);
        QCOMPARE(logLines(w).size(), 1);
    }

private:
    ftpupload &window()
    {
        m_window = std::make_unique<ftpupload>(QString());
        m_window->show();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qWarning("window not active");
        return *m_window;
    }

    // The log's lines without their time, which is checked on the way.
    static QStringList logLines(const ftpupload &w)
    {
        static const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d"));
        QStringList lines;
        if (w.log->toPlainText().isEmpty())
            return lines;
        for (const QString &line : w.log->toPlainText().split(QLatin1Char('\n'))) {
            if (!time.match(line).hasMatch())
                return {QStringLiteral("line without time: ") + line};
            lines.append(line.mid(8));
        }
        return lines;
    }

    static void clearLog(const ftpupload &w) { w.log->clear(); }

    static void acceptFolder(QWidget *modal, const QString &folder)
    {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        dialog->setDirectory(folder);
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides its override
    }

    std::unique_ptr<testkit::WorkDir> m_dir;
    std::unique_ptr<ftpupload> m_window;
};

QTEST_MAIN(TestProfileSlots)
#include "tst_profileslots.moc"
