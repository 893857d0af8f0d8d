#include "mail_account.h"

#include "core/program.h"
#include "platform/profile_file.h"

namespace tovren {
namespace {

const QString kSection = QStringLiteral("Mail");

QString setting(const QString& key)
{
    return platform::readProfileString(settingsFile(), kSection, key);
}

} // namespace

bool MailAccount::isSet() const
{
    return !server.host.trimmed().isEmpty() && platform::isMailAddress(senderAddress);
}

MailAccount readMailAccount()
{
    MailAccount account;
    account.server.host = setting(QStringLiteral("Server")).trimmed();
    const QString security = setting(QStringLiteral("Security")).trimmed().toLower();
    for (const SecurityMode& mode : kSecurityModes) {
        if (security == QLatin1String(mode.setting))
            account.server.security = mode.mode;
    }
    bool ok = false;
    const uint port = setting(QStringLiteral("Port")).toUInt(&ok);
    account.server.port = ok && port >= 1 && port <= 65535
                              ? quint16(port)
                              : platform::defaultPort(account.server.security);
    account.server.user = setting(QStringLiteral("User")).trimmed();
    account.senderName = setting(QStringLiteral("SenderName"));
    account.senderAddress = setting(QStringLiteral("SenderAddress")).trimmed();
    return account;
}

bool writeMailAccount(const MailAccount& account)
{
    return writeSettings(kSection,
                         {{QStringLiteral("Server"), account.server.host},
                          {QStringLiteral("Port"), QString::number(account.server.port)},
                          {QStringLiteral("Security"),
                           QLatin1String(kSecurityModes[int(account.server.security)].setting)},
                          {QStringLiteral("User"), account.server.user},
                          {QStringLiteral("SenderName"), account.senderName},
                          {QStringLiteral("SenderAddress"), account.senderAddress}});
}

platform::MailMessage fromAccount(const MailAccount& account, platform::MailMessage message)
{
    message.fromName = account.senderName;
    message.fromAddress = account.senderAddress;
    return message;
}

} // namespace tovren
