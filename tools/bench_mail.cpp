#include "bench_mail.h"

#include "output/mail_merge.h"
#include "platform/mail_transport.h"

#include <QFile>

QList<platform::MailMessage> benchMessages()
{
    QList<tovren::Contact> contacts;
    for (int i = 0; i < 1000; ++i)
        contacts.append({QStringLiteral("Zoë Contact %1").arg(i),
                         QStringLiteral("contact%1@example.org").arg(i)});
    const tovren::Letter letter{QStringLiteral("Grüße: our new office"),
                                QStringLiteral("We have moved.\r\n").repeated(40),
                                {{QStringLiteral("map.pdf"), QByteArray(10000, 'm')}}};
    return tovren::composeMessages(letter, contacts, false);
}

std::function<qsizetype()> mailBench(const QString& folder)
{
    const QString standIn = folder + QStringLiteral("/sendmail");
    QFile script(standIn);
    if (!script.open(QIODevice::WriteOnly) || script.write("#!/bin/sh\nexec cat >/dev/null\n") < 0)
        return [] { return qsizetype(0); };
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);

    return [standIn] {
        platform::setSendmailCommand(standIn);
        const tovren::SendOutcome outcome =
            tovren::sendAll(benchMessages(), platform::sendMail, [](qsizetype) { return true; });
        platform::setSendmailCommand(QString());
        return outcome.sent;
    };
}
