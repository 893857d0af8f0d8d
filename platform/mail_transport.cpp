#include "mail_transport.h"

#include "error_numbers.h"
#include "mime_message.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

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

} // namespace

bool isMailAddress(const QString& text)
{
    // The dot-atom form of RFC 5322 without quoted local parts or literal
    // domains: what address books hold, and nothing a header could split.
    static const QRegularExpression address(QStringLiteral(
        "^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*"
        "@[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*$"));
    return address.match(text).hasMatch();
}

MailResult findSendmail()
{
    const QString program = sendmailProgram();
    const QFileInfo file(program);
    if (program.isEmpty() || !file.isFile() || !file.isExecutable())
        return {err::FileNotFound,
                QStringLiteral("No sendmail program is installed (%1). Install a mail transport "
                               "such as msmtp-mta or postfix.")
                    .arg(program.isEmpty() ? QStringLiteral("/usr/sbin/sendmail") : program)};
    return {};
}

MailResult checkAddresses(const QStringList& addresses)
{
    for (const QString& address : addresses) {
        if (!isMailAddress(address))
            return {err::MailNotSent,
                    QStringLiteral("'%1' is not a valid e-mail address.").arg(address)};
    }
    return {};
}

MailResult sendMail(const MailMessage& message)
{
    if (const MailResult found = findSendmail(); found.number != 0)
        return found;
    if (message.to.isEmpty())
        return {err::MailNotSent, QStringLiteral("The message has no recipient.")};
    if (const MailResult checked = checkAddresses(message.to); checked.number != 0)
        return checked;

    const QString program = sendmailProgram();
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
