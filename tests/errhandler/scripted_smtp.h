#pragma once
// A mail server of the test's own that answers each turn of the dialogue
// from a script and keeps every byte it received. It runs on the test's
// thread: the mailer's waits process its events.

#include <QTcpServer>
#include <QTcpSocket>

namespace vostrel_test {

class ScriptedSmtpServer final : public QObject {
public:
    // The greeting, then one reply per command line; the mail's data counts
    // as one turn, ended by the line ".". An empty reply answers nothing;
    // `closeNow` drops the connection instead of answering.
    static inline const QByteArray closeNow = "<close>";

    explicit ScriptedSmtpServer(QByteArrayList replies) : m_replies(std::move(replies))
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            m_client = m_server.nextPendingConnection();
            connect(m_client, &QTcpSocket::readyRead, this, &ScriptedSmtpServer::read);
            answer();
        });
    }

    quint16 port() const { return m_server.serverPort(); }
    bool connected() const { return m_client; }
    QByteArray received;

private:
    void read()
    {
        const qsizetype start = received.size();
        received += m_client->readAll();
        m_pending += received.mid(start);
        for (;;) {
            const QByteArray end = m_inData ? "\r\n.\r\n" : "\r\n";
            const qsizetype at = m_pending.indexOf(end);
            if (at < 0)
                return;
            m_inData = !m_inData && m_pending.left(at) == "DATA";
            m_pending.remove(0, at + end.size());
            answer();
        }
    }
    void answer()
    {
        const QByteArray reply = m_turn < m_replies.size() ? m_replies[m_turn] : QByteArray();
        ++m_turn;
        if (reply == closeNow)
            m_client->disconnectFromHost();
        else if (!reply.isEmpty())
            m_client->write(reply + "\r\n");
    }

    QTcpServer m_server;
    QTcpSocket* m_client = nullptr;
    QByteArrayList m_replies;
    qsizetype m_turn = 0;
    QByteArray m_pending;
    bool m_inData = false;
};

} // namespace vostrel_test
