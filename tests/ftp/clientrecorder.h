#pragma once

#include <QList>
#include <QPair>
#include <QStringList>

#include "remote/remoteclient.h"
#include "remote/urlinfo.h"

// Writes down what a RemoteClient signals, in order: "state 4", "start 2", "finish 2 ok",
// "finish 3 error", "done ok", and the first and last progress reports as "progress 0/10".
struct ClientRecorder
{
    explicit ClientRecorder(RemoteClient *client)
    {
        QObject::connect(client, &RemoteClient::stateChanged, client,
                         [this](int state) { events << QStringLiteral("state %1").arg(state); });
        QObject::connect(client, &RemoteClient::commandStarted, client,
                         [this](int id) { events << QStringLiteral("start %1").arg(id); });
        QObject::connect(client, &RemoteClient::commandFinished, client, [this](int id, bool error) {
            events << QStringLiteral("finish %1 %2").arg(id).arg(error ? "error" : "ok");
        });
        QObject::connect(client, &RemoteClient::done, client, [this](bool error) {
            events << (error ? QStringLiteral("done error") : QStringLiteral("done ok"));
            ++doneCount;
        });
        QObject::connect(client, &RemoteClient::listInfo, client, [this](const UrlInfo &info) { entries << info; });
        QObject::connect(client, &RemoteClient::dataTransferProgress, client, [this](qint64 done, qint64 total) {
            progress << qMakePair(done, total);
            if (done == 0 || done == total)
                events << QStringLiteral("progress %1/%2").arg(done).arg(total);
        });
    }

    QStringList entryNames() const
    {
        QStringList names;
        for (const UrlInfo &info : entries)
            names << info.name();
        return names;
    }

    QStringList events;
    QList<UrlInfo> entries;
    QList<QPair<qint64, qint64>> progress;
    int doneCount = 0;
};
