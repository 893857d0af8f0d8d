#pragma once
// The one MIME writer of the program, on VMime: a mail message as the bytes
// that sendmail reads, with LF line ends, or as SMTP's DATA carries it.

#include "mail_transport.h"

#include <QByteArray>

namespace platform {

// The recipients must be plain addresses (isMailAddress); names and the
// subject may hold any text, they are encoded. Attachments go base64.
QByteArray mimeMessage(const MailMessage& message);

// The same message with CR LF line ends, each dot that begins a line
// doubled, and the line of a lone dot that ends the data.
QByteArray smtpData(const MailMessage& message);

} // namespace platform
