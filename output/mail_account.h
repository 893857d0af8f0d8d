#pragma once
// The person's own mail account, kept in the [Mail] section of Address.ini,
// which never holds the password (platform/mail_sign_in.h keeps that).

#include "platform/smtp_client.h"

namespace tovren {

struct MailAccount {
    platform::MailServer server;
    QString senderName;
    QString senderAddress;

    // Set up far enough to send: a server and a sender's address.
    bool isSet() const;
};

MailAccount readMailAccount();
// False when Address.ini could not be written (or is only read).
bool writeMailAccount(const MailAccount& account);

// The messages of a Send leave from the account's sender.
platform::MailMessage fromAccount(const MailAccount& account, platform::MailMessage message);

} // namespace tovren
