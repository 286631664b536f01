#pragma once

#include <memory>

#include <QByteArray>
#include <QString>
#include <QStringList>

class QProcess;

namespace testkit {

// A real SSH server with SFTP for tests, on a free port of 127.0.0.1, whose current folder
// after the login is a given root: Debian's OpenSSH sshd (root logs in with a key the test
// authorizes), or a paramiko server run by /usr/bin/python3 (one account with a password,
// faults on demand, see sshserver.py).
//
//     testkit::SshServer server;
//     QVERIFY2(server.start({root, dir}), qPrintable(server.errorString()));
//     client.connectToHost(server.host(), server.port());
//
// start() blocks until the server listens. Its configuration and ed25519 host key are written
// into folder; it stops when the object is destroyed, and when the test process dies.
class SshServer
{
    Q_DISABLE_COPY_MOVE(SshServer)
public:
    struct Options
    {
        QString root; // an existing folder
        QString folder; // an existing folder for the server's own files
        bool python = false;
        // OpenSSH: the public key (a .pub file's line) that may log in as root.
        QByteArray authorizedKey = QByteArray();
        // Python: the account, the ways it may log in ("password", "keyboard-interactive"), and a fault.
        QString user = QStringLiteral("podcaster");
        QString password = QStringLiteral("s3cret-pass");
        QStringList auth = QStringList{QStringLiteral("password")};
        QString fault = QString();
    };

    SshServer();
    ~SshServer();

    // False, with errorString() telling why, when the server could not be started.
    bool start(const Options &options);

    bool python() const { return m_options.python; }
    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    QString user() const { return m_options.python ? m_options.user : QStringLiteral("root"); }
    QString password() const { return m_options.python ? m_options.password : QString(); }
    // The host key, "ssh-ed25519 AAAA...", and its .pub file.
    QByteArray hostKey() const { return m_hostKey; }
    QString hostKeyFile() const;
    // Python: the files closed by a CLOSE request so far, in order ("hold": writes go on after release()).
    QStringList closedFiles() const;
    bool release() const;
    QString errorString() const { return m_error; }

private:
    bool startOpenSsh();
    bool startPython();

    std::unique_ptr<QProcess> m_process;
    Options m_options;
    quint16 m_port = 0;
    QByteArray m_hostKey;
    QString m_error;
};

// Runs ssh-keygen: a new key of type ("ed25519", "ecdsa", "rsa") at path and path.pub,
// encrypted with passphrase unless it is empty. Its public line; empty, with *error set, when
// that failed.
QByteArray makeSshKey(const QString &path, const QString &type, const QString &passphrase, QString *error);

// A port of 127.0.0.1 on which nothing listens.
quint16 freePort();

} // namespace testkit
