#include "minihttpserver.h"

#include <QTcpSocket>

namespace testkit {

MiniHttpServer::MiniHttpServer(QObject *parent)
    : QTcpServer(parent)
{
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    listen(QHostAddress::LocalHost);
}

QUrl MiniHttpServer::baseUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(serverPort()));
}

void MiniHttpServer::serve(QTcpSocket *socket)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    const qsizetype headEnd = request.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    Received received;
    const QList<QByteArray> lines = request.left(headEnd).split('\n');
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            received.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
    }
    // The body, when one is announced, is awaited whole.
    const qsizetype length = received.headers.value("content-length").toLongLong();
    if (request.size() < headEnd + 4 + length)
        return;
    const QList<QByteArray> words = lines.first().trimmed().split(' ');
    const QByteArray path = words.size() > 1 ? QByteArray::fromPercentEncoding(words.at(1)) : QByteArray();
    m_requests.append(path);
    received.method = words.first();
    received.path = path;
    received.body = request.mid(headEnd + 4, length);
    m_received.append(received);

    const auto it = m_routes.constFind(path);
    const Route route = it != m_routes.constEnd() ? *it : Route{404, "not found", false};
    if (route.silent)
        return;
    QByteArray answer = "HTTP/1.0 " + QByteArray::number(route.status) + " Status\r\n"
                        + "Content-Type: application/octet-stream\r\n"
                        + "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n\r\n"
                        + route.body;
    socket->write(answer);
    socket->disconnectFromHost();
}

} // namespace testkit
