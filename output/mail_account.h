#pragma once
// The person's own mail account, kept in the [Mail] section of Address.ini,
// which never holds the password (platform/mail_sign_in.h keeps that).

#include "platform/smtp_client.h"

#include <array>

namespace tovren {

// Each security mode in the order of platform::MailSecurity, with its name
// in Address.ini and in Tools, Mail Account.
struct SecurityMode {
    platform::MailSecurity mode;
    const char* setting;
    const char* shown;
};
inline constexpr std::array<SecurityMode, 3> kSecurityModes{{
    {platform::MailSecurity::None, "none", "None"},
    {platform::MailSecurity::StartTls, "starttls", "STARTTLS"},
    {platform::MailSecurity::Tls, "tls", "TLS"},
}};
static_assert([] {
    for (std::size_t i = 0; i < kSecurityModes.size(); ++i) {
        if (std::size_t(kSecurityModes[i].mode) != i)
            return false;
    }
    return true;
}());

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
