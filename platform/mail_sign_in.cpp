#include "mail_sign_in.h"

#include "secret_store.h"

namespace platform {
namespace {

SecretKey secretKey(const MailServer& server)
{
    return {QStringLiteral("Tovren mail %1:%2").arg(server.host).arg(server.port), server.user};
}

} // namespace

bool keepMailPassword(const MailServer& server, const QString& password)
{
    return storePassword(secretKey(server), password);
}

MailResult openSignedIn(SmtpSession& session, const MailServer& server, const QString& typed)
{
    const auto kept = [&server] {
        return password(secretKey(server), QString(),
                        QStringLiteral("The password of %1 at the mail server %2:")
                            .arg(server.user, server.host));
    };
    MailResult opened = typed.isEmpty() ? session.open(server, kept) : session.open(server, typed);
    if (opened.number == err::SignInRefused)
        forgetPassword(secretKey(server));
    return opened;
}

} // namespace platform
