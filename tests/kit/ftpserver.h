#pragma once

#include <memory>

#include <QString>
#include <QStringList>

class QProcess;
class QTemporaryDir;

namespace testkit {

// A real FTP server for tests: pyftpdlib, run by Debian's /usr/bin/python3 on a free port of
// 127.0.0.1, with one account whose home is a given folder; or Debian's vsftpd, with anonymous
// uploads into that folder.
//
//     testkit::FtpServer server;
//     QVERIFY2(server.start({root}), qPrintable(server.errorString()));
//     client.connectToHost(server.host(), server.port());
//     client.login(server.user(), server.password());
//
// start() blocks until the server listens (a second or so). The server writes only into its
// root, stops when the object is destroyed, and stops by itself if the test process dies.
class FtpServer
{
    Q_DISABLE_COPY_MOVE(FtpServer)
public:
    struct Options
    {
        QString root; // an existing folder
        QString user = QStringLiteral("podcaster");
        QString password = QStringLiteral("s3cret-pass");
        // A PEM file (certificate and key): the server then offers explicit TLS, and refuses data
        // connections that do not resume the control connection's session, as vsftpd does.
        QString certificate = QString();
        // Another PEM file, presented on the data connections instead.
        QString dataCertificate = QString();
        // pyftpdlib: only this TLS version ("1.2", "1.3"); empty: any.
        QString tlsVersion = QString();
        // pyftpdlib: no TLS 1.3 session ticket, and then no session to resume required.
        bool sessionTickets = true;
        // vsftpd instead of pyftpdlib; user and password are then those of anonymous logins.
        bool vsftpd = false;
        // Commands the server does not know and does not announce, as older servers ("MLSD").
        QStringList unknownCommands = QStringList();
    };

    FtpServer();
    ~FtpServer();

    // False, with errorString() telling why, when the server could not be started.
    bool start(const Options &options);

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    QString user() const { return m_options.user; }
    QString password() const { return m_options.password; }
    QString errorString() const { return m_error; }

private:
    std::unique_ptr<QProcess> m_process;
    std::unique_ptr<QTemporaryDir> m_vsftpdDir;
    Options m_options;
    quint16 m_port = 0;
    QString m_error;
};

// Writes a new self-signed certificate and its key into one PEM file (openssl's command line);
// false, with *error set, when that failed. By default it names localhost, so that it fails
// verification at 127.0.0.1 even when trusted as an authority.
bool makeCertificate(const QString &pemPath, const QString &commonName, QString *error,
                     const QString &subjectAltName = QStringLiteral("DNS:localhost"));

} // namespace testkit
