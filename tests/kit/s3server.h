#pragma once

#include <memory>

#include <QJsonValue>
#include <QString>
#include <QStringList>

class QProcess;

namespace testkit {

// A local S3 store for tests: s3rver (from npm, installed by the set-up script) on a free port of
// 127.0.0.1, path-style, its data in a given folder, with the key S3RVER/S3RVER. It does not
// check SigV4 signatures, only the key id and the time.
//
//     testkit::S3Server store;
//     QVERIFY2(store.start(dir, {"show"}), qPrintable(store.errorString()));
//
// boto3() reads back what the program stored, as AWS's own SDK does.
class S3Server
{
    Q_DISABLE_COPY_MOVE(S3Server)
public:
    S3Server();
    ~S3Server();

    // Starts the store, with these buckets made; blocks until it listens.
    bool start(const QString &directory, const QStringList &buckets);

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    QString accessKey() const { return QStringLiteral("S3RVER"); }
    QString secret() const { return QStringLiteral("S3RVER"); }
    QString errorString() const { return m_error; }

    // Runs tests/kit/s3read.py with these arguments against the store, in an environment without
    // AWS_* variables; its JSON output, or an undefined value (errorString() tells why).
    QJsonValue boto3(const QStringList &arguments);

private:
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    QString m_error;
};

} // namespace testkit
