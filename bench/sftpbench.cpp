// Sends files with SftpClient in one connection, for bench/sftp.sh:
//     sftpbench HOST PORT USER FOLDER FILE...
// The keys are the user's (~/.ssh); the server's host key is trusted this time, whatever it is.
// Its time and peak memory are measured from outside, as the other clients' are.
#include <cstdio>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "sftp/sftpclient.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6) {
        std::fprintf(stderr, "usage: sftpbench HOST PORT USER FOLDER FILE...\n");
        return 2;
    }

    SftpClient client;
    QObject::connect(&client, &SftpClient::unknownHostKey, &client, [&client] { client.acceptHostKey(false); });
    QObject::connect(&client, &SftpClient::commandFinished, &app, [&](int, bool error) {
        if (error)
            std::fprintf(stderr, "sftpbench: %s\n", qPrintable(client.errorString()));
    });
    QObject::connect(&client, &SftpClient::done, &app, [&](bool error) { app.exit(error ? 1 : 0); });

    client.connectToHost(args[1], args[2].toUShort());
    client.login(args[3], QString());
    client.cd(args[4]);
    std::vector<std::unique_ptr<QFile>> files;
    for (qsizetype i = 5; i < args.size(); ++i) {
        files.push_back(std::make_unique<QFile>(args[i]));
        client.put(files.back().get(), QFileInfo(args[i]).fileName());
    }
    client.close();

    return app.exec();
}
