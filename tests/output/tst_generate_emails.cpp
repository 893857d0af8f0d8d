// "Generate Emails" from Tools, Email, on the card's contacts, through a
// real sendmail to a real SMTP server: personal and common messages,
// attachments byte for byte, contacts that cannot be mailed safely, sending
// that fails or is cancelled midway, and every Send that sends nothing.

#include "card/card_fixture.h"
#include "output/frmeml.h"
#include "platform/mail_transport.h"
#include "records/address.h"
#include "support/smtp_sink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <numeric>

namespace {

using platform::Answer;
using platform::Icon;

class MailTest : public CardTest {
protected:
    MailTest() : m_sink(home("sink")) {}
    void SetUp() override
    {
        ASSERT_TRUE(m_sink.error().isEmpty()) << m_sink.error().toStdString();
        platform::setSendmailCommand(m_sink.sendmail());
    }
    void TearDown() override { platform::setSendmailCommand(QString()); }

    // The card on `contacts`, each "name|address" or a name alone.
    frmAddress& openBook(const QStringList& contacts)
    {
        QStringList names;
        for (const QString& contact : contacts)
            names << contact.section('|', 0, 0);
        frmAddress& card = openCard(names);
        for (const QString& contact : contacts)
            sql("UPDATE Address SET EmlAddr = nullif(?, '') WHERE Name = ?",
                {contact.section('|', 1), contact.section('|', 0, 0)});
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
    // Subject and message typed, the CC box set, then Send, its outcome
    // answered.
    void send(frmEml& eml, const QString& subject, const QString& message, bool common = false)
    {
        m_prompts.answerMessage(Answer::OK);
        eml.txtFld[0]->setText(subject);
        eml.txtFld[1]->setText(message);
        eml.chkCC->setChecked(common);
        eml.cmdSend->click();
    }
    // The envelope recipients of each message that arrived, "a, b".
    QStringList envelopes() const
    {
        QStringList to;
        for (const auto& message : m_sink.messages())
            to << message.to.join(", ");
        return to;
    }

    testing_support::SmtpSink m_sink;
};

TEST_F(MailTest, PersonalThenCommonMessagesCarryGreetingSubjectAndAttachments)
{
    frmAddress& card = openBook({"Ada Ünal|ada@example.org", "Bo", "Cy|cy@example.org"});
    trigger("mnuNext");
    QByteArray binary(256, 0);
    std::iota(binary.begin(), binary.end(), 0);
    binary += "\r\n.\r\nend";
    writeFile("body.txt", "Our new office opens on Monday, 9 o'clock.\nSee you there.\n");
    writeFile("plan.bin", binary);
    writeFile("Bericht für Ünal.txt", "Grüße\n");
    const QString subject = "Grüße aus Pune: the new office";
    compose([&](frmEml& eml) {
        m_prompts.answerOpenFile(home("plan.bin")).answerOpenFile(home("Bericht für Ünal.txt"));
        eml.cmdAdd->click();
        eml.cmdAdd->click();
        send(eml, subject, "body.txt");
        EXPECT_EQ(lastMessage(),
                  "2 messages were sent.\r\n\r\nNot mailed:\r\nBo: no e-mail address");
        EXPECT_EQ(m_prompts.messages().back().icon, Icon::Information);
        // The common message: once to every address, its body quoted.
        send(eml, "Minutes", "\"Please find the minutes below.\"", true);
        EXPECT_EQ(lastMessage(), "1 message was sent.\r\n\r\nNot mailed:\r\nBo: no e-mail address");
    });

    EXPECT_EQ(testing_support::readBytes(m_sink.file("args")), "-t -i\n");
    EXPECT_EQ(envelopes(), QStringList({"ada@example.org", "cy@example.org",
                                        "ada@example.org, cy@example.org"}));
    const auto mail = m_sink.messages();
    ASSERT_EQ(mail.size(), 3u);
    const QJsonArray ada{"Ada Ünal", "ada@example.org"}, cy{"Cy", "cy@example.org"};
    const QJsonValue to[] = {QJsonArray{ada}, QJsonArray{cy}, QJsonArray{ada, cy}};
    const QString body = "\n\nOur new office opens on Monday, 9 o'clock.\nSee you there.\n";
    const QString bodies[] = {"Dear Ada Ünal," + body, "Dear Cy," + body,
                              "Dear Ada Ünal, Cy,\n\nPlease find the minutes below."};
    const QJsonValue files =
        QJsonArray{QJsonArray{"plan.bin", QString(binary.toBase64())},
                   QJsonArray{"Bericht für Ünal.txt", QString(QByteArray("Grüße\n").toBase64())}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(mail[i].read["to"], to[i]);
        EXPECT_EQ(mail[i].read["subject"], i < 2 ? subject : "Minutes");
        EXPECT_EQ(mail[i].read["body"], bodies[i]);
        EXPECT_EQ(mail[i].read["attachments"], files);
    }
    // The walk moved the card's rows; the card is back on Bo.
    EXPECT_EQ(card.cls1()->AbsPos(), 2);
}

// A line break in a name or subject, or a comma or brackets in an address,
// must not add headers or recipients (sendmail -t takes its recipients from
// the headers): names are encoded, such addresses refused.
TEST_F(MailTest, ContactsThatCouldInjectHeadersOrRecipientsAreEncodedOrSkipped)
{
    openBook({"Eve\r\nBcc: mallory@evil.example|eve@example.org",
              "Mal, Lory|mal@example.org, boss@evil.example", "Angle|Angle <angle@evil.example>",
              "Nl|nl@example.org\r\nBcc: mallory@evil.example", "Ann|ann@example.org"});
    for (const bool common : {false, true}) {
        compose([&](frmEml& eml) {
            send(eml, "Hi\r\nBcc: mallory@evil.example", "\"Hello\"", common);
        });
        EXPECT_EQ(lastMessage().section("\r\n\r\n", 1),
                  "Not mailed:\r\nMal, Lory <mal@example.org, boss@evil.example>: not a valid "
                  "e-mail address\r\nAngle <Angle <angle@evil.example>>: not a valid e-mail "
                  "address\r\nNl <nl@example.org Bcc: mallory@evil.example>: not a valid "
                  "e-mail address");
    }
    EXPECT_EQ(envelopes(), QStringList({"eve@example.org", "ann@example.org",
                                        "eve@example.org, ann@example.org"}));
    const QJsonArray eve{"Eve Bcc: mallory@evil.example", "eve@example.org"};
    const QJsonArray ann{"Ann", "ann@example.org"};
    const QJsonValue to[] = {QJsonArray{eve}, QJsonArray{ann}, QJsonArray{eve, ann}};
    const auto mail = m_sink.messages();
    ASSERT_EQ(mail.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(mail[i].read["subject"], "Hi Bcc: mallory@evil.example");
        EXPECT_EQ(mail[i].read["to"], to[i]);
    }
}

// Sending stops at a refusal, then at the person's Cancel between messages.
TEST_F(MailTest, AFailureOrCancelMidwayTellsHowManyWentAndTheNextSendCanSkipThem)
{
    openBook(
        {"Ada|ada@example.org", "Bo|bo@example.org", "Cy|cy@example.org", "Di|di@example.org"});
    // A sendmail that refuses once two messages have arrived.
    writeFile("failing", QString("#!/bin/sh\nif [ -e '%1' ]; then cat >/dev/null; echo 'relay "
                                 "refused' >&2; exit 75; fi\nexec '%2' \"$@\"\n")
                             .arg(m_sink.file("2.eml"), m_sink.sendmail())
                             .toUtf8());
    QFile::setPermissions(home("failing"), QFile::permissions(home("failing")) | QFile::ExeOwner);
    platform::setSendmailCommand(home("failing"));
    compose([&](frmEml& eml) {
        send(eml, "News", "\"Hello\"");
        EXPECT_TRUE(lastMessage().startsWith("Sending stopped after 2 of 4 messages had gone "
                                             "out: ")
                    && lastMessage().contains("relay refused"))
            << lastMessage().toStdString();
        EXPECT_EQ(m_prompts.messages().back().icon, Icon::Exclamation);

        // Send again, the transport mended: only those not yet mailed.
        platform::setSendmailCommand(m_sink.sendmail());
        m_prompts.answerMessage(Answer::Yes).answerMessage(Answer::OK);
        eml.cmdSend->click();
        EXPECT_TRUE(m_prompts.messages().end()[-2].text.startsWith(
            "The last Send stopped early: 2 of these contacts have already been mailed."));
        EXPECT_EQ(lastMessage(), "2 messages were sent.");

        // Complete now: a third Send asks nothing; the person presses
        // Cancel once its first message has gone.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* progress = eml.findChild<QProgressDialog*>();
            if (progress && progress->value() >= 1)
                progress->cancel();
        });
        watch.start(1);
        send(eml, "News", "\"Hello\"");
        EXPECT_EQ(lastMessage(), "Sending was cancelled after 1 of 4 messages had gone out.");
    });
    const QStringList all{"ada@example.org", "bo@example.org", "cy@example.org", "di@example.org"};
    EXPECT_EQ(envelopes(), all + all.first(1));
}

