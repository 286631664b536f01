#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QUrl>

namespace testkit {

// A tiny HTTP/1.0 server on 127.0.0.1 that answers requests from a table of routes, by path
// (with the query) whatever the method.
class MiniHttpServer : public QTcpServer
{
    Q_OBJECT
public:
    struct Route
    {
        int status = 200;
        QByteArray body;
        bool silent = false; // accept the request and never answer
    };
    // A request as received: header names in lower case.
    struct Received
    {
        QByteArray method;
        QByteArray path;
        QHash<QByteArray, QByteArray> headers;
        QByteArray body;
    };

    explicit MiniHttpServer(QObject *parent = nullptr);

    void setRoute(const QByteArray &path, const Route &route) { m_routes.insert(path, route); }
    // http://127.0.0.1:<port>
    QUrl baseUrl() const;
    // Decoded paths of the requests received, in order.
    const QList<QByteArray> &requests() const { return m_requests; }
    const QList<Received> &received() const { return m_received; }

private:
    void serve(QTcpSocket *socket);

    QHash<QByteArray, Route> m_routes;
    QList<QByteArray> m_requests;
    QList<Received> m_received;
};

} // namespace testkit
