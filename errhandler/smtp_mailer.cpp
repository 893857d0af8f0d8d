#include "smtp_mailer.h"

#include "platform/mail_sign_in.h"
#include "platform/prompts.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace Vostrel {
namespace {

const QString crlf = QStringLiteral("\r\n");
const QString failureTitle = QStringLiteral("SMTP Error");
const QString timeoutTitle = QStringLiteral("SMTP Timeout");
constexpr qint64 defaultWaitLimitMs = 50000;

// Tests and slow links may set their own limit, in seconds.
qint64 waitLimitMs()
{
    bool ok = false;
    const double seconds = qEnvironmentVariable("VOSTREL_SMTP_WAIT").toDouble(&ok);
    return ok && seconds > 0 ? qint64(seconds * 1000) : defaultWaitLimitMs;
}

void tellFailure(const QString& text)
{
    platform::MsgBox(text, platform::Buttons::OK, platform::Icon::Critical, failureTitle);
}

void tellSent()
{
    platform::MsgBox(QStringLiteral("Composed Error Email in SMTP."), platform::Buttons::OK,
                     platform::Icon::None, QStringLiteral("Operation Successful"));
}

} // namespace

SmtpMailer::SmtpMailer(QObject* parent) : QObject(parent), Winsock1(new QTcpSocket(this))
{
    connect(Winsock1, &QTcpSocket::readyRead, this, &SmtpMailer::Winsock1_DataArrival);
}

void SmtpMailer::SendEmail(const QString& MailServerName, const QString& FromName,
                           const QString& FromEmailAddress, const QString& ToName,
                           const QString& ToEMailAddress, const QString& EmailSubject,
                           const QString& EmailBodyofMessage, bool secure)
{
    const SmtpAddresses addresses{FromName, FromEmailAddress, ToName, ToEMailAddress, EmailSubject};
    const QString unsafe = valueWithLineBreak(MailServerName, addresses);
    if (!unsafe.isEmpty())
        return tellFailure(QStringLiteral("The error report was not sent: the %1 holds a line "
                                          "break, which would add commands or headers of its "
                                          "own to the mail.")
                               .arg(unsafe));
    const std::optional<MailServerAddress> server = parseMailServer(MailServerName);
    if (!server)
        return tellFailure(QStringLiteral("The error report was not sent: \"%1\" is not a mail "
                                          "server. Enter a host name, or a host name and a port "
                                          "as host:port.")
                               .arg(MailServerName));
    m_server = *server;
    m_waitLimitMs = waitLimitMs();
    if (secure || m_server.port == 587 || m_server.port == 465)
        return sendSecurely(addresses, EmailBodyofMessage);
    const SmtpLines lines = smtpLines(addresses, QDateTime::currentDateTime());

    m_reply.clear();
    Winsock1->abort();
    Winsock1->connectToHost(m_server.host, m_server.port);
    struct Step {
        QString send;
        const char* waitFor; // no wait when null
    };
    const Step dialogue[] = {
        {QString(), "220"},
        {QStringLiteral("HELO ") + m_server.host + crlf, "250"},
        {lines.mailFrom, "250"},
        {lines.rcptTo, "250"},
        {QStringLiteral("DATA") + crlf, "354"},
        {lines.headerBlock + crlf, nullptr},
        {smtpBody(EmailBodyofMessage), nullptr},
        {QStringLiteral(".") + crlf, "250"},
        {QStringLiteral("QUIT") + crlf, "221"},
    };
    for (const Step& step : dialogue) {
        if ((!step.send.isEmpty() && !send(step.send))
            || (step.waitFor && WaitFor(QLatin1String(step.waitFor)) == Wait::ConnectionLost))
            return tellConnectionFailure();
    }
    Winsock1->disconnectFromHost();
    tellSent();
}

