#include <memory>

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QTest>

#include "profiles/profiletable.h"
#include "tests/profiles/profilerows.h"
#include "tests/kit/testkit.h"

using namespace profiles;

namespace {

const QString configFile = QStringLiteral("config.ini");

ProfileTable twoProfiles()
{
    return tableOf({{"Radio Lune", "ftp.lune.example", "21", "s3cret", "luna", "/www", "/home/luna/mp3"},
                    {"Les Ondes", "ftp.ondes.example", "2121", "mdp", "ondes", "/", "/home/ondes"}});
}

} // namespace

class TestProfileTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_dir = std::make_unique<testkit::WorkDir>(); }
    void cleanup() { m_dir.reset(); }

    void handWrittenFileLoadsByArrayIndex()
    {
        QVERIFY(testkit::writeFile(configFile,
                                   "[Remote]\n"
                                   "2\\nomPodcast=Second\n"
                                   "2\\urlFtp=ftp.two.example\n"
                                   "1\\nomPodcast=Premier\n"
                                   "1\\urlFtp=ftp.one.example\n"
                                   "1\\port=21\n"
                                   "1\\mdp=pw\n"
                                   "1\\user=me\n"
                                   "1\\chemin=/www\n"
                                   "1\\cheminLocal=C:/Podcasts\n"
                                   "size=2\n"));
        const ProfileTable table = readProfileTable(configFile);
        QCOMPARE(table[NomPodcast], QStringList({"Premier", "Second"}));
        QCOMPARE(table[UrlFtp], QStringList({"ftp.one.example", "ftp.two.example"}));
        QCOMPARE(table[CheminLocal], QStringList({"C:/Podcasts", ""}));
        for (const QStringList &column : table)
            QCOMPARE(column.size(), 2);
    }

    void missingFileReadsAsEmptyTable()
    {
        for (const QStringList &column : readProfileTable(configFile))
            QVERIFY(column.isEmpty());
        QVERIFY(!QFile::exists(configFile));
    }

    void sizeBeyondEntriesGivesEmptyProfiles()
    {
        QVERIFY(testkit::writeFile(configFile, "[Remote]\n1\\nomPodcast=Seul\nsize=3\n"));
        const ProfileTable table = readProfileTable(configFile);
        QCOMPARE(table[NomPodcast], QStringList({"Seul", "", ""}));
        for (int field = UrlFtp; field < FieldCount; ++field)
            QCOMPARE(table[field], QStringList({"", "", ""}));
    }

    void writtenTableLoadsBackUnchanged()
    {
        ProfileTable table = twoProfiles();
        // Values that INI files quote or escape, and spaces that must not be trimmed.
        table[NomPodcast][0] = QStringLiteral("  L'émission ; n°1 = \"best\" \\ ");
        table[Mdp][1] = QStringLiteral("p=a,s#s");
        QVERIFY(writeProfileTable(configFile, table, 2));
        QCOMPARE(readProfileTable(configFile), table);
    }

    void writtenFileNumbersEntriesFromOne()
    {
        QVERIFY(writeProfileTable(configFile, twoProfiles(), 2));
        const QByteArray content = testkit::readFile(configFile);
        QVERIFY(content.startsWith("[Remote]\n"));
        QVERIFY(content.contains("1\\nomPodcast=Radio Lune\n"));
        QVERIFY(content.contains("2\\cheminLocal=/home/ondes\n"));
        QVERIFY(content.contains("size=2\n"));
        QVERIFY(!content.contains("0\\"));
        QVERIFY(!content.contains("3\\"));
    }

    void emptyTableLeavesOnlySize()
    {
        QVERIFY(writeProfileTable(configFile, twoProfiles(), 2));
        QVERIFY(writeProfileTable(configFile, ProfileTable(), 0));
        QCOMPARE(testkit::readFile(configFile), QByteArray("[Remote]\nsize=0\n"));
    }

    void writeReplacesEveryKeyOfTheFile()
    {
        QVERIFY(testkit::writeFile(configFile,
                                   "[General]\ntheme=dark\n"
                                   "[Remote]\n1\\nomPodcast=Old\n2\\nomPodcast=Older\nsize=2\n"));
        ProfileTable table;
        table[NomPodcast] = QStringList({"New"});
        QVERIFY(writeProfileTable(configFile, table, 1));
        const QByteArray content = testkit::readFile(configFile);
        QVERIFY(!content.contains("theme"));
        QVERIFY(!content.contains("Old"));
        QCOMPARE(readProfileTable(configFile)[NomPodcast], QStringList({"New"}));
    }

    void writeStopsAtCount()
    {
        QVERIFY(writeProfileTable(configFile, twoProfiles(), 1));
        QCOMPARE(readProfileTable(configFile)[NomPodcast], QStringList({"Radio Lune"}));
    }

    void writeIntoUnwritablePlaceFails()
    {
        QVERIFY(QDir().mkdir(configFile));
        QVERIFY(!writeProfileTable(configFile, twoProfiles(), 2));
        QVERIFY(QFileInfo(configFile).isDir());
    }

    void newFileIsReadableByOwnerOnly()
    {
        QVERIFY(writeProfileTable(configFile, twoProfiles(), 2));
        QCOMPARE(QFile::permissions(configFile), ownerOnly());
    }

    void existingFileBecomesReadableByOwnerOnly()
    {
        QVERIFY(testkit::writeFile(configFile, "[Remote]\nsize=0\n"));
        QVERIFY(QFile::setPermissions(configFile, ownerOnly() | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(writeProfileTable(configFile, twoProfiles(), 2));
        QCOMPARE(QFile::permissions(configFile), ownerOnly());
        QVERIFY(writeProfileTable(configFile, twoProfiles(), 1));
        QCOMPARE(QFile::permissions(configFile), ownerOnly());
    }

    void readingRestrictsAnExistingFileToItsOwner()
    {
        QVERIFY(testkit::writeFile(configFile, "[Remote]\nsize=0\n"));
        QVERIFY(QFile::setPermissions(configFile, ownerOnly() | QFile::ReadGroup | QFile::ReadOther));
        readProfileTable(configFile);
        QCOMPARE(QFile::permissions(configFile), ownerOnly());
    }

    void readOnlyFileStaysReadOnly()
    {
        // The "user" rights follow who runs the test (root may write anything): left out here.
        const QFile::Permissions mode = ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        QVERIFY(testkit::writeFile(configFile, "[Remote]\nsize=0\n"));
        QVERIFY(QFile::setPermissions(configFile, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        readProfileTable(configFile);
        QCOMPARE(QFile::permissions(configFile) & mode, QFile::ReadOwner);
    }

private:
    // QFile reports the owner's rights twice, as owner and as the current user.
    static QFile::Permissions ownerOnly()
    {
        return QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    }

    std::unique_ptr<testkit::WorkDir> m_dir;
};

QTEST_GUILESS_MAIN(TestProfileTable)
#include "tst_profiletable.moc"
