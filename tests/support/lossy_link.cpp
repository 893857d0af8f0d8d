// The relay reads just enough of HTTP to see where each request starts (its
// head, and a body as long as Content-Length says); responses pass as bytes.
// Our client sends one request at a time on a connection, so whatever the
// server sends after a request belongs to that request's reply.

#include "lossy_link.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace testing_support {

LossyLink::LossyLink(quint16 serverPort) : m_serverPort(serverPort)
{
    QObject::connect(&m_listener, &QTcpServer::newConnection, [this] {
        while (QTcpSocket* client = m_listener.nextPendingConnection())
            relay(client);
    });
    m_listener.listen(QHostAddress::LocalHost);
}

QUrl LossyLink::url(QUrl url) const
{
    url.setPort(m_listener.serverPort());
    return url;
}

void LossyLink::loseReplies(const QByteArray& method, int count)
{
    m_losing[method] += count;
}

void LossyLink::whenRequested(const QByteArray& method, int nth, std::function<void()> action)
{
    m_actions[method] = {m_seen[method] + nth, std::move(action)};
}

int LossyLink::requests(const QByteArray& method) const
{
    const auto seen = m_seen.find(method);
    return seen == m_seen.end() ? 0 : seen->second;
}

int LossyLink::requests() const
{
    int all = 0;
    for (const auto& [method, seen] : m_seen)
        all += seen;
    return all;
}

QList<QByteArray> LossyLink::methodsIn(QByteArray& bytes, qint64& bodyLeft)
{
    QList<QByteArray> methods;
    for (;;) {
        const qint64 skipped = std::min<qint64>(bodyLeft, bytes.size());
        bytes.remove(0, skipped);
        bodyLeft -= skipped;
        const qsizetype end = bytes.indexOf("\r\n\r\n");
        if (bodyLeft > 0 || end < 0)
            return methods;
        const QByteArray head = bytes.left(end);
        bytes.remove(0, end + 4);
        methods << head.left(head.indexOf(' '));
        for (const QByteArray& line : head.split('\n')) {
            if (line.toLower().startsWith("content-length:"))
                bodyLeft = line.mid(15).trimmed().toLongLong();
        }
    }
}

// One client's connection and the server's side of it; it goes with the
// client's socket.
struct Relay : QObject {
    Relay(QTcpSocket* client, quint16 serverPort) : QObject(client), client(client)
    {
        server.connectToHost(QHostAddress::LocalHost, serverPort);
    }

    QTcpSocket* client;
    QTcpSocket server;
    QByteArray read;     // the client's bytes not yet seen as whole requests
    qint64 bodyLeft = 0; // of the request being read
    bool doomed = false; // the reply on its way is to be lost
};

void LossyLink::relay(QTcpSocket* client)
{
    auto* relay = new Relay(client, m_serverPort);
    QObject::connect(client, &QTcpSocket::readyRead, relay, [this, relay] {
        const QByteArray bytes = relay->client->readAll();
        relay->read.append(bytes);
        for (const QByteArray& method : methodsIn(relay->read, relay->bodyLeft)) {
            const int seen = ++m_seen[method];
            if (auto action = m_actions.find(method);
                action != m_actions.end() && action->second.first == seen) {
                const std::function<void()> act = std::move(action->second.second);
                m_actions.erase(action);
                act();
            }
            if (m_losing[method] > 0) {
                --m_losing[method];
                relay->doomed = true;
            }
        }
        // Written before the server's side is connected, it waits in the buffer.
        relay->server.write(bytes);
    });
    QObject::connect(&relay->server, &QTcpSocket::readyRead, relay, [relay] {
        const QByteArray reply = relay->server.readAll();
        if (!relay->doomed) {
            relay->client->write(reply);
            return;
        }
        relay->server.abort();
        relay->client->abort();
    });
    const auto close = [relay] { relay->client->disconnectFromHost(); };
    QObject::connect(&relay->server, &QTcpSocket::disconnected, relay, close);
    QObject::connect(&relay->server, &QTcpSocket::errorOccurred, relay, close);
    QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
}

} // namespace testing_support
