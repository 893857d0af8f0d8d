#pragma once
// The mail merge behind "Generate Emails": who the selected contacts are and
// which of them mail can reach, the messages written to them, and sending
// those messages one by one through the system mail transport or the
// person's mail account.

#include "platform/mail_transport.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace records {
class Emls;
}

namespace tovren {

struct Contact {
    QString name;
    QString address;
};

struct SkippedContact {
    Contact contact;
    QString reason;
};

struct Recipients {
    QList<Contact> reachable;
    QList<SkippedContact> skipped; // no address, or one that is not a plain address
};

// Walks every row of `emls` from the first; the caller has checked RecCount.
Recipients collectRecipients(records::Emls& emls);

struct Letter {
    QString subject;
    QString body; // what follows the greeting
    QList<platform::MailAttachment> attachments;
};

// Reads the files at `paths` into `letter`; "" or why one cannot be read.
QString readAttachments(const QStringList& paths, Letter& letter);

// One message per contact, each beginning "Dear " and that contact's name,
// or (common) one message to all beginning with all the names.
QList<platform::MailMessage> composeMessages(const Letter& letter, const QList<Contact>& contacts,
                                             bool common);

struct SendOutcome {
    qsizetype total = 0;
    qsizetype sent = 0;
    bool cancelled = false;
    platform::MailResult failure; // number 0 unless a message was refused
};

// How one message leaves: platform::sendMail, or a session of the account.
using Deliver = std::function<platform::MailResult(const platform::MailMessage&)>;

// Sends the messages in order through `deliver` and stops at the first
// failure. `proceed` is asked before each message with the count sent so
// far; false cancels.
SendOutcome sendAll(const QList<platform::MailMessage>& messages, const Deliver& deliver,
                    const std::function<bool(qsizetype)>& proceed);

// What the person is told afterwards: how many messages went out, why
// sending stopped early, and which contacts were skipped and why.
QString outcomeText(const SendOutcome& outcome, const QList<SkippedContact>& skipped);

} // namespace tovren
