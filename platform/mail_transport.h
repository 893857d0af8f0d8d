#pragma once
// The system mail transport: one plain-text message handed to the sendmail
// program (`sendmail -t -i`) that every Unix mail system installs. The
// message is written as a proper MIME message, so non-ASCII subjects, names
// and bodies arrive intact.

#include <QString>
#include <QStringList>

namespace platform {

namespace err {
constexpr qint32 MailNotSent = 440; // sendmail ran but refused, failed or hung
}

struct MailMessage {
    QString fromName;
    QString fromAddress; // no From header when empty: sendmail names the user
    QStringList to;
    QString subject;
    QString body; // lines may end in CR LF or LF
};

struct MailResult {
    qint32 number = 0; // 0 when sendmail accepted the message
    QString description;
};

// Waits for sendmail to finish, at most 30 seconds. Fails with 53 when no
// sendmail is installed, with MailNotSent otherwise.
MailResult sendMail(const MailMessage& message);

// The sendmail program to run (tests point it at a script); an empty name
// restores the first of /usr/sbin/sendmail and /usr/lib/sendmail that exists.
void setSendmailCommand(const QString& program);

} // namespace platform
