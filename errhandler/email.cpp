// Email: the report to the support address without the report dialog.

#include "err_handler.h"

#include "email_text.h"
#include "log_files.h"
#include "mail_client.h"
#include "vostrel_errors.h"

namespace Vostrel {

qint32 ErrHandler::Email(const QString& strMessage, const QString& strSubject,
                         const QString& strCCEmailAddresses)
{
    // A direct send carries the whole report; only the link needs the summary.
    if (SendViaOutlook(m_emailAddress, m_reportTitle, m_errorLogDisplay) == 0)
        return 0;
    QString message = strMessage;
    if (message.isEmpty()) {
        if (!m_appObj)
            return err::ObjectNotSet;
        message = emailSummary(
            {m_errNum, m_procName, m_errLine, m_errDesc, *m_appObj, errorLogPath(m_destination)});
    }
    const QString subject = strSubject.isEmpty() ? m_reportTitle : strSubject;
    if (m_emailAddress.isEmpty())
        return err::MissingEmailAddress;
    return OpenWithShell(mailtoLink(m_emailAddress, strCCEmailAddresses, subject, message));
}

} // namespace Vostrel
