#pragma once
// A loopback proxy in front of a test server that plays a server refusing a
// card: a PUT whose body holds a marker is answered with a status of the
// test's choosing and never reaches the server; everything else passes. It
// runs in a thread of its own, so that a client blocking on its answer does
// not block it. (Lost replies are support/lossy_link.h's.)

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

#include <future>

namespace sync_tests {

class RefusingProxy : public QThread {
public:
    RefusingProxy(const QUrl& server, const QByteArray& marker, int status)
        : m_server(server), m_marker(marker), m_status(status)
    {
        start();
        m_port = m_listening.get_future().get();
    }
    ~RefusingProxy() override
    {
        quit();
        wait();
    }

    // `url` with the proxy's port in place of the server's.
    QUrl through(QUrl url) const
    {
        url.setPort(m_port);
        return url;
    }

protected:
    void run() override
    {
        QTcpServer listener;
        listener.listen(QHostAddress::LocalHost);
        QObject::connect(&listener, &QTcpServer::newConnection, &listener, [&] {
            while (QTcpSocket* client = listener.nextPendingConnection())
                relay(client);
        });
        m_listening.set_value(listener.serverPort());
        exec();
    }

private:
    void relay(QTcpSocket* client)
    {
        auto* upstream = new QTcpSocket(client);
        auto* pending = new QByteArray;
        QObject::connect(client, &QObject::destroyed, [pending] { delete pending; });
        upstream->connectToHost(m_server.host(), quint16(m_server.port()));
        QObject::connect(client, &QTcpSocket::readyRead, client, [=, this] {
            *pending += client->readAll();
            while (const qsizetype length = requestLength(*pending)) {
                const QByteArray request = pending->left(length);
                pending->remove(0, length);
                if (request.startsWith("PUT ") && request.contains(m_marker))
                    client->write("HTTP/1.1 " + QByteArray::number(m_status)
                                  + " Refused\r\nContent-Length: 0\r\n\r\n");
                else
                    upstream->write(request);
            }
        });
        QObject::connect(upstream, &QTcpSocket::readyRead, client,
                         [=] { client->write(upstream->readAll()); });
        QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        QObject::connect(upstream, &QTcpSocket::disconnected, client,
                         [client] { client->disconnectFromHost(); });
    }

    // The length of the first whole request in `bytes`, or 0.
    static qsizetype requestLength(const QByteArray& bytes)
    {
        const qsizetype head = bytes.indexOf("\r\n\r\n");
        if (head < 0)
            return 0;
        qsizetype body = 0;
        for (const QByteArray& line : bytes.left(head).split('\n')) {
            if (line.toLower().startsWith("content-length:"))
                body = line.mid(15).trimmed().toLongLong();
        }
        return bytes.size() >= head + 4 + body ? head + 4 + body : 0;
    }

    QUrl m_server;
    QByteArray m_marker;
    int m_status;
    std::promise<quint16> m_listening;
    quint16 m_port = 0;
};

} // namespace sync_tests
