// Secure connections trust the system's authorities and the one that
// SSL_CERT_FILE names, check the server's name and dates, and tell a refusal
// in a sentence: through a socket (as mail goes) and through HTTPS (as the
// contacts server is reached), to a TLS server of the test's own.

#include "platform/tls_trust.h"
#include "support/test_ca.h"
#include "support/test_helpers.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using testing_support::TestCa;

// A server on a loopback port that shows `identity` and answers every
// request with a short HTTP response.
class TlsServer {
public:
    explicit TlsServer(const TestCa::Identity& identity)
    {
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        config.setLocalCertificateChain(QSslCertificate::fromPath(identity.certificate));
        config.setPrivateKey(QSslKey(testing_support::readBytes(identity.key), QSsl::Ec));
        m_server.setSslConfiguration(config);
        // A TLS server queues a connection once its handshake is done.
        QObject::connect(&m_server, &QTcpServer::pendingConnectionAvailable, [this] {
            while (QTcpSocket* peer = m_server.nextPendingConnection()) {
                QObject::connect(peer, &QTcpSocket::readyRead, peer, [peer] {
                    if (!peer->readAll().contains("\r\n\r\n"))
                        return;
                    peer->write(
                        "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
                    peer->disconnectFromHost();
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    QSslServer m_server;
};

// Runs the event loop until `finished` fires or ten seconds have passed.
template <typename Sender, typename Signal>
void waitFor(const Sender* sender, Signal finished)
{
    QEventLoop loop;
    QObject::connect(sender, finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
}

// What a client was told: std::nullopt when the connection was secured.
using Client = std::function<std::optional<QString>(const QString& host, quint16 port)>;

std::optional<QString> throughSocket(const QString& host, quint16 port)
{
    QSslSocket socket;
    QEventLoop loop;
    QObject::connect(&socket, &QSslSocket::encrypted, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QSslSocket::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    socket.connectToHostEncrypted(host, port);
    loop.exec();
    if (socket.isEncrypted())
        return std::nullopt;
    return platform::tlsFailure(socket, host);
}

std::optional<QString> throughHttps(const QString& host, quint16 port)
{
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(
        manager.get(QNetworkRequest(QUrl(QString("https://%1:%2/").arg(host).arg(port)))));
    platform::keepTlsErrors(*reply);
    waitFor(reply.get(), &QNetworkReply::finished);
    if (reply->error() == QNetworkReply::NoError && reply->readAll() == "ok")
        return std::nullopt;
    return platform::tlsFailure(*reply);
}

TEST(TlsTrust, TheTestAuthorityIsTrustedAndEveryFaultToldPlainly)
{
    QTemporaryDir folder;
    const TestCa ca(folder.path());
    ASSERT_EQ(ca.error(), QString());
    qputenv("SSL_CERT_FILE", QFile::encodeName(ca.bundle()));
    platform::trustCertificateFile();
    platform::trustCertificateFile();
    // The system's authorities stay trusted beside the test's, and only once.
    const QList<QSslCertificate> trusted =
        QSslConfiguration::defaultConfiguration().caCertificates();
    const QList<QSslCertificate> system = QSslConfiguration::systemCaCertificates();
    EXPECT_EQ(trusted.size(), system.size() + 1);
    EXPECT_TRUE(trusted.contains(QSslCertificate::fromPath(ca.bundle()).value(0)));
    if (!system.isEmpty())
        EXPECT_TRUE(trusted.contains(system.first()));

    const QString untrusted = "The certificate of localhost comes from an authority this "
                              "computer does not trust.";
    const struct {
        TestCa::Server server;
        const char* host;
        std::optional<QString> told;
    } rows[] = {
        {TestCa::Server::Trusted, "localhost", std::nullopt},
        {TestCa::Server::Trusted, "127.0.0.1", std::nullopt},
        {TestCa::Server::OtherName, "localhost",
         "The certificate of localhost is for another name (other.example.org)."},
        {TestCa::Server::Expired, "localhost", "The certificate of localhost has expired."},
        {TestCa::Server::UnknownAuthority, "localhost", untrusted},
    };
    for (const auto& [name, client] : {std::pair<const char*, Client>{"socket", throughSocket},
                                       std::pair<const char*, Client>{"https", throughHttps}}) {
        for (const auto& row : rows) {
            const TlsServer server(ca.server(row.server));
            EXPECT_EQ(client(row.host, server.port()), row.told)
                << name << " to " << row.host << " showing " << int(row.server);
        }
        // Nothing listens: not a fault of security, so nothing is said of it.
        quint16 closed = 0;
        {
            const TlsServer gone(ca.server(TestCa::Server::Trusted));
            closed = gone.port();
        }
        EXPECT_EQ(client("localhost", closed), QString()) << name;
    }
}

} // namespace
