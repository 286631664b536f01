#pragma once

#include <functional>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>

class QTcpSocket;

// A small FTP server on 127.0.0.1 that plays a script, for what a real server will not do on
// demand. By default it answers a plain session: greeting, login, FEAT without features, TYPE,
// EPSV/PASV, CWD, MKD, DELE, NOOP, LIST (with listing()), STOR (kept in received()) and QUIT. A test
// replaces the answer to any verb with on().
class ScriptedFtpServer : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(const QByteArray &argument)>;

    // Listens on port, or on a free one.
    explicit ScriptedFtpServer(QObject *parent = nullptr, quint16 port = 0);

    quint16 port() const { return m_control.serverPort(); }
    quint16 dataPort() const { return m_data.serverPort(); }

    // Written piece by piece, a few milliseconds apart, when a client connects.
    void setGreeting(const QList<QByteArray> &pieces) { m_greeting = pieces; }
    void on(const QByteArray &verb, Handler handler) { m_handlers.insert(verb, std::move(handler)); }
    void setListing(const QByteArray &listing) { m_listing = listing; }

    // Control connection.
    void reply(const QByteArray &line);
    // Sends line after delayMs; replies given meanwhile follow it, as from a server that answers
    // in order.
    void replyLater(const QByteArray &line, int delayMs);
    void replyInPieces(const QList<QByteArray> &pieces);
    void dropControl();
    // Runs action with the next data connection accepted and not used yet.
    void withDataConnection(std::function<void(QTcpSocket *)> action);
    // Sends the listing on the data connection, closes it, then replies 226.
    void sendListing();

    const QList<QByteArray> &commands() const { return m_commands; }
    const QByteArray &received() const { return m_received; }
    int dataConnections() const { return m_dataConnections; }

private:
    void accept();
    void readCommands();
    void acceptData();

    QTcpServer m_control;
    QTcpServer m_data;
    QPointer<QTcpSocket> m_client;
    QList<QTcpSocket *> m_unusedData;
    QList<std::function<void(QTcpSocket *)>> m_dataWaiters;
    QList<QByteArray> m_greeting{"220 Scripted server ready.\r\n"};
    QHash<QByteArray, Handler> m_handlers;
    QByteArray m_listing;
    QList<QByteArray> m_held; // replies behind one sent later
    bool m_holding = false;
    QList<QByteArray> m_commands;
    QByteArray m_received;
    int m_dataConnections = 0;
};
