#include <memory>

#include <QTest>

#include "profiles/formchecks.h"
#include "tests/profiles/profilerows.h"
#include "tests/kit/testkit.h"

using namespace profiles;

namespace {

const Profile stored = {"Radio Lune", "ftp.lune.example", "21", "s3cret", "luna", "/www",
                        "/home/luna"};
const QString white = QStringLiteral("background-color: white;");
const QString red = QStringLiteral("background-color: red;");

Profile withField(Profile profile, int field, const QString &text)
{
    profile[field] = text;
    return profile;
}

} // namespace

Q_DECLARE_METATYPE(Profile)

class TestProfileFormChecks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_dir = std::make_unique<testkit::WorkDir>(); }
    void cleanup() { m_dir.reset(); }

    void serverNeedsThreeDottedParts_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("valid");
        QTest::newRow("x.y.z") << "x.y.z" << true;
        QTest::newRow("x.y") << "x.y" << false;
        QTest::newRow("x..y") << "x..y" << false;
        QTest::newRow("x...y") << "x...y" << true;
        QTest::newRow("spaces and dots") << " . . " << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("host name") << "ftp.example.org" << true;
        QTest::newRow("leading dot") << ".x.y" << false;
        QTest::newRow("trailing dot") << "x.y." << false;
        QTest::newRow("dotted parts inside text") << "ftp://ftp.example.org/" << true;
        QTest::newRow("five dots") << "....." << true;
        QTest::newRow("four dots") << "...." << false;
        QTest::newRow("line break counts as a character") << "x\n.y.z" << true;
        QTest::newRow("no dot") << "localhost" << false;
    }
    void serverNeedsThreeDottedParts()
    {
        QFETCH(QString, server);
        QFETCH(bool, valid);
        QCOMPARE(isValidServer(server), valid);
    }

    // E: a watched field is empty; P: a stored profile is shown (index > 0, table not empty).
    void addButtonRule_data()
    {
        QTest::addColumn<Profile>("form");
        QTest::addColumn<QString>("style");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("add");
        const Profile changed = withField(stored, Mdp, "autre");
        QTest::newRow("E, no profile") << withField(stored, User, "") << white << 0 << false;
        QTest::newRow("E, profile, changed") << withField(changed, Chemin, "") << white << 1 << false;
        QTest::newRow("red, no profile") << stored << red << 0 << false;
        QTest::newRow("red, profile, changed") << changed << red << 1 << false;
        QTest::newRow("no profile shown") << stored << white << 0 << true;
        QTest::newRow("profile, form changed") << changed << white << 1 << true;
        QTest::newRow("profile, form equal") << stored << white << 1 << false;
        // The scheme names the protocol: the same host over SFTP is another profile.
        QTest::newRow("profile, sftp:// added") << withField(stored, UrlFtp, "sftp://ftp.lune.example") << white << 1 << true;
        QTest::newRow("style from podcastLoad") << changed << "background-color: white" << 1 << true;
        QTest::newRow("red is case-sensitive") << changed << "background-color: RED;" << 1 << true;
    }
    void addButtonRule()
    {
        QFETCH(Profile, form);
        QFETCH(QString, style);
        QFETCH(int, index);
        QFETCH(bool, add);
        const ButtonStates states = buttonStates(form, style, index, tableOf({stored}));
        QCOMPARE(states.add, add);
        QVERIFY(states.reset);
    }

    void addButtonIgnoresEmptyTable()
    {
        // With nothing stored, index 1 (the value right after start-up) shows no profile.
        QVERIFY(buttonStates(stored, white, 1, ProfileTable()).add);
    }

    void removeButtonRule_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("tableEmpty");
        QTest::addColumn<Profile>("form");
        QTest::addColumn<bool>("remove");
        const Profile changed = withField(stored, Port, "2121");
        QTest::newRow("index 0, equal form") << 0 << false << stored << false;
        QTest::newRow("index -1") << -1 << false << stored << false;
        QTest::newRow("index 0, empty table") << 0 << true << stored << false;
        QTest::newRow("empty table") << 1 << true << stored << false;
        QTest::newRow("form changed") << 1 << false << changed << false;
        QTest::newRow("form equal") << 1 << false << stored << true;
    }
    void removeButtonRule()
    {
        QFETCH(int, index);
        QFETCH(bool, tableEmpty);
        QFETCH(Profile, form);
        QFETCH(bool, remove);
        const ProfileTable table = tableEmpty ? ProfileTable() : tableOf({stored});
        // A red server only matters to the add button.
        QCOMPARE(buttonStates(form, red, index, table).remove, remove);
    }

    void everyComparedFieldCounts_data()
    {
        QTest::addColumn<int>("field");
        const char *names[] = {"name", "server", "port", "password", "user", "remote", "local"};
        for (int field = 0; field < FieldCount; ++field)
            QTest::newRow(names[field]) << field;
    }
    void everyComparedFieldCounts()
    {
        QFETCH(int, field);
        const ButtonStates states =
            buttonStates(withField(stored, field, stored[field] + "x"), white, 1, tableOf({stored}));
        QVERIFY(states.add);
        QVERIFY(!states.remove);
    }

    void formIsComparedWithTheProfileAtIndex()
    {
        const Profile other = {"Les Ondes", "ftp.ondes.example", "21", "mdp", "ondes", "/", "/o"};
        const ProfileTable table = tableOf({stored, other});
        QVERIFY(buttonStates(other, white, 2, table).remove);
        QVERIFY(!buttonStates(other, white, 1, table).remove);
        QVERIFY(buttonStates(stored, white, 1, table).remove);
    }

private:
    std::unique_ptr<testkit::WorkDir> m_dir;
};

QTEST_GUILESS_MAIN(TestProfileFormChecks)
#include "tst_profileformchecks.moc"
