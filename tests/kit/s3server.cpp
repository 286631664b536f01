#include "s3server.h"

#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

namespace testkit {

namespace {

// The tools the tests start must not reach a real account, nor take this machine's CA bundle.
QProcessEnvironment withoutAws()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : environment.keys()) {
        if (name.startsWith(QLatin1String("AWS_")))
            environment.remove(name);
    }
    environment.insert(QStringLiteral("PYTHONDONTWRITEBYTECODE"), QStringLiteral("1"));
    return environment;
}

} // namespace

S3Server::S3Server() = default;

S3Server::~S3Server()
{
    if (!m_process)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(5000)) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

bool S3Server::start(const QString &directory, const QStringList &buckets)
{
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment environment = withoutAws();
    // Its continuation tokens are DES-encrypted, which OpenSSL 3 keeps among the legacy ciphers.
    environment.insert(QStringLiteral("NODE_OPTIONS"), QStringLiteral("--openssl-legacy-provider"));
    m_process->setProcessEnvironment(environment);
    QStringList arguments{QStringLiteral("-d"), directory, QStringLiteral("-a"), host(), QStringLiteral("-p"),
                          QStringLiteral("0"), QStringLiteral("--no-vhost-buckets"), QStringLiteral("--silent")};
    for (const QString &bucket : buckets)
        arguments << QStringLiteral("--configure-bucket") << bucket;
    m_process->start(QStringLiteral(TESSALY_S3RVER), arguments);
    if (!m_process->waitForStarted(10000)) {
        m_error = QStringLiteral("cannot run " TESSALY_S3RVER " (scripts/setup.sh installs it): ") + m_process->errorString();
        return false;
    }
    static const QRegularExpression listening(QStringLiteral("listening on [^:\\s]+:(\\d+)"));
    QByteArray output;
    while (true) {
        const QRegularExpressionMatch match = listening.match(QString::fromUtf8(output));
        if (match.hasMatch()) {
            m_port = match.captured(1).toUShort();
            return true;
        }
        if (!m_process->waitForReadyRead(20000)) {
            m_error = QStringLiteral("s3rver did not start: ") + QString::fromUtf8(output);
            return false;
        }
        output += m_process->readAllStandardOutput();
    }
}

QJsonValue S3Server::boto3(const QStringList &arguments)
{
    QProcess python;
    python.setProcessEnvironment(withoutAws());
    python.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral(TESSALY_TESTKIT_DIR "/s3read.py"),
                             QStringLiteral("http://%1:%2").arg(host()).arg(m_port)}
                     + arguments);
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        m_error = QStringLiteral("boto3 failed: ") + QString::fromUtf8(python.readAllStandardError());
        return QJsonValue(QJsonValue::Undefined);
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput())[QLatin1String("result")];
}

} // namespace testkit
