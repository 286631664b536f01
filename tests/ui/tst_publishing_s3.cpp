#include <memory>

#include <QCheckBox>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include "remote/remoteclient.h"
#include "tests/kit/s3server.h"
#include "tests/kit/testkit.h"
#include "tests/ui/publishingkit.h"
#include "ui/ftpupload.h"

// Publishing through the window to an object store (s3rver): the episodes of src/ go to the keys
// "season 1/MP3/..." of the bucket show, and boto3 reads them back.
class PublishingS3Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void publishSyncsAndEmptiesMp3();
    void refusedKeyIsReportedWithoutReady();

private:
    void click(QPushButton *button);
    bool waitForIdle() { return publishingkit::waitForIdle(m_window->ftp, *m_states, *m_boxes); }
    QStringList keys() { return m_store->boto3({QStringLiteral("keys"), QStringLiteral("show")}).toVariant().toStringList(); }
    int sentCount() const;

    std::unique_ptr<testkit::WorkDir> m_dir;
    std::unique_ptr<testkit::S3Server> m_store;
    std::unique_ptr<testkit::ModalAnswerer> m_boxes;
    std::unique_ptr<ftpupload> m_window;
    std::unique_ptr<QSignalSpy> m_states;
    QString m_log; // the log before the last click
};

void PublishingS3Test::init()
{
    m_dir = std::make_unique<testkit::WorkDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("store")));
    m_store = std::make_unique<testkit::S3Server>();
    QVERIFY2(m_store->start(m_dir->filePath(QStringLiteral("store")), {QStringLiteral("show")}),
             qPrintable(m_store->errorString()));
    m_boxes = std::make_unique<testkit::ModalAnswerer>();
    m_window = std::make_unique<ftpupload>(QString());
    m_window->serverEdit->setText(QStringLiteral("s3://") + m_store->host());
    m_window->portEdit->setText(QString::number(m_store->port()));
    m_window->userEdit->setText(m_store->accessKey());
    m_window->passwordEdit->setText(m_store->secret());
    m_window->localFolderEdit->setText(m_dir->filePath(QStringLiteral("src")));
    m_window->remoteFolderEdit->setText(QStringLiteral("show/season 1"));
}

void PublishingS3Test::cleanup()
{
    m_states.reset();
    m_window.reset();
    m_boxes.reset();
    m_store.reset();
    m_dir.reset();
}

void PublishingS3Test::click(QPushButton *button)
{
    m_log = m_window->log->toPlainText();
    QTest::mouseClick(button, Qt::LeftButton);
    // The client of the server field's protocol is in place once the connection is queued.
    m_states = std::make_unique<QSignalSpy>(m_window->ftp, &RemoteClient::stateChanged);
}

int PublishingS3Test::sentCount() const
{
    return static_cast<int>(m_window->log->toPlainText().mid(m_log.size()).count(QStringLiteral("Envoi du fichier")));
}

void PublishingS3Test::publishSyncsAndEmptiesMp3()
{
    QByteArray episode(300 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(3);
    for (char &byte : episode)
        byte = static_cast<char>(generator.generate());
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("src/a & b é.mp3")), episode));
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("src/b.mp3")), "second episode"));
    QVERIFY(!m_store->boto3({QStringLiteral("put"), QStringLiteral("show"), QStringLiteral("season 1/index.html"), QStringLiteral("site")})
                 .isUndefined());
    QVERIFY(!m_store->boto3({QStringLiteral("put"), QStringLiteral("show"), QStringLiteral("season 1/MP3/old/kept.mp3"), QStringLiteral("k")})
                 .isUndefined());

    m_boxes->answer(QMessageBox::Ok);
    click(m_window->sendButton);
    QVERIFY(waitForIdle());
    QCOMPARE(m_boxes->boxes().size(), 1);
    QCOMPARE(m_boxes->boxes().first().title, QStringLiteral("Fichiers envoyés"));
    QCOMPARE(sentCount(), 2);
    const QString back = m_dir->filePath(QStringLiteral("back"));
    for (const auto &[name, content] : {std::pair{QStringLiteral("a & b é.mp3"), episode},
                                        std::pair{QStringLiteral("b.mp3"), QByteArray("second episode")}}) {
        const QJsonValue stored = m_store->boto3({QStringLiteral("get"), QStringLiteral("show"), QStringLiteral("season 1/MP3/") + name, back});
        QVERIFY2(stored.isObject(), qPrintable(m_store->errorString()));
        QCOMPARE(stored[QLatin1String("type")].toString(), QStringLiteral("audio/mpeg"));
        QVERIFY(testkit::readFile(back) == content);
    }

    // Only the changes: the times the store lists are exact, so that a file of the same size
    // edited after its upload is the one sent again.
    m_window->findChild<QCheckBox *>(QStringLiteral("onlyChangesBox"))->setChecked(true);
    QFile edited(m_dir->filePath(QStringLiteral("src/b.mp3")));
    QVERIFY(edited.open(QIODevice::ReadWrite));
    QVERIFY(edited.setFileTime(QDateTime::currentDateTimeUtc().addSecs(3600), QFileDevice::FileModificationTime));
    edited.close();
    m_boxes->answer(QMessageBox::Ok);
    click(m_window->sendButton);
    QVERIFY(waitForIdle());
    QCOMPARE(sentCount(), 1);
    QVERIFY(m_window->log->toPlainText().mid(m_log.size()).contains(QStringLiteral("Envoi du fichier ")
                                                                    + m_dir->filePath(QStringLiteral("src/b.mp3"))));
    QVERIFY(!m_window->log->toPlainText().contains(QStringLiteral("seules les tailles sont comparées")));

    m_boxes->answer(QMessageBox::Yes);
    click(m_window->deleteFilesButton);
    QVERIFY(waitForIdle());
    QCOMPARE(keys(), (QStringList{QStringLiteral("season 1/MP3/old/kept.mp3"), QStringLiteral("season 1/index.html")}));
    QVERIFY(publishingkit::logLines(m_window->log).contains(QStringLiteral(" : Fichiers supprimés du serveur.")));
}

void PublishingS3Test::refusedKeyIsReportedWithoutReady()
{
    QVERIFY(testkit::writeFile(m_dir->filePath(QStringLiteral("src/a.mp3")), "episode"));
    m_window->userEdit->setText(QStringLiteral("AKIDUNKNOWN"));
    m_boxes->answer(QMessageBox::Ok);
    click(m_window->sendButton);
    QVERIFY(waitForIdle());
    QCOMPARE(m_boxes->boxes().size(), 1);
    QCOMPARE(m_boxes->boxes().first().text,
             QStringLiteral("ftp error 1 : Login failed: the store knows no such access key id (InvalidAccessKeyId: "
                            "The AWS Access Key Id you provided does not exist in our records.)"));
    QVERIFY(!publishingkit::logLines(m_window->log).contains(QStringLiteral(" : Prêt.")));
    QCOMPARE(keys(), QStringList());
}

QTEST_MAIN(PublishingS3Test)
#include "tst_publishing_s3.moc"
