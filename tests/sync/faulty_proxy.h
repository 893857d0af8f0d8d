#pragma once
// A loopback proxy in front of a test server that plays the network's and
// the server's faults on PUT requests: the answer to one PUT lost after the
// server stored the card (the connection closed instead), or a PUT whose
// body holds a marker refused with a status of the proxy's choosing. It runs
// in a thread of its own, so that a client blocking on its answer does not
// block it.

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <future>

namespace sync_tests {

class FaultyProxy : public QThread {
public:
    explicit FaultyProxy(const QUrl& server) : m_server(server)
    {
        start();
        m_port = m_listening.get_future().get();
    }
    ~FaultyProxy() override
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
    // The next PUT is stored by the server, and its answer never arrives.
    void loseNextPutAnswer() { m_loseNext = true; }
    // A PUT whose body holds `marker` is answered with `status`, unsent.
    void refusePutsHolding(const QByteArray& marker, int status)
    {
        m_marker = marker;
        m_status = status;
    }
    int putsSeen() const { return m_puts; }

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
        auto* losing = new bool(false);
        QObject::connect(client, &QObject::destroyed, [pending, losing] {
            delete pending;
            delete losing;
        });
        upstream->connectToHost(m_server.host(), quint16(m_server.port()));
        QObject::connect(client, &QTcpSocket::readyRead, client, [=, this] {
            *pending += client->readAll();
            while (const qsizetype length = requestLength(*pending)) {
                const QByteArray request = pending->left(length);
                pending->remove(0, length);
                if (request.startsWith("PUT ")) {
                    ++m_puts;
                    if (!m_marker.isEmpty() && request.contains(m_marker)) {
                        client->write("HTTP/1.1 " + QByteArray::number(m_status)
                                      + " Refused\r\nContent-Length: 0\r\n\r\n");
                        continue;
                    }
                    *losing = m_loseNext.exchange(false);
                }
                upstream->write(request);
            }
        });
        QObject::connect(upstream, &QTcpSocket::readyRead, client, [=] {
            const QByteArray answer = upstream->readAll();
            if (*losing) {
                client->abort();
                client->deleteLater();
                return;
            }
            client->write(answer);
        });
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
    std::promise<quint16> m_listening;
    quint16 m_port = 0;
    std::atomic<bool> m_loseNext{false};
    QByteArray m_marker;
    int m_status = 0;
    std::atomic<int> m_puts{0};
};

} // namespace sync_tests
