#include "mail_merge.h"

#include "records/emls.h"

#include <QFile>
#include <QFileInfo>

namespace tovren {
namespace {

// A name as one line, for the list of skipped contacts.
QString shownName(const Contact& contact)
{
    const QString name = contact.name.simplified();
    return name.isEmpty() ? QStringLiteral("(no name)") : name;
}

QString greeting(const QString& names, const QString& body)
{
    return QStringLiteral("Dear ") + names + QStringLiteral(",\r\n\r\n") + body;
}

} // namespace

Recipients collectRecipients(records::Emls& emls)
{
    Recipients recipients;
    for (emls.MoveFirst(); !emls.isEOF(); emls.MoveNext()) {
        const Contact contact{emls.Name(), emls.EmlAddr()};
        if (contact.address.isEmpty())
            recipients.skipped.append({contact, QStringLiteral("no e-mail address")});
        else if (!platform::isMailAddress(contact.address))
            // A comma, bracket or line break here would name other recipients.
            recipients.skipped.append({contact, QStringLiteral("not a valid e-mail address")});
        else
            recipients.reachable.append(contact);
    }
    return recipients;
}

QString readAttachments(const QStringList& paths, Letter& letter)
{
    for (const QString& path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("The attachment '%1' cannot be read: %2.")
                .arg(path, file.errorString());
        letter.attachments.append({QFileInfo(path).fileName(), file.readAll()});
    }
    return QString();
}

QList<platform::MailMessage> composeMessages(const Letter& letter, const QList<Contact>& contacts,
                                             bool common)
{
    const auto message = [&letter](const QList<Contact>& to) {
        platform::MailMessage mail;
        QStringList names;
        for (const Contact& contact : to) {
            mail.to << contact.address;
            mail.toNames << contact.name;
            names << contact.name;
        }
        mail.subject = letter.subject;
        mail.body = greeting(names.join(QStringLiteral(", ")), letter.body);
        mail.attachments = letter.attachments;
        return mail;
    };
    QList<platform::MailMessage> messages;
    if (contacts.isEmpty())
        return messages;
    if (common)
        return {message(contacts)};
    for (const Contact& contact : contacts)
        messages.append(message({contact}));
    return messages;
}

SendOutcome sendAll(const QList<platform::MailMessage>& messages, const Deliver& deliver,
                    const std::function<bool(qsizetype)>& proceed)
{
    SendOutcome outcome;
    outcome.total = messages.size();
    for (const platform::MailMessage& message : messages) {
        if (!proceed(outcome.sent)) {
            outcome.cancelled = true;
            break;
        }
        outcome.failure = deliver(message);
        if (outcome.failure.number != 0)
            break;
        ++outcome.sent;
    }
    return outcome;
}

QString outcomeText(const SendOutcome& outcome, const QList<SkippedContact>& skipped)
{
    QString text;
    if (outcome.failure.number != 0)
        text = QStringLiteral("Sending stopped after %1 of %2 messages had gone out: %3")
                   .arg(outcome.sent)
                   .arg(outcome.total)
                   .arg(outcome.failure.description);
    else if (outcome.cancelled)
        text = QStringLiteral("Sending was cancelled after %1 of %2 messages had gone out.")
                   .arg(outcome.sent)
                   .arg(outcome.total);
    else if (outcome.total == 0)
        text = QStringLiteral("No selected contact has a valid e-mail address; no message was "
                              "sent.");
    else
        text = outcome.sent == 1 ? QStringLiteral("1 message was sent.")
                                 : QStringLiteral("%1 messages were sent.").arg(outcome.sent);
    if (!skipped.isEmpty()) {
        text += QStringLiteral("\r\n\r\nNot mailed:");
        for (const SkippedContact& contact : skipped) {
            const QString address = contact.contact.address.simplified();
            text += QStringLiteral("\r\n") + shownName(contact.contact)
                    + (address.isEmpty() ? QString() : QStringLiteral(" <") + address + '>')
                    + QStringLiteral(": ") + contact.reason;
        }
    }
    return text;
}

} // namespace tovren
