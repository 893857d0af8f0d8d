#pragma once
// The mail_1k bench: 1,000 personal messages, each with an attachment,
// written and handed to a sendmail stand-in that only reads its input.

#include "platform/mail_transport.h"

#include <QString>

#include <functional>

// The 1,000 personal messages, each with an attachment, that the mail
// benches send.
QList<platform::MailMessage> benchMessages();

// Prepares the stand-in in `folder` and returns the operation to time; it
// returns how many messages the transport took.
std::function<qsizetype()> mailBench(const QString& folder);
