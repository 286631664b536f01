#include "ftpserver.h"

#include <QProcess>
#include <QProcessEnvironment>

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
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PYTHONDONTWRITEBYTECODE"), QStringLiteral("1"));
    m_process->setProcessEnvironment(environment);
    // Debian's interpreter: the one that has pyftpdlib.
    m_process->start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral(TESSALY_TESTKIT_DIR "/ftpserver.py"), QStringLiteral("--root"), options.root,
                      QStringLiteral("--user"), options.user, QStringLiteral("--password"), options.password});
    if (!m_process->waitForStarted(10000)) {
        m_error = QStringLiteral("cannot run /usr/bin/python3: ") + m_process->errorString();
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

} // namespace testkit
