#include "sshserver.h"

#include <csignal>

#include <sys/prctl.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QThread>

#include "testkit.h"

namespace testkit {

SshServer::SshServer() = default;

SshServer::~SshServer()
{
    if (!m_process)
        return;
    // The Python server leaves when its input closes; sshd on SIGTERM.
    m_process->closeWriteChannel();
    m_process->terminate();
    if (!m_process->waitForFinished(5000)) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

QStringList SshServer::closedFiles() const
{
    return QString::fromUtf8(readFile(m_options.folder + QStringLiteral("/closed"))).split(u'\n', Qt::SkipEmptyParts);
}

bool SshServer::release() const
{
    return writeFile(m_options.folder + QStringLiteral("/release"), QByteArray());
}

QString SshServer::hostKeyFile() const
{
    return m_options.folder + QStringLiteral("/host_ed25519.pub");
}

bool SshServer::start(const Options &options)
{
    m_options = options;
    m_hostKey = makeSshKey(options.folder + QStringLiteral("/host_ed25519"), QStringLiteral("ed25519"), QString(), &m_error);
    if (m_hostKey.isEmpty())
        return false;
    // The type and the key, without the comment: as a known_hosts line ends.
    m_hostKey = m_hostKey.split(' ').mid(0, 2).join(' ');
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Gone with the test, however it ends.
    m_process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    return options.python ? startPython() : startOpenSsh();
}

bool SshServer::startOpenSsh()
{
    const QString folder = m_options.folder;
    const QString log = folder + QStringLiteral("/sshd.log");
    m_port = freePort();
    // The configuration the benchmark's sshd has too, with the root folder as the SFTP start.
    QByteArray config = readFile(QStringLiteral(TESSALY_TESTKIT_DIR "/sshd_config.in"));
    config.replace("@PORT@", QByteArray::number(m_port))
        .replace("@HOST_KEY@", folder.toUtf8() + "/host_ed25519")
        .replace("@AUTHORIZED_KEYS@", folder.toUtf8() + "/authorized_keys")
        .replace("@START_FOLDER@", m_options.root.toUtf8());
    if (config.isEmpty() || !writeFile(folder + QStringLiteral("/sshd_config"), config)
        || !writeFile(folder + QStringLiteral("/authorized_keys"), m_options.authorizedKey + '\n')) {
        m_error = QStringLiteral("cannot make the sshd configuration");
        return false;
    }
    // Made at boot on a full system, missing in a bare container.
    QDir().mkpath(QStringLiteral("/run/sshd"));
    m_process->start(QStringLiteral("/usr/sbin/sshd"),
                     {QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"), folder + QStringLiteral("/sshd_config"),
                      QStringLiteral("-E"), log});
    if (!m_process->waitForStarted(10000)) {
        m_error = QStringLiteral("cannot run sshd: ") + m_process->errorString();
        return false;
    }
    const QDeadlineTimer deadline(20000);
    while (!readFile(log).contains("Server listening")) {
        if (deadline.hasExpired() || m_process->state() != QProcess::Running) {
            m_error = QStringLiteral("sshd did not start: ") + QString::fromUtf8(readFile(log));
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}

bool SshServer::startPython()
{
    QStringList arguments{QStringLiteral(TESSALY_TESTKIT_DIR "/sshserver.py"),
                          QStringLiteral("--root"), m_options.root,
                          QStringLiteral("--folder"), m_options.folder,
                          QStringLiteral("--host-key"), m_options.folder + QStringLiteral("/host_ed25519"),
                          QStringLiteral("--user"), m_options.user,
                          QStringLiteral("--password"), m_options.password,
                          QStringLiteral("--fault"), m_options.fault};
    for (const QString &method : std::as_const(m_options.auth))
        arguments << QStringLiteral("--auth") << method;
    m_process->start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!m_process->waitForStarted(10000)) {
        m_error = QStringLiteral("cannot run the SSH server: ") + m_process->errorString();
        return false;
    }
    while (!m_process->canReadLine()) {
        if (!m_process->waitForReadyRead(20000)) {
            m_error = QStringLiteral("the SSH server did not start (see its messages above)");
            return false;
        }
    }
    const QByteArray line = m_process->readLine().trimmed();
    bool ok = false;
    m_port = line.startsWith("port ") ? line.mid(5).toUShort(&ok) : 0;
    if (!ok || m_port == 0) {
        m_error = QStringLiteral("unexpected output from the SSH server: ") + QString::fromUtf8(line);
        return false;
    }
    return true;
}

QByteArray makeSshKey(const QString &path, const QString &type, const QString &passphrase, QString *error)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral(".pub"));
    QProcess keygen;
    keygen.setProcessChannelMode(QProcess::MergedChannels);
    keygen.start(QStringLiteral("ssh-keygen"), {QStringLiteral("-q"), QStringLiteral("-t"), type, QStringLiteral("-N"),
                                                passphrase, QStringLiteral("-C"), QStringLiteral("tessaly-test"),
                                                QStringLiteral("-f"), path});
    if (!keygen.waitForFinished(30000) || keygen.exitStatus() != QProcess::NormalExit || keygen.exitCode() != 0) {
        *error = QStringLiteral("ssh-keygen failed: ") + keygen.errorString() + u' ' + QString::fromLocal8Bit(keygen.readAll());
        return {};
    }
    return readFile(path + QStringLiteral(".pub")).trimmed();
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace testkit
