#pragma once
// The system mail transport: messages handed to the sendmail program
// (`sendmail -t -i`) that every Unix mail system installs. Each message is
// written as a proper MIME message (mime_message.h), so non-ASCII subjects,
// names, bodies and attachments arrive intact.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

namespace err {
constexpr qint32 MailNotSent = 440; // sendmail ran but refused, failed or hung
}

// A file sent with messages. Its type and base64 form are made once, as it
// is read, however many messages carry it (mime_message.cpp).
class MailAttachment {
public:
    // `fileName` is the name the recipient sees, without a folder.
    MailAttachment(const QString& fileName, const QByteArray& data);

    const QString& fileName() const { return m_fileName; }
    const QString& type() const { return m_type; }        // the MIME type its name tells
    const QByteArray& base64() const { return m_base64; } // in lines, as messages carry it

private:
    QString m_fileName;
    QString m_type;
    QByteArray m_base64;
};

struct MailMessage {
    QString fromName;
    QString fromAddress; // no From header when empty: sendmail names the user
    QStringList to;      // plain addresses (isMailAddress)
    QString subject;
    QString body;             // lines may end in CR LF or LF
    QStringList toNames = {}; // the display name of each of `to`; none where missing or ""
    QList<MailAttachment> attachments = {};
};

struct MailResult {
    qint32 number = 0; // 0 when sendmail accepted the message
    QString description;
};

// Whether `text` is one plain address, local@domain, with nothing that could
// start another recipient or header (no blanks, commas, brackets, quotes).
bool isMailAddress(const QString& text);
// The first of `addresses` that is not one plain address, told as a refusal;
// number 0 when every one is.
MailResult checkAddresses(const QStringList& addresses);

// Finds the sendmail program and checks that it can be run: 0, or 53 with
// a description that says what to install.
MailResult findSendmail();

// Waits for sendmail to finish, at most 30 seconds. Fails with 53 when no
// sendmail is installed, with MailNotSent otherwise (also for a recipient
// that is not a plain address).
MailResult sendMail(const MailMessage& message);

// The sendmail program to run (tests point it at a script); an empty name
// restores the first of /usr/sbin/sendmail and /usr/lib/sendmail that exists.
void setSendmailCommand(const QString& program);

} // namespace platform
