#pragma once
// The card on a small book with e-mail addresses, "Generate Emails" opened
// from Tools, Email, and what a real sendmail delivered to a real SMTP
// server, read back with Python's MIME parser.

#include "card/card_fixture.h"

#include "output/frmeml.h"
#include "platform/mail_transport.h"
#include "support/smtp_sink.h"

#include <QCheckBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QPushButton>

#include <functional>

class MailTest : public CardTest {
protected:
    MailTest() : m_sink(home("sink")) {}
    void SetUp() override
    {
        ASSERT_TRUE(m_sink.error().isEmpty()) << m_sink.error().toStdString();
        platform::setSendmailCommand(m_sink.sendmail(home("args")));
    }
    void TearDown() override { platform::setSendmailCommand(QString()); }

    // The card on `contacts`, name and address each ("" for none).
    frmAddress& openBook(const QList<std::pair<QString, QString>>& contacts)
    {
        QStringList names;
        for (const auto& contact : contacts)
            names << contact.first;
        frmAddress& card = openCard(names);
        for (const auto& [name, address] : contacts)
            sql("UPDATE Address SET EmlAddr = nullif(?, '') WHERE Name = ?", {address, name});
        trigger("mnuRefresh");
        return card;
    }

    // Tools, Email, with `person` acting on the window while it is open.
    void compose(const std::function<void(frmEml&)>& person)
    {
        m_prompts.handleModal([person](QDialog& dialog) {
            person(dynamic_cast<frmEml&>(dialog));
            dialog.reject();
        });
        trigger("mnuEml");
    }
    // Subject and message typed, the CC box set, then Send.
    static void send(frmEml& eml, const QString& subject, const QString& message,
                     bool common = false)
    {
        eml.txtFld[0]->setText(subject);
        eml.txtFld[1]->setText(message);
        eml.chkCC->setChecked(common);
        eml.cmdSend->click();
    }

    // What arrived, in order, as read_mail.py reads it.
    QJsonArray arrived() const
    {
        QStringList files;
        for (size_t n = 1; n <= m_sink.messages().size(); ++n)
            files << home("sink/%1.eml").arg(n);
        if (files.isEmpty())
            return {};
        QProcess reader;
        reader.start("/usr/bin/python3",
                     QStringList{TOVREN_SOURCE_DIR "/tests/output/read_mail.py"} + files);
        EXPECT_TRUE(reader.waitForFinished(20000));
        EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
    }
    // The envelope recipients of each message that arrived, "a, b".
    QStringList envelopes() const
    {
        QStringList to;
        for (const auto& message : m_sink.messages())
            to << message.to.join(", ");
        return to;
    }
    // A sendmail that delivers the first `good` messages, then refuses.
    void failAfter(int good)
    {
        const QString script = home("failing-sendmail");
        EXPECT_TRUE(testing_support::writeBytes(
            script, QStringLiteral("#!/bin/sh\nn=$(cat '%1' 2>/dev/null || echo 0)\n"
                                   "echo $((n + 1)) > '%1'\n"
                                   "if [ \"$n\" -ge %2 ]; then cat >/dev/null; "
                                   "echo 'relay refused' >&2; exit 75; fi\n"
                                   "exec '%3' \"$@\"\n")
                        .arg(home("count"))
                        .arg(good)
                        .arg(m_sink.sendmail(home("args")))
                        .toUtf8()));
        QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
        platform::setSendmailCommand(script);
    }

    testing_support::SmtpSink m_sink;
};
