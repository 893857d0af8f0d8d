// Basic credentials sent with the first request, where the server asked for
// Basic before: only where the network cannot read them, and, refused, never
// sent again.

#include "sync/dav_client.h"

#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <memory>

namespace tovren::sync {
namespace {

// Answers every request with a 401 asking for Basic, noting whether each
// came with credentials.
class BasicAsker {
public:
    explicit BasicAsker(const QHostAddress& address)
    {
        m_listener.listen(address);
        QObject::connect(&m_listener, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_listener.nextPendingConnection())
                answer(socket);
        });
    }
    QUrl url() const
    {
        return QUrl(QString("http://%1:%2/book/")
                        .arg(m_listener.serverAddress().toString())
                        .arg(m_listener.serverPort()));
    }
    const std::vector<bool>& credentials() const { return m_credentials; }

private:
    void answer(QTcpSocket* socket)
    {
        auto read = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, read] {
            *read += socket->readAll();
            for (qsizetype end; (end = read->indexOf("\r\n\r\n")) >= 0; read->remove(0, end + 4)) {
                m_credentials.push_back(read->left(end).contains("\r\nAuthorization: Basic "));
                socket->write("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic "
                              "realm=\"book\"\r\nContent-Length: 0\r\n\r\n");
            }
        });
    }

    QTcpServer m_listener;
    std::vector<bool> m_credentials;
};

QHostAddress networkAddress()
{
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (!address.isLoopback() && address.protocol() == QAbstractSocket::IPv4Protocol)
            return address;
    }
    return {};
}

TEST(DavClient, BasicGoesAtOnceOnlyToThisComputerAndOnlyOnce)
{
    const struct {
        QHostAddress address;
        const char* scheme;
        bool atOnce;
    } rows[] = {
        {QHostAddress::LocalHost, "Basic", true},
        {networkAddress(), "Basic", false}, // clear text across a network
        {QHostAddress::LocalHost, "Digest", false},
        {QHostAddress::LocalHost, "", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.address.toString().toStdString() + ' ' + row.scheme);
        if (row.address.isNull())
            continue; // no network here
        const BasicAsker asker(row.address);
        DavClient client("ilse", "wrong");
        client.setScheme(row.scheme);
        EXPECT_EQ(client.send("GET", asker.url()).status, 401);
        // Sent at once and refused: not again. Otherwise Qt answers the 401 once.
        const std::vector<bool> credentials =
            row.atOnce ? std::vector<bool>{true} : std::vector<bool>{false, true};
        EXPECT_EQ(asker.credentials(), credentials);
        EXPECT_EQ(client.scheme(), "Basic");
    }
}

} // namespace
} // namespace tovren::sync
