#include "tests/feed/feedkit.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace feedkit {

bool makeMp3(const QString &path, int seconds, const QStringList &tagOptions)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QProcess lame;
    lame.start(QStringLiteral("lame"), QStringList{QStringLiteral("--quiet"), QStringLiteral("-r"), QStringLiteral("-s"),
                                                   QStringLiteral("44.1"), QStringLiteral("--bitwidth"), QStringLiteral("16"),
                                                   QStringLiteral("-m"), QStringLiteral("m"), QStringLiteral("-b"),
                                                   QStringLiteral("32"), QStringLiteral("--id3v2-only")}
                                           + tagOptions + QStringList{QStringLiteral("-"), path});
    lame.write(QByteArray(seconds * 44100 * 2, '\0'));
    lame.closeWriteChannel();
    return lame.waitForFinished(30000) && lame.exitStatus() == QProcess::NormalExit && lame.exitCode() == 0;
}

bool writeChapters(const QString &path, const QJsonObject &spec)
{
    QProcess python;
    python.setProcessChannelMode(QProcess::ForwardedChannels);
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(TESSALY_FEED_TESTS_DIR "/writechapters.py"), path,
                  QString::fromUtf8(QJsonDocument(spec).toJson(QJsonDocument::Compact))});
    return python.waitForFinished(30000) && python.exitStatus() == QProcess::NormalExit && python.exitCode() == 0;
}

QJsonObject secondChapters(const QStringList &titles)
{
    QJsonArray chapters;
    for (int i = 0; i < titles.size(); ++i)
        chapters.append(QJsonObject{{QStringLiteral("id"), QStringLiteral("c%1").arg(i)}, {QStringLiteral("start"), i * 1000},
                                    {QStringLiteral("end"), (i + 1) * 1000}, {QStringLiteral("title"), titles[i]}});
    return {{QStringLiteral("toc"), QJsonValue()}, {QStringLiteral("chapters"), chapters}};
}

QJsonObject readFeed(const QString &path, const QString &address)
{
    QProcess python;
    python.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(TESSALY_FEED_TESTS_DIR "/readfeed.py"), path, address});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

} // namespace feedkit
