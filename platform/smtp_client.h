#pragma once
// Mail submission through a person's own mail account: one SMTP connection
// (plain, STARTTLS, or TLS from the first byte) that signs in once and then
// carries any number of messages. Each wait is blocking with a time limit.
// The certificate is checked against the system's store and the server's
// name; a failure ends the session, it is never passed over. The password
// never travels before encryption is up, except to a server on this very
// machine that the person chose to reach without security.

#include "mail_transport.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QSslSocket;

namespace platform {

namespace err {
constexpr qint32 SignInRefused = 441; // the server refused the user name or password
}

enum class MailSecurity { None, StartTls, Tls };

struct MailServer {
    QString host;
    quint16 port = 587;
    MailSecurity security = MailSecurity::StartTls;
    QString user = {}; // no sign-in when empty
};

// The usual port of each security mode: 25, 587, 465.
quint16 defaultPort(MailSecurity security);

class SmtpSession {
public:
    explicit SmtpSession(qint64 waitLimitMs = 30000);
    ~SmtpSession(); // says QUIT when still open

    // Where the password comes from: asked only once the connection is
    // secure, so a server that is not the one named never prompts it;
    // nothing when the person gave none.
    using PasswordSource = std::function<std::optional<QString>()>;

    // Connects, greets, secures the connection and signs in when the server
    // names a user. A failure says plainly what failed: the name, the
    // connection, the certificate, the sign-in.
    MailResult open(const MailServer& server, const PasswordSource& password);
    MailResult open(const MailServer& server, const QString& password);

    // One message: `mailFrom` and each of `rcptTo` are whole command lines
    // (CR LF included), `data` the message with CR LF line ends, dots
    // already doubled where a line begins with one. A refusal resets the
    // transaction, so the next message may follow on the same connection;
    // but where a server that takes pipelining accepted DATA after refusing
    // the envelope, the connection ends, so that no empty message goes out.
    MailResult transfer(const QByteArray& mailFrom, const QList<QByteArray>& rcptTo,
                        const QByteArray& data);
    // A MIME message (mime_message.h) from `message.fromAddress`.
    MailResult send(const MailMessage& message);

    // QUIT, and the server's goodbye awaited.
    void close();

private:
    struct Reply {
        int code = 0;
        QByteArrayList lines; // the text after each "NNN-" or "NNN "
    };
    // `transfer` with the data made once the first line has left.
    MailResult transfer(const QByteArray& mailFrom, const QList<QByteArray>& rcptTo,
                        const std::function<QByteArray()>& data);
    bool put(const QByteArray& lines); // false when the connection is gone
    Reply command(const QByteArray& line);
    Reply readReply();
    MailResult refused(const QString& what, const Reply& reply);
    MailResult connectionLost() const;
    MailResult greet();
    bool offered(const QByteArray& keyword) const; // an EHLO keyword, in capitals
    MailResult startTls();
    MailResult signIn(const PasswordSource& password);
    bool encryptionUp();

    qint64 m_waitLimitMs;
    std::unique_ptr<QSslSocket> m_socket;
    MailServer m_server;
    QByteArrayList m_offers; // the server's EHLO lines, trimmed, in capitals
};

} // namespace platform
