#pragma once
// Mailing a report without SMTP: a "MailTo:" link handed to the desktop, or
// a message sent at once through the system mail transport.

#include <QString>

namespace Vostrel {

struct ErrorReportState;

// Opens the link with the desktop's mail program; when the desktop refuses
// it, opens its first 400 characters instead. 0, or the desktop's refusal
// number.
qint32 OpenWithShell(const QString& link);

// The direct send of mail method 2: the message leaves at once through the
// system mail transport, from this thread's mail settings' sender when one
// is set. 0, or the transport's error number.
qint32 SendViaOutlook(const QString& address, const QString& subject, const QString& body);

// The report dialog's mail methods 1 and 2: the report's body to the
// support address, and a message that says how it went.
void mailByLink(ErrorReportState& state, const QString& body);
void mailBySystemMail(const ErrorReportState& state, const QString& body);

} // namespace Vostrel
