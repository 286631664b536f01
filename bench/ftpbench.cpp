// Sends files with FtpClient in one connection, for bench/run.sh:
//     ftpbench HOST PORT USER PASSWORD FILE...
// Prints whether the session was encrypted ("encrypted yes") and the process's peak resident
// memory ("peak-rss-kib N") when done.
#include <cstdio>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "ftp/ftpclient.h"

namespace {

QByteArray peakResidentKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return "?";
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0);
    }
    return "?";
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6) {
        std::fprintf(stderr, "usage: ftpbench HOST PORT USER PASSWORD FILE...\n");
        return 2;
    }

    FtpClient client;
    // The TLS server of the benchmark has a self-signed certificate.
    QObject::connect(&client, &FtpClient::untrustedCertificate, &client, &FtpClient::acceptCertificate);
    bool encrypted = false;
    QObject::connect(&client, &FtpClient::stateChanged, &app, [&](int state) {
        if (state == FtpClient::LoggedIn)
            encrypted = client.isEncrypted();
    });
    QObject::connect(&client, &FtpClient::commandFinished, &app, [&](int, bool error) {
        if (error)
            std::fprintf(stderr, "ftpbench: %s\n", qPrintable(client.errorString()));
    });
    QObject::connect(&client, &FtpClient::done, &app, [&](bool error) { app.exit(error ? 1 : 0); });

    client.connectToHost(args[1], args[2].toUShort());
    client.login(args[3], args[4]);
    std::vector<std::unique_ptr<QFile>> files;
    for (qsizetype i = 5; i < args.size(); ++i) {
        files.push_back(std::make_unique<QFile>(args[i]));
        client.put(files.back().get(), QFileInfo(args[i]).fileName());
    }
    client.close();

    const int result = app.exec();
    std::printf("encrypted %s\n", encrypted ? "yes" : "no");
    std::printf("peak-rss-kib %s\n", peakResidentKib().constData());
    return result;
}