TEST_F(MailTest, MessageAndAttachmentsAreChosenAndDeletedAndCancelChangesNothing)
{
    openBook({"Ada|ada@example.org"});
    compose([&](frmEml& eml) {
        const auto enabled = [&] {
            return QList<bool>{eml.lstAttach->isEnabled(), eml.cmdDelete->isEnabled()};
        };
        EXPECT_EQ(enabled(), QList<bool>({false, false}));
        m_prompts.answerOpenFile(home("a.pdf")).answerOpenFile("").answerOpenFile(home("b.png"));
        for (int i = 0; i < 3; ++i)
            eml.cmdAdd->click();
        ASSERT_EQ(eml.lstAttach->count(), 2);
        EXPECT_EQ(enabled(), QList<bool>({true, true}));
        // Delete without a selection removes nothing.
        for (const int row : {-1, 0}) {
            eml.lstAttach->setCurrentRow(row);
            eml.cmdDelete->click();
        }
        ASSERT_EQ(eml.lstAttach->count(), 1);
        EXPECT_EQ(eml.lstAttach->item(0)->text(), home("b.png"));
        EXPECT_EQ(enabled(), QList<bool>({true, true}));
        // The last one deleted turns the list and the button off.
        eml.lstAttach->setCurrentRow(0);
        eml.cmdDelete->click();
        EXPECT_EQ(eml.lstAttach->count(), 0);
        EXPECT_EQ(enabled(), QList<bool>({false, false}));

        m_prompts.answerOpenFile(home("letter.txt")).answerOpenFile("");
        eml.cmdOpen->click();
        eml.cmdOpen->click();
        EXPECT_EQ(eml.txtFld[1]->text(), home("letter.txt"));
    });
}

