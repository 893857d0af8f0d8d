#include "smtp_client.h"

#include "mime_message.h"
#include "tls_trust.h"

#include <QElapsedTimer>
#include <QHostInfo>
#include <QSslSocket>

namespace platform {
namespace {

QString replyText(const QByteArrayList& lines)
{
    return QString::fromUtf8(lines.join(' ')).simplified();
}

// "host:port", with brackets round an IPv6 address.
QString serverName(const MailServer& server)
{
    const QString host =
        server.host.contains(QLatin1Char(':')) ? '[' + server.host + ']' : server.host;
    return host + ':' + QString::number(server.port);
}

QByteArray base64(const QByteArray& bytes)
{
    return bytes.toBase64() + "\r\n";
}

// This machine's name in EHLO; a name the server cannot check is fine.
QByteArray ownName()
{
    const QString name = QHostInfo::localHostName();
    return name.isEmpty() ? QByteArray("localhost") : name.toUtf8();
}

} // namespace

quint16 defaultPort(MailSecurity security)
{
    switch (security) {
    case MailSecurity::None:
        return 25;
    case MailSecurity::StartTls:
        return 587;
    case MailSecurity::Tls:
        return 465;
    }
    return 587;
}

SmtpSession::SmtpSession(qint64 waitLimitMs) : m_waitLimitMs(waitLimitMs) {}

SmtpSession::~SmtpSession()
{
    close();
}

MailResult SmtpSession::open(const MailServer& server, const QString& password)
{
    return open(server, [password] { return std::optional<QString>(password); });
}

MailResult SmtpSession::open(const MailServer& server, const PasswordSource& password)
{
    m_server = server;
    m_socket = std::make_unique<QSslSocket>();
    m_socket->setPeerVerifyName(server.host);
    const bool tls = server.security == MailSecurity::Tls;
    if (tls)
        m_socket->connectToHostEncrypted(server.host, server.port);
    else
        m_socket->connectToHost(server.host, server.port);
    if (!m_socket->waitForConnected(int(m_waitLimitMs)))
        return connectionLost();
    // Each command waits for its reply, so a short line must leave at once
    // (the option takes hold only on a connected socket).
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (tls && !encryptionUp())
        return connectionLost();
    if (const Reply hello = readReply(); hello.code != 220)
        return refused(QStringLiteral("The server did not greet"), hello);
    if (MailResult greeted = greet(); greeted.number != 0)
        return greeted;
    if (server.security == MailSecurity::StartTls) {
        if (MailResult secured = startTls(); secured.number != 0)
            return secured;
    }
    return server.user.isEmpty() ? MailResult{} : signIn(password);
}

MailResult SmtpSession::greet()
{
    const Reply ehlo = command("EHLO " + ownName() + "\r\n");
    if (ehlo.code != 250)
        return refused(QStringLiteral("The server refused the greeting"), ehlo);
    m_offers.clear();
    for (const QByteArray& offer : ehlo.lines.mid(1))
        m_offers << offer.trimmed().toUpper();
    return {};
}

bool SmtpSession::offered(const QByteArray& keyword) const
{
    return m_offers.contains(keyword);
}

MailResult SmtpSession::startTls()
{
    if (!offered("STARTTLS"))
        return {err::MailNotSent,
                QStringLiteral("The server %1 offers no encryption (STARTTLS); nothing was sent. "
                               "Choose TLS or another server.")
                    .arg(serverName(m_server))};
    if (const Reply ready = command("STARTTLS\r\n"); ready.code != 220)
        return refused(QStringLiteral("The server refused to start encryption"), ready);
    m_socket->startClientEncryption();
    if (!encryptionUp())
        return connectionLost();
    // What the server offered before encryption counts for nothing now.
    return greet();
}

MailResult SmtpSession::signIn(const PasswordSource& password)
{
    const bool mayTravel = m_socket->isEncrypted() || m_socket->peerAddress().isLoopback();
    if (!mayTravel)
        return {err::MailNotSent,
                QStringLiteral("The connection to %1 is not encrypted, so the password was not "
                               "sent. Choose STARTTLS or TLS.")
                    .arg(serverName(m_server))};
    QByteArrayList methods;
    for (const QByteArray& offer : m_offers) {
        if (offer.startsWith("AUTH "))
            methods = offer.mid(5).simplified().split(' ');
    }
    if (!methods.contains("PLAIN") && !methods.contains("LOGIN"))
        return {err::MailNotSent,
                QStringLiteral("The server %1 offers no sign-in that Tovren knows (PLAIN or "
                               "LOGIN).")
                    .arg(serverName(m_server))};
    const std::optional<QString> given = password();
    if (!given)
        return {err::MailNotSent, QStringLiteral("No password was given.")};
    const QByteArray user = m_server.user.toUtf8(), secret = given->toUtf8();
    Reply reply;
    if (methods.contains("PLAIN")) {
        reply = command("AUTH PLAIN " + base64('\0' + user + '\0' + secret));
    } else {
        reply = command("AUTH LOGIN\r\n");
        if (reply.code == 334)
            reply = command(base64(user));
        if (reply.code == 334)
            reply = command(base64(secret));
    }
    if (reply.code == 235)
        return {};
    MailResult result = refused(QStringLiteral("Sign-in refused for %1").arg(m_server.user), reply);
    if (reply.code != 0)
        result.number = err::SignInRefused;
    return result;
}

MailResult SmtpSession::transfer(const QByteArray& mailFrom, const QList<QByteArray>& rcptTo,
                                 const QByteArray& data)
{
    return transfer(mailFrom, rcptTo, [&data] { return data; });
}

MailResult SmtpSession::transfer(const QByteArray& mailFrom, const QList<QByteArray>& rcptTo,
                                 const std::function<QByteArray()>& data)
{
    QByteArrayList envelope = QByteArrayList{mailFrom} + rcptTo;
    envelope << "DATA\r\n";
    const qsizetype last = envelope.size() - 1;
    const auto refusal = [&](qsizetype line, const Reply& reply) {
        if (line == 0)
            return refused(QStringLiteral("The server refused the sender"), reply);
        if (line < last)
            return refused(
                QStringLiteral("The server refused the recipient %1")
                    .arg(QString::fromUtf8(envelope[line].mid(envelope[line].indexOf(':') + 1))
                             .trimmed()),
                reply);
        return refused(QStringLiteral("The server refused the message"), reply);
    };
    // Where the server takes pipelining (RFC 2920) the envelope leaves in one
    // write and its replies are read after: one wait instead of one a line.
    // The server reads the first line while the message is made.
    const bool pipelined = offered("PIPELINING");
    if (!put(pipelined ? envelope.join() : envelope[0]))
        return connectionLost();
    const QByteArray message = data() + ".\r\n";
    std::optional<MailResult> failure;
    for (qsizetype line = 0; line <= last && !(failure && !pipelined); ++line) {
        const Reply reply = pipelined || line == 0 ? readReply() : command(envelope[line]);
        if (reply.code == 0)
            return connectionLost();
        const bool taken =
            line == last ? reply.code == 354 : reply.code == 250 || (line > 0 && reply.code == 251);
        if (!taken && !failure)
            failure = refusal(line, reply);
        if (failure && line == last && reply.code == 354) {
            // The envelope was refused, yet DATA taken: ending the data would
            // deliver an empty message, so the connection is dropped instead.
            m_socket.reset();
            return *failure;
        }
    }
    if (!failure) {
        const Reply reply = command(message);
        if (reply.code == 0)
            return connectionLost();
        if (reply.code == 250)
            return {};
        failure = refusal(last, reply);
    }
    // A refusal resets the transaction, so the next message may follow.
    command("RSET\r\n");
    return *failure;
}

MailResult SmtpSession::send(const MailMessage& message)
{
    // An address that is not one plain address could add a command.
    if (const MailResult checked =
            checkAddresses(QStringList(message.to) << message.fromAddress.trimmed());
        checked.number != 0)
        return checked;
    QList<QByteArray> rcptTo;
    for (const QString& address : message.to)
        rcptTo << "RCPT TO:<" + address.toUtf8() + ">\r\n";
    return transfer("MAIL FROM:<" + message.fromAddress.trimmed().toUtf8() + ">\r\n", rcptTo,
                    [&message] { return smtpData(message); });
}

void SmtpSession::close()
{
    if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState) {
        command("QUIT\r\n");
        m_socket->disconnectFromHost();
    }
    m_socket.reset();
}

