#include "mail_client.h"

#include "thread_state.h"
#include "vostrel_errors.h"

#include "platform/desktop.h"
#include "platform/mail_transport.h"

#include <QUrl>

namespace Vostrel {
namespace {

// The shell's own result codes: 42 for an opened link.
qint32 shellOpen(const QString& link)
{
    const QUrl url = QUrl::fromEncoded(link.toUtf8(), QUrl::TolerantMode);
    return platform::desktop().openUrl(url) ? err::ShellSuccess : err::ShellNoAssociation;
}

} // namespace

qint32 OpenWithShell(const QString& link)
{
    qint32 result = shellOpen(link);
    if (result != err::ShellSuccess)
        result = shellOpen(link.left(400));
    return result == err::ShellSuccess ? 0 : result;
}

qint32 SendViaOutlook(const QString& address, const QString& subject, const QString& body)
{
    const MailSettings& settings = mailSettings();
    const platform::MailMessage message{
        settings.FromName, settings.FromEmailAddress, {address}, subject, body};
    return platform::sendMail(message).number;
}

} // namespace Vostrel
