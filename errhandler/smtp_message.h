#pragma once
// The texts of a report sent straight to a mail server: where the server
// is, the envelope and header lines, and the body as it must travel.

#include <QDateTime>
#include <QString>

#include <optional>

namespace Vostrel {

struct MailServerAddress {
    QString host;
    quint16 port = 25;
};

// "host", "host:port" or "[IPv6 address]:port"; nothing when the port is
// not a number from 1 to 65535 or the host is missing.
std::optional<MailServerAddress> parseMailServer(const QString& text);

// "Ddd,dd/Mmm/YYYY hh:mm:ss+hhmm" in the system's language and date
// separator, with the machine's real offset from UTC.
QString smtpDateText(const QDateTime& now);

struct SmtpLines {
    QString mailFrom;    // "MAIL FROM:  address" CR LF
    QString rcptTo;      // "RCPT TO:  address" CR LF
    QString headerBlock; // FROM, DATE, "Error Object Mailer", TO, SUBJECT
};

struct SmtpAddresses {
    QString fromName;
    QString fromEmailAddress;
    QString toName;
    QString toEMailAddress;
    QString subject;
};

SmtpLines smtpLines(const SmtpAddresses& addresses, const QDateTime& now);

// The body with CR LF line ends, every line that begins with "." doubled so
// that no line of a report can end the message early, and the blank line
// that closes it.
QString smtpBody(const QString& body);

// The name of the first value that holds a carriage return or line feed,
// which would let it add a command or a header to the dialogue; empty when
// none does.
QString valueWithLineBreak(const QString& mailServerName, const SmtpAddresses& addresses);

} // namespace Vostrel