// Each Send here stops before any message, with what the person is told.
struct Refusal {
    const char* name;
    QString message; // the message field
    QString told;    // part of the last message; "" for none at all
    Icon icon;
    QString attachment = {};
};

class SendRefusal : public MailTest, public testing::WithParamInterface<Refusal> {};

TEST_P(SendRefusal, SendsNothing)
{
    const Refusal& refusal = GetParam();
    const std::string name = refusal.name;
    openBook(name == "NoRecords" ? QStringList() : QStringList{"Ada|ada@example.org"});
    if (name == "NoSendmail")
        platform::setSendmailCommand(home("no-sendmail"));
    QDir(home()).mkdir("folder.pdf"); // a file name that cannot be read as one
    const size_t before = m_prompts.messages().size();
    compose([&](frmEml& eml) {
        if (name == "MissingBodyFile")
            expectReport();
        if (name == "NoAccount")
            eml.cboTransport->setCurrentIndex(1);
        if (!refusal.attachment.isEmpty()) {
            m_prompts.answerOpenFile(home(refusal.attachment));
            eml.cmdAdd->click();
        }
        if (!refusal.told.isEmpty())
            m_prompts.answerMessage(Answer::OK);
        eml.txtFld[1]->setText(refusal.message);
        eml.cmdSend->click();
        if (name == "EmptyMessage") {
            EXPECT_EQ(eml.focusWidget(), eml.txtFld[1]);
        }
    });
    // sendmail never ran.
    EXPECT_FALSE(QFile::exists(m_sink.file("args")));
    const auto messages = m_prompts.messages();
    ASSERT_EQ(messages.size(), before + (refusal.told.isEmpty() ? 0 : 1));
    if (!refusal.told.isEmpty()) {
        EXPECT_TRUE(messages.back().text.contains(refusal.told))
            << messages.back().text.toStdString();
        EXPECT_EQ(messages.back().icon, refusal.icon);
    }
}

INSTANTIATE_TEST_SUITE_P(
    MailTest, SendRefusal,
    testing::Values(
        Refusal{"EmptyMessage", "", "Select the body text to be attached", Icon::Question},
        Refusal{"NoRecords", "\"Hello\"", "", Icon::None},
        Refusal{"NoSendmail", "\"Hello\"",
                "Install a mail transport such as msmtp-mta or postfix.\r\nNo message was sent.",
                Icon::Critical},
        Refusal{"NoAccount", "\"Hello\"", "No mail account is set up", Icon::Critical},
        Refusal{"MissingBodyFile", "nowhere.txt", "The message text is empty or could not be read.",
                Icon::Exclamation},
        Refusal{"EmptyQuotedBody", "\"\"", "The message text is empty or could not be read.",
                Icon::Exclamation},
        Refusal{"MissingAttachment", "\"Hello\"", "The attachment '", Icon::Exclamation,
                "gone.pdf"},
        Refusal{"UnreadableAttachment", "\"Hello\"", "The attachment '", Icon::Exclamation,
                "folder.pdf"}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

} // namespace
