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
    if (!request.contains("\r\n\r\n"))
        return;
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    const QByteArray path = words.size() > 1 ? QByteArray::fromPercentEncoding(words.at(1)) : QByteArray();
    m_requests.append(path);

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
