#include "scriptedftpserver.h"

#include <utility>

#include <QTcpSocket>
#include <QTimer>

ScriptedFtpServer::ScriptedFtpServer(QObject *parent, quint16 port)
    : QObject(parent)
{
    connect(&m_control, &QTcpServer::newConnection, this, &ScriptedFtpServer::accept);
    connect(&m_data, &QTcpServer::newConnection, this, &ScriptedFtpServer::acceptData);
    m_control.listen(QHostAddress::LocalHost, port);
    m_data.listen(QHostAddress::LocalHost);

    on("USER", [this](const QByteArray &) { reply("331 Password required."); });
    on("PASS", [this](const QByteArray &) { reply("230 Logged in."); });
    on("FEAT", [this](const QByteArray &) { reply("211 No features."); });
    on("TYPE", [this](const QByteArray &) { reply("200 Type set."); });
    on("EPSV", [this](const QByteArray &) {
        reply("229 Entering Extended Passive Mode (|||" + QByteArray::number(dataPort()) + "|)");
    });
    on("PASV", [this](const QByteArray &) {
        reply("227 Entering Passive Mode (127,0,0,1," + QByteArray::number(dataPort() / 256) + ','
              + QByteArray::number(dataPort() % 256) + ").");
    });
    on("CWD", [this](const QByteArray &) { reply("250 Directory changed."); });
    on("MKD", [this](const QByteArray &) { reply("257 Created."); });
    on("DELE", [this](const QByteArray &) { reply("250 Deleted."); });
    on("NOOP", [this](const QByteArray &) { reply("200 NOOP ok."); });
    on("LIST", [this](const QByteArray &) {
        reply("150 Here comes the listing.");
        sendListing();
    });
    on("STOR", [this](const QByteArray &) {
        reply("150 Ok to send data.");
        withDataConnection([this](QTcpSocket *data) {
            connect(data, &QTcpSocket::readyRead, this, [this, data] { m_received += data->readAll(); });
            connect(data, &QTcpSocket::disconnected, this, [this, data] {
                m_received += data->readAll();
                reply("226 Transfer complete.");
            });
        });
    });
    on("QUIT", [this](const QByteArray &) {
        reply("221 Goodbye.");
        dropControl();
    });
}

void ScriptedFtpServer::reply(const QByteArray &line)
{
    if (m_holding)
        m_held.append(line);
    else if (m_client)
        m_client->write(line + "\r\n");
}

void ScriptedFtpServer::replyLater(const QByteArray &line, int delayMs)
{
    m_holding = true;
    QTimer::singleShot(delayMs, this, [this, line] {
        m_holding = false;
        reply(line);
        for (const QByteArray &held : std::exchange(m_held, {}))
            reply(held);
    });
}

void ScriptedFtpServer::replyInPieces(const QList<QByteArray> &pieces)
{
    for (int i = 0; i < pieces.size(); ++i) {
        const QByteArray piece = pieces[i];
        QTimer::singleShot(10 * i, this, [this, piece] {
            if (m_client) {
                m_client->write(piece);
                m_client->flush();
            }
        });
    }
}

void ScriptedFtpServer::dropControl()
{
    if (m_client)
        m_client->disconnectFromHost();
}

void ScriptedFtpServer::withDataConnection(std::function<void(QTcpSocket *)> action)
{
    if (!m_unusedData.isEmpty())
        action(m_unusedData.takeFirst());
    else
        m_dataWaiters.append(std::move(action));
}

void ScriptedFtpServer::sendListing()
{
    withDataConnection([this](QTcpSocket *data) {
        data->write(m_listing);
        data->disconnectFromHost();
        reply("226 Listing sent.");
    });
}

void ScriptedFtpServer::accept()
{
    m_client = m_control.nextPendingConnection();
    connect(m_client, &QTcpSocket::readyRead, this, &ScriptedFtpServer::readCommands);
    replyInPieces(m_greeting);
}

void ScriptedFtpServer::readCommands()
{
    while (m_client && m_client->canReadLine()) {
        const QByteArray line = m_client->readLine().trimmed();
        m_commands.append(line);
        const qsizetype space = line.indexOf(' ');
        const QByteArray verb = line.first(space < 0 ? line.size() : space).toUpper();
        const QByteArray argument = space < 0 ? QByteArray() : line.sliced(space + 1);
        const auto handler = m_handlers.constFind(verb);
        if (handler != m_handlers.cend())
            (*handler)(argument);
        else
            reply("502 Command not implemented.");
    }
}

void ScriptedFtpServer::acceptData()
{
    QTcpSocket *data = m_data.nextPendingConnection();
    ++m_dataConnections;
    if (m_dataWaiters.isEmpty())
        m_unusedData.append(data);
    else
        m_dataWaiters.takeFirst()(data);
}
