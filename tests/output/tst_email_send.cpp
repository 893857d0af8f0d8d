// Generate Emails sending through a real sendmail to a real SMTP server:
// personal and common messages, attachments byte for byte, contacts that
// cannot be mailed safely, and sending that fails or is cancelled midway.

#include "mail_fixture.h"

#include "records/address.h"

#include <QProgressDialog>
#include <QTimer>

namespace {

using platform::Answer;
using platform::Icon;

const QByteArray kBinary = [] {
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    return bytes + "\r\n.\r\nend";
}();

TEST_F(MailTest, PersonalMessagesCarryGreetingSubjectAndAttachments)
{
    frmAddress& card =
        openBook({{"Ada Ünal", "ada@example.org"}, {"Bo", ""}, {"Cy", "cy@example.org"}});
    trigger("mnuNext");
    writeFile("body.txt", "Our new office opens on Monday, 9 o'clock.\nSee you there.\n");
    writeFile("plan.bin", kBinary);
    writeFile("Bericht für Ünal.txt", "Grüße\n");
    compose([&](frmEml& eml) {
        m_prompts.answerOpenFile(home("plan.bin")).answerOpenFile(home("Bericht für Ünal.txt"));
        eml.cmdAdd->click();
        eml.cmdAdd->click();
        m_prompts.answerMessage(Answer::OK);
        send(eml, "Grüße aus Pune: the new office", "body.txt");
    });

    EXPECT_EQ(readFile("args"), "-t -i\n");
    EXPECT_EQ(envelopes(), QStringList({"ada@example.org", "cy@example.org"}));
    const QJsonArray mail = arrived();
    ASSERT_EQ(mail.size(), 2);
    const QStringList names{"Ada Ünal", "Cy"};
    for (int i = 0; i < 2; ++i) {
        const QJsonObject message = mail[i].toObject();
        EXPECT_EQ(message["to"].toArray(), QJsonArray({QJsonArray({names[i], envelopes()[i]})}));
        EXPECT_EQ(message["subject"].toString(), "Grüße aus Pune: the new office");
        EXPECT_EQ(message["body"].toString().replace("\r\n", "\n"),
                  "Dear " + names[i]
                      + ",\n\nOur new office opens on Monday, 9 o'clock.\nSee you there.\n");
        const QJsonArray files = message["attachments"].toArray();
        ASSERT_EQ(files.size(), 2);
        EXPECT_EQ(files[0].toArray()[0].toString(), "plan.bin");
        EXPECT_EQ(QByteArray::fromBase64(files[0].toArray()[1].toString().toLatin1()), kBinary);
        EXPECT_EQ(files[1].toArray()[0].toString(), "Bericht für Ünal.txt");
        EXPECT_EQ(QByteArray::fromBase64(files[1].toArray()[1].toString().toLatin1()),
                  QByteArray("Grüße\n"));
    }
    EXPECT_EQ(lastMessage(), "2 messages were sent.\r\n\r\nNot mailed:\r\nBo: no e-mail address");
    EXPECT_EQ(m_prompts.messages().back().icon, Icon::Information);
    // The walk moved the card's rows; the card is back on Bo.
    EXPECT_EQ(card.cls1()->AbsPos(), 2);
}

TEST_F(MailTest, CommonMessageGoesOnceToEveryAddressWithAQuotedBody)
{
    openBook({{"Ada", "ada@example.org"}, {"Bo", ""}, {"Cy", "cy@example.org"}});
    compose([&](frmEml& eml) {
        m_prompts.answerMessage(Answer::OK);
        send(eml, "Minutes", "\"Please find the minutes below.\"", true);
    });
    EXPECT_EQ(envelopes(), QStringList{"ada@example.org, cy@example.org"});
    const QJsonObject message = arrived()[0].toObject();
    EXPECT_EQ(message["to"].toArray(), QJsonArray({QJsonArray({"Ada", "ada@example.org"}),
                                                   QJsonArray({"Cy", "cy@example.org"})}));
    EXPECT_EQ(message["body"].toString().replace("\r\n", "\n"),
              "Dear Ada, Cy,\n\nPlease find the minutes below.\n");
    EXPECT_EQ(lastMessage(), "1 message was sent.\r\n\r\nNot mailed:\r\nBo: no e-mail address");
}

// A line break in a name, or a comma or brackets in an address, must not
// add headers or recipients: names are encoded, such addresses refused.
TEST_F(MailTest, ContactsThatCouldInjectHeadersOrRecipientsAreEncodedOrSkipped)
{
    const QString eve = "Eve\r\nBcc: mallory@evil.example";
    openBook({{eve, "eve@example.org"},
              {"Mal, Lory", "mal@example.org, boss@evil.example"},
              {"Angle", "Angle <angle@evil.example>"},
              {"Nl", "nl@example.org\r\nBcc: mallory@evil.example"},
              {"Ann", "ann@example.org"}});
    for (const bool common : {false, true}) {
        compose([&](frmEml& eml) {
            m_prompts.answerMessage(Answer::OK);
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
    const QJsonArray evesBox{"Eve Bcc: mallory@evil.example", "eve@example.org"};
    const QJsonArray annsBox{"Ann", "ann@example.org"};
    const QJsonArray mail = arrived();
    ASSERT_EQ(mail.size(), 3);
    const QList<QJsonArray> to{{evesBox}, {annsBox}, {evesBox, annsBox}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(mail[i]["headers"].toArray().contains("bcc"));
        EXPECT_EQ(mail[i]["subject"].toString(), "Hi Bcc: mallory@evil.example");
        EXPECT_EQ(mail[i]["to"].toArray(), to[i]);
    }
}

TEST_F(MailTest, AFailureMidwayTellsHowManyWentAndTheNextSendCanSkipThem)
{
    openBook({{"Ada", "ada@example.org"},
              {"Bo", "bo@example.org"},
              {"Cy", "cy@example.org"},
              {"Di", "di@example.org"}});
    failAfter(2);
    compose([&](frmEml& eml) {
        m_prompts.answerMessage(Answer::OK);
        send(eml, "News", "\"Hello\"");
        EXPECT_TRUE(
            lastMessage().startsWith("Sending stopped after 2 of 4 messages had gone out: "))
            << lastMessage().toStdString();
        EXPECT_TRUE(lastMessage().contains("relay refused"));
        EXPECT_EQ(m_prompts.messages().back().icon, Icon::Exclamation);

        // Send again, the transport mended: only those not yet mailed.
        platform::setSendmailCommand(m_sink.sendmail(home("args")));
        m_prompts.answerMessage(Answer::Yes).answerMessage(Answer::OK);
        eml.cmdSend->click();
        EXPECT_TRUE(m_prompts.messages().end()[-2].text.startsWith(
            "The last Send stopped early: 2 of these contacts have already been mailed."));
        EXPECT_EQ(lastMessage(), "2 messages were sent.");
        // Complete now: a third Send asks nothing and mails everyone.
        m_prompts.answerMessage(Answer::OK);
        eml.cmdSend->click();
    });
    EXPECT_EQ(envelopes(), QStringList({"ada@example.org", "bo@example.org", "cy@example.org",
                                        "di@example.org", "ada@example.org", "bo@example.org",
                                        "cy@example.org", "di@example.org"}));
}

TEST_F(MailTest, CancellingTheProgressStopsBetweenMessages)
{
    openBook({{"Ada", "ada@example.org"}, {"Bo", "bo@example.org"}, {"Cy", "cy@example.org"}});
    compose([&](frmEml& eml) {
        // The person presses Cancel once the first message has gone.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* progress = eml.findChild<QProgressDialog*>();
            if (progress && progress->value() >= 1)
                progress->cancel();
        });
        watch.start(1);
        m_prompts.answerMessage(Answer::OK);
        send(eml, "News", "\"Hello\"");
    });
    EXPECT_EQ(lastMessage(), "Sending was cancelled after 1 of 3 messages had gone out.");
    EXPECT_EQ(envelopes(), QStringList{"ada@example.org"});
}

} // namespace