bool SmtpSession::put(const QByteArray& lines)
{
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState
        || m_socket->write(lines) < 0)
        return false;
    // Out at once: else the bytes wait for the reply's wait to find the
    // socket writable, a wake-up more for every line.
    m_socket->flush();
    return true;
}

SmtpSession::Reply SmtpSession::command(const QByteArray& line)
{
    return put(line) ? readReply() : Reply{};
}

SmtpSession::Reply SmtpSession::readReply()
{
    QElapsedTimer clock;
    clock.start();
    Reply reply;
    for (;;) {
        while (!m_socket->canReadLine()) {
            const qint64 left = m_waitLimitMs - clock.elapsed();
            if (left <= 0 || !m_socket->waitForReadyRead(int(left)))
                return {};
        }
        const QByteArray line = m_socket->readLine().trimmed();
        bool ok = false;
        const int code = line.left(3).toInt(&ok);
        if (!ok || (reply.code != 0 && code != reply.code))
            return {};
        reply.code = code;
        reply.lines << line.mid(4);
        if (line.size() < 4 || line[3] != '-')
            return reply;
    }
}

bool SmtpSession::encryptionUp()
{
    return m_socket->waitForEncrypted(int(m_waitLimitMs));
}

MailResult SmtpSession::refused(const QString& what, const Reply& reply)
{
    if (reply.code == 0)
        return connectionLost();
    return {err::MailNotSent, QStringLiteral("%1 (%2: %3 %4).")
                                  .arg(what, serverName(m_server))
                                  .arg(reply.code)
                                  .arg(replyText(reply.lines))};
}

MailResult SmtpSession::connectionLost() const
{
    const QString where = serverName(m_server);
    if (!m_socket)
        return {err::MailNotSent,
                QStringLiteral("The connection to the mail server %1 was closed.").arg(where)};
    if (const QString refused = tlsFailure(*m_socket, m_server.host); !refused.isEmpty())
        return {err::MailNotSent, refused + QStringLiteral(" Nothing was sent.")};
    QString text;
    switch (m_socket->error()) {
    case QAbstractSocket::HostNotFoundError:
        text = QStringLiteral("The name of the mail server %1 could not be resolved: %2.")
                   .arg(m_server.host, m_socket->errorString());
        break;
    case QAbstractSocket::UnknownSocketError:
    case QAbstractSocket::SocketTimeoutError:
        text = QStringLiteral("The mail server %1 did not answer within %2 seconds.")
                   .arg(where)
                   .arg(double(m_waitLimitMs) / 1000);
        break;
    default:
        text = QStringLiteral("No connection to the mail server %1: %2.")
                   .arg(where, m_socket->errorString());
    }
    return {err::MailNotSent, text};
}

} // namespace platform