SmtpMailer::Wait SmtpMailer::WaitFor(const QString& ResponseCode)
{
    // Monotonic, so midnight or a clock change cannot stretch a wait.
    QElapsedTimer clock;
    clock.start();
    const auto lost = [this] { return Winsock1->state() == QAbstractSocket::UnconnectedState; };
    while (m_reply.isEmpty()) {
        if (lost())
            return Wait::ConnectionLost;
        if (clock.elapsed() > m_waitLimitMs) {
            platform::MsgBox(QStringLiteral("SMTP Service error, Timed out while waiting for "
                                            "response"),
                             platform::Buttons::OK, platform::Icon::Information, timeoutTitle);
            return Wait::Done;
        }
        processEventsFor(m_waitLimitMs - clock.elapsed() + 1);
    }
    while (m_reply.left(3) != ResponseCode) {
        // A closed connection brings no other reply: no use waiting for one.
        if (lost())
            return Wait::ConnectionLost;
        if (clock.elapsed() > m_waitLimitMs) {
            platform::MsgBox(QStringLiteral("SMTP Service error, Improper response Code, Code "
                                            "Should have been:")
                                 + ResponseCode + QStringLiteral("CodeRecieved") + m_reply,
                             platform::Buttons::OK, platform::Icon::Information, timeoutTitle);
            return Wait::Done;
        }
        processEventsFor(m_waitLimitMs - clock.elapsed() + 1);
    }
    m_reply.clear();
    return Wait::Done;
}

void SmtpMailer::processEventsFor(qint64 milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(int(std::clamp<qint64>(milliseconds, 1, std::numeric_limits<int>::max())),
                       &loop, &QEventLoop::quit);
    connect(Winsock1, &QIODevice::readyRead, &loop, &QEventLoop::quit);
    connect(Winsock1, &QAbstractSocket::stateChanged, &loop, &QEventLoop::quit);
    loop.exec();
}

bool SmtpMailer::send(const QString& text)
{
    return Winsock1->state() == QAbstractSocket::ConnectedState
           && Winsock1->write(text.toUtf8()) >= 0;
}

void SmtpMailer::Winsock1_DataArrival()
{
    m_reply = QString::fromUtf8(Winsock1->readAll());
}

void SmtpMailer::tellConnectionFailure()
{
    const bool neverConnected = Winsock1->state() != QAbstractSocket::ConnectedState
                                && Winsock1->error() == QAbstractSocket::UnknownSocketError;
    QString reason = neverConnected ? QStringLiteral("It did not accept a connection within %1 "
                                                     "seconds.")
                                          .arg(double(m_waitLimitMs) / 1000)
                                    : Winsock1->errorString() + QLatin1Char('.');
    if (!m_reply.isEmpty())
        reason += QStringLiteral("\r\nIts last reply: ") + m_reply.trimmed();
    Winsock1->abort();
    tellNotSent(reason);
}

void SmtpMailer::tellNotSent(const QString& reason) const
{
    tellFailure(QStringLiteral("The error report could not be sent through the mail server "
                               "%1, port %2.\r\n\r\n%3")
                    .arg(m_server.host)
                    .arg(m_server.port)
                    .arg(reason));
}

void SmtpMailer::sendSecurely(const SmtpAddresses& addresses, const QString& body)
{
    using platform::MailSecurity;
    const platform::MailServer server{m_server.host, m_server.port,
                                      m_server.port == 465 ? MailSecurity::Tls
                                                           : MailSecurity::StartTls,
                                      addresses.fromEmailAddress};
    const SmtpLines lines = smtpLines(addresses, QDateTime::currentDateTime());
    platform::SmtpSession session(m_waitLimitMs);
    platform::MailResult result = platform::openSignedIn(session, server);
    if (result.number == 0)
        result = session.transfer(lines.mailFrom.toUtf8(), {lines.rcptTo.toUtf8()},
                                  (lines.headerBlock + crlf + smtpBody(body)).toUtf8());
    session.close();
    if (result.number != 0)
        return tellNotSent(result.description);
    tellSent();
}

} // namespace Vostrel
