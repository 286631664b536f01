#include "ftpserver.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace testkit {

FtpServer::FtpServer() = default;

FtpServer::~FtpServer()
{
    if (!m_process)
        return;
    // Closing its input is the server's signal to leave; kill it if it does not.
    m_process->closeWriteChannel();
    if (!m_process->waitForFinished(5000)) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

bool FtpServer::start(const Options &options)
{
    m_options = options;
    if (options.vsftpd) {
        m_options.user = QStringLiteral("anonymous");
        m_options.password = QStringLiteral("podcaster@example.org");
    }
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PYTHONDONTWRITEBYTECODE"), QStringLiteral("1"));
    m_process->setProcessEnvironment(environment);
    QString program;
    QStringList arguments;
    if (options.vsftpd) {
        m_vsftpdDir = std::make_unique<QTemporaryDir>();
        program = QStringLiteral(TESSALY_TESTKIT_DIR "/vsftpd.sh");
        arguments << m_vsftpdDir->path() << options.root;
        if (!options.certificate.isEmpty())
            arguments << options.certificate;
    } else {
        // Debian's interpreter: the one that has pyftpdlib.
        program = QStringLiteral("/usr/bin/python3");
        arguments << QStringLiteral(TESSALY_TESTKIT_DIR "/ftpserver.py") << QStringLiteral("--root") << options.root
                  << QStringLiteral("--user") << options.user << QStringLiteral("--password") << options.password;
        if (!options.certificate.isEmpty())
            arguments << QStringLiteral("--certificate") << options.certificate;
        if (!options.dataCertificate.isEmpty())
            arguments << QStringLiteral("--data-certificate") << options.dataCertificate;
        if (!options.tlsVersion.isEmpty())
            arguments << QStringLiteral("--tls-version") << options.tlsVersion;
        if (!options.sessionTickets)
            arguments << QStringLiteral("--no-session-tickets");
        for (const QString &command : options.unknownCommands)
            arguments << QStringLiteral("--unknown") << command;
    }
    m_process->start(program, arguments);
    if (!m_process->waitForStarted(10000)) {
        m_error = QStringLiteral("cannot run ") + program + QStringLiteral(": ") + m_process->errorString();
        return false;
    }
    while (!m_process->canReadLine()) {
        if (!m_process->waitForReadyRead(20000)) {
            m_error = QStringLiteral("the FTP server did not start (see its messages above)");
            return false;
        }
    }
    const QByteArray line = m_process->readLine().trimmed();
    bool ok = false;
    m_port = line.startsWith("port ") ? line.mid(5).toUShort(&ok) : 0;
    if (!ok || m_port == 0) {
        m_error = QStringLiteral("unexpected output from the FTP server: ") + QString::fromUtf8(line);
        return false;
    }
    return true;
}

bool makeCertificate(const QString &pemPath, const QString &commonName, QString *error, const QString &subjectAltName)
{
    const QString key = pemPath + QStringLiteral(".key");
    const QString certificate = pemPath + QStringLiteral(".crt");
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    // Self-signed, and by default named localhost while the tests connect to 127.0.0.1: it fails
    // verification both as self-signed and for its name, as a shared host's often does.
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
                   QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-days"), QStringLiteral("30"), QStringLiteral("-subj"), QStringLiteral("/O=Tessaly tests/CN=") + commonName,
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=") + subjectAltName, QStringLiteral("-keyout"), key,
                   QStringLiteral("-out"), certificate});
    if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        *error = QStringLiteral("openssl failed: ") + openssl.errorString() + QLatin1Char(' ') + QString::fromLocal8Bit(openssl.readAll());
        return false;
    }
    QFile pem(pemPath);
    QFile keyFile(key);
    QFile certificateFile(certificate);
    if (!pem.open(QIODevice::WriteOnly) || !keyFile.open(QIODevice::ReadOnly) || !certificateFile.open(QIODevice::ReadOnly)
        || pem.write(certificateFile.readAll() + keyFile.readAll()) < 0) {
        *error = QStringLiteral("cannot write ") + pemPath;
        return false;
    }
    return true;
}

} // namespace testkit
