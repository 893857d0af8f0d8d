#include "mail_transport.h"

#include "error_numbers.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>

namespace platform {
namespace {

constexpr int timeoutMs = 30000;

QString& chosenProgram()
{
    static QString program;
    return program;
}

QString sendmailProgram()
{
    if (!chosenProgram().isEmpty())
        return chosenProgram();
    for (const char* candidate : {"/usr/sbin/sendmail", "/usr/lib/sendmail"}) {
        if (QFileInfo(QString::fromLatin1(candidate)).isFile())
            return QString::fromLatin1(candidate);
    }
    return QString();
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 126)
            return false;
    }
    return true;
}

// A header value on one line: a line break in it would start a new header.
QString oneLine(const QString& text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

// RFC 2047 encoded words of at most 75 characters, folded onto new lines.
QByteArray encodedWords(const QString& text)
{
    QByteArrayList words;
    QByteArray chunk;
    const auto flush = [&] {
        words << "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair stays in one word.
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray bytes = text.mid(i, length).toUtf8();
        i += length - 1;
        if (chunk.size() + bytes.size() > 45)
            flush();
        chunk += bytes;
    }
    if (!chunk.isEmpty() || words.isEmpty())
        flush();
    return words.join("\n ");
}

QByteArray headerText(const QString& text)
{
    const QString line = oneLine(text);
    return isAscii(line) ? line.toLatin1() : encodedWords(line);
}

QByteArray fromHeader(const MailMessage& message)
{
    const QByteArray address = oneLine(message.fromAddress).trimmed().toUtf8();
    const QString name = oneLine(message.fromName).trimmed();
    if (name.isEmpty())
        return address;
    if (!isAscii(name))
        return encodedWords(name) + " <" + address + '>';
    QString quoted = name;
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return '"' + quoted.toLatin1() + "\" <" + address + '>';
}

QByteArray hexEscape(uchar c)
{
    return '=' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
}

// Quoted-printable (RFC 2045): lines of at most 76 characters, a trailing
// blank encoded so that no transport can strip it.
QByteArray quotedPrintable(const QString& body)
{
    QString text = body;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QByteArrayList out;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QByteArray bytes = line.toUtf8();
        QByteArray encoded;
        qsizetype width = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const auto c = uchar(bytes[i]);
            const bool blank = c == ' ' || c == '\t';
            const bool plain = (c >= 33 && c <= 126 && c != '=') || (blank && i + 1 < bytes.size());
            const QByteArray token = plain ? QByteArray(1, char(c)) : hexEscape(c);
            if (width + token.size() > 75) {
                encoded += "=\n";
                width = 0;
            }
            encoded += token;
            width += token.size();
        }
        out << encoded;
    }
    return out.join('\n');
}

QByteArray mimeMessage(const MailMessage& message)
{
    QByteArray text;
    if (!message.fromAddress.trimmed().isEmpty())
        text += "From: " + fromHeader(message) + '\n';
    QStringList to;
    for (const QString& address : message.to)
        to << oneLine(address).trimmed();
    text += "To: " + to.join(QStringLiteral(", ")).toUtf8() + '\n'
            + "Subject: " + headerText(message.subject) + '\n'
            + "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1() + '\n'
            + "MIME-Version: 1.0\n" + "Content-Type: text/plain; charset=UTF-8\n"
            + "Content-Transfer-Encoding: quoted-printable\n" + '\n' + quotedPrintable(message.body)
            + '\n';
    return text;
}

bool hasRecipient(const MailMessage& message)
{
    for (const QString& address : message.to) {
        if (!address.trimmed().isEmpty())
            return true;
    }
    return false;
}

} // namespace

MailResult sendMail(const MailMessage& message)
{
    const QString program = sendmailProgram();
    if (program.isEmpty() || !QFileInfo(program).isFile())
        return {err::FileNotFound,
                QStringLiteral("No sendmail program is installed (%1). Install a mail transport "
                               "such as msmtp-mta or postfix.")
                    .arg(program.isEmpty() ? QStringLiteral("/usr/sbin/sendmail") : program)};
    if (!hasRecipient(message))
        return {err::MailNotSent, QStringLiteral("The message has no recipient.")};

    QProcess process;
    process.start(program, {QStringLiteral("-t"), QStringLiteral("-i")});
    if (!process.waitForStarted(timeoutMs))
        return {err::MailNotSent,
                QStringLiteral("%1 could not be started: %2").arg(program, process.errorString())};
    process.write(mimeMessage(message));
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {err::MailNotSent, QStringLiteral("%1 did not finish within %2 seconds.")
                                      .arg(program)
                                      .arg(timeoutMs / 1000)};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {err::MailNotSent,
                QStringLiteral("%1 failed (exit code %2): %3")
                    .arg(program)
                    .arg(process.exitCode())
                    .arg(QString::fromLocal8Bit(process.readAllStandardError()).trimmed())};
    return {};
}

void setSendmailCommand(const QString& program)
{
    chosenProgram() = program;
}

} // namespace platform
