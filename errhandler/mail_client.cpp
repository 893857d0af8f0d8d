#include "mail_client.h"

#include "email_text.h"
#include "lib_frmerror.h"
#include "thread_state.h"
#include "vostrel_errors.h"

#include "platform/desktop.h"
#include "platform/mail_transport.h"
#include "platform/prompts.h"

#include <QRegularExpression>
#include <QUrl>

namespace Vostrel {
namespace {

// The shell's own result codes: 42 for an opened link.
qint32 shellOpen(const QString& link)
{
    const QUrl url = QUrl::fromEncoded(link.toUtf8(), QUrl::TolerantMode);
    return platform::desktop().openUrl(url) ? err::ShellSuccess : err::ShellNoAssociation;
}

platform::MailResult sendBySystemMail(const QString& address, const QString& subject,
                                      const QString& body)
{
    const MailSettings& settings = mailSettings();
    return platform::sendMail(
        {settings.FromName, settings.FromEmailAddress, {address}, subject, body});
}

void tellOutcome(bool sent, const QString& success, const QString& failure)
{
    if (sent)
        platform::MsgBox(success, platform::Buttons::OK, platform::Icon::None,
                         QStringLiteral("Operation Successful"));
    else
        platform::MsgBox(failure, platform::Buttons::OK, platform::Icon::Critical,
                         QStringLiteral("Operation Failed"));
}

} // namespace

qint32 OpenWithShell(const QString& link)
{
    qint32 result = shellOpen(link);
    if (result != err::ShellSuccess) {
        // An escape cut in two would turn into a stray "%" in the mail.
        static const QRegularExpression cutEscape(QStringLiteral("%[0-9A-Fa-f]?$"));
        result = shellOpen(link.left(400).remove(cutEscape));
    }
    return result == err::ShellSuccess ? 0 : result;
}

qint32 SendViaOutlook(const QString& address, const QString& subject, const QString& body)
{
    return sendBySystemMail(address, subject, body).number;
}

void mailByLink(ErrorReportState& state, const QString& body)
{
    state.m_strEmailDetailAPI = reportMailLink(state.m_strEmailAddress, state.m_strSubject, body);
    tellOutcome(OpenWithShell(state.m_strEmailDetailAPI) == 0,
                QStringLiteral("Composed Error Email in Default Mail Client."),
                QStringLiteral("Error occurred while attempting to email error\r\n\r\n"
                               "No mail program on this desktop opens mail links."));
}

void mailBySystemMail(const ErrorReportState& state, const QString& body)
{
    const platform::MailResult result =
        sendBySystemMail(state.m_strEmailAddress, state.m_strSubject, body);
    tellOutcome(result.number == 0, QStringLiteral("Composed Error Email in System Mail."),
                QStringLiteral("Error occurred while attempting to compose Error email in System "
                               "Mail\r\n\r\n")
                    + result.description);
}

} // namespace Vostrel
