// Sends files with FtpClient in one connection, for bench/run.sh, or with the client the server
// field names (S3Client for "s3://endpoint") into FOLDER, for bench/s3.sh:
//     ftpbench SERVER PORT USER PASSWORD [--cd FOLDER] FILE...
// Prints whether the session was encrypted ("encrypted yes") and the process's peak resident
// memory ("peak-rss-kib N") when done.
#include <cstdio>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "ftp/ftpclient.h"
#include "remote/remoteaddress.h"
#include "s3/s3client.h"

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
        std::fprintf(stderr, "usage: ftpbench SERVER PORT USER PASSWORD [--cd FOLDER] FILE...\n");
        return 2;
    }

    const remote::Address address = remote::parseServer(args[1]);
    std::unique_ptr<RemoteClient> remote;
    if (address.protocol == remote::Protocol::S3)
        remote = std::make_unique<S3Client>();
    else
        remote = std::make_unique<FtpClient>();
    RemoteClient &client = *remote;
    // The TLS server of the benchmark has a self-signed certificate.
    QObject::connect(&client, &RemoteClient::untrustedCertificate, &client, &RemoteClient::acceptCertificate);
    bool encrypted = false;
    QObject::connect(&client, &RemoteClient::stateChanged, &app, [&](int state) {
        if (state == RemoteClient::LoggedIn)
            encrypted = client.isEncrypted();
    });
    QObject::connect(&client, &RemoteClient::commandFinished, &app, [&](int, bool error) {
        if (error)
            std::fprintf(stderr, "ftpbench: %s\n", qPrintable(client.errorString()));
    });
    QObject::connect(&client, &RemoteClient::done, &app, [&](bool error) { app.exit(error ? 1 : 0); });

    client.connectToHost(address.host, args[2].toUShort());
    client.login(args[3], args[4]);
    qsizetype first = 5;
    if (args.size() > 6 && args[5] == QLatin1String("--cd")) {
        client.cd(args[6]);
        first = 7;
    }
    std::vector<std::unique_ptr<QFile>> files;
    for (qsizetype i = first; i < args.size(); ++i) {
        files.push_back(std::make_unique<QFile>(args[i]));
        client.put(files.back().get(), QFileInfo(args[i]).fileName());
    }
    client.close();

    const int result = app.exec();
    std::printf("encrypted %s\n", encrypted ? "yes" : "no");
    std::printf("peak-rss-kib %s\n", peakResidentKib().constData());
    return result;
}
