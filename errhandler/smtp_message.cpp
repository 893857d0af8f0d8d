#include "smtp_message.h"

#include <QLocale>
#include <QRegularExpression>

namespace Vostrel {
namespace {

const QString crlf = QStringLiteral("\r\n");

// The separator of the locale's short date form: "/" in most, "." or "-"
// in others.
QChar dateSeparator(const QLocale& locale)
{
    for (const QChar c : locale.dateFormat(QLocale::ShortFormat)) {
        if (!c.isLetter())
            return c;
    }
    return QLatin1Char('/');
}

QString utcOffset(const QDateTime& now)
{
    const int minutes = now.offsetFromUtc() / 60;
    const int magnitude = qAbs(minutes);
    return QStringLiteral("%1%2%3")
        .arg(minutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
        .arg(magnitude % 60, 2, 10, QLatin1Char('0'));
}

// The keyword ends in a space and one more separates it from the value.
QString line(const char* keyword, const QString& value)
{
    return QLatin1String(keyword) + QLatin1Char(' ') + value + crlf;
}

} // namespace

std::optional<MailServerAddress> parseMailServer(const QString& text)
{
    const QString server = text.trimmed();
    MailServerAddress address{server};
    std::optional<QString> port;
    if (server.startsWith(QLatin1Char('['))) {
        // "[IPv6 address]", and ":port" after the bracket when one is given.
        const qsizetype close = server.indexOf(QLatin1Char(']'));
        const QString rest = server.mid(close + 1);
        if (close < 0 || !(rest.isEmpty() || rest.startsWith(QLatin1Char(':'))))
            return std::nullopt;
        address.host = server.mid(1, close - 1);
        if (!rest.isEmpty())
            port = rest.mid(1);
    } else if (server.count(QLatin1Char(':')) == 1) {
        // More colons than one make a bare IPv6 address, which has no port.
        address.host = server.section(QLatin1Char(':'), 0, 0);
        port = server.section(QLatin1Char(':'), 1);
    }
    if (address.host.trimmed().isEmpty())
        return std::nullopt;
    if (port) {
        bool ok = false;
        const uint number = port->toUInt(&ok);
        if (!ok || number < 1 || number > 65535)
            return std::nullopt;
        address.port = quint16(number);
    }
    return address;
}

QString smtpDateText(const QDateTime& now)
{
    const QLocale locale = QLocale::system();
    const QDate date = now.date();
    const QChar separator = dateSeparator(locale);
    return locale.dayName(date.dayOfWeek(), QLocale::ShortFormat) + QLatin1Char(',')
           + QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0')) + separator
           + locale.monthName(date.month(), QLocale::ShortFormat) + separator
           + QString::number(date.year()) + QLatin1Char(' ')
           + now.time().toString(QStringLiteral("hh:mm:ss")) + utcOffset(now);
}

SmtpLines smtpLines(const SmtpAddresses& addresses, const QDateTime& now)
{
    const QString from =
        addresses.fromName.isEmpty() ? addresses.fromEmailAddress : addresses.fromName;
    const QString to = addresses.toName.isEmpty() ? addresses.toEMailAddress : addresses.toName;
    return {line("MAIL FROM: ", addresses.fromEmailAddress),
            line("RCPT TO: ", addresses.toEMailAddress),
            line("FROM: ", from) + line("DATE: ", smtpDateText(now))
                + QStringLiteral("Error Object Mailer") + crlf + line("TO: ", to)
                + line("SUBJECT: ", addresses.subject)};
}

QString smtpBody(const QString& body)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = body.split(lineBreak);
    for (QString& text : lines) {
        if (text.startsWith(QLatin1Char('.')))
            text.prepend(QLatin1Char('.'));
    }
    return lines.join(crlf) + crlf + crlf;
}

QString valueWithLineBreak(const QString& mailServerName, const SmtpAddresses& addresses)
{
    const std::pair<QString, const QString&> values[] = {
        {QStringLiteral("mail server"), mailServerName},
        {QStringLiteral("sender's name"), addresses.fromName},
        {QStringLiteral("sender's address"), addresses.fromEmailAddress},
        {QStringLiteral("recipient's name"), addresses.toName},
        {QStringLiteral("recipient's address"), addresses.toEMailAddress},
        {QStringLiteral("subject"), addresses.subject},
    };
    for (const auto& [name, value] : values) {
        if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')))
            return name;
    }
    return QString();
}

} // namespace Vostrel
