#pragma once
// A loopback relay in front of a test server, for the faults of a network:
// every connection is passed through to the server, except that the replies
// to the next requests of a method are lost (the server has done the
// request; the client sees its connection close), and a test may act when
// the n-th request of a method arrives (kill the server halfway through a
// sync). It runs in the test's own event loop, which the client under test
// spins while it waits for an answer.

#include <QByteArray>
#include <QTcpServer>
#include <QUrl>

#include <functional>
#include <map>

namespace testing_support {

class LossyLink {
public:
    explicit LossyLink(quint16 serverPort);

    // `url` of the server, reached through the link.
    QUrl url(QUrl url) const;

    // The replies to the next `count` requests of `method` never arrive.
    void loseReplies(const QByteArray& method, int count = 1);
    // Runs `action` when the `nth` request of `method` (counted from now)
    // arrives, before the server sees it.
    void whenRequested(const QByteArray& method, int nth, std::function<void()> action);
    // How many requests of `method` have gone through; of every method.
    int requests(const QByteArray& method) const;
    int requests() const;

private:
    void relay(QTcpSocket* client);
    // The method of each request that starts in `bytes`, the client's
    // stream read so far; what is not yet a whole head stays in `bytes`.
    QList<QByteArray> methodsIn(QByteArray& bytes, qint64& bodyLeft);

    quint16 m_serverPort;
    QTcpServer m_listener;
    std::map<QByteArray, int> m_losing;
    std::map<QByteArray, int> m_seen;
    std::map<QByteArray, std::pair<int, std::function<void()>>> m_actions;
};

} // namespace testing_support
