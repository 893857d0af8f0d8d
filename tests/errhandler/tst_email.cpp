// Email without a mail transport: the mail link it falls back to. (Direct
// sending through sendmail is tested with the report window's System Mail.)

#include "handler_fixture.h"

#include "platform/mail_transport.h"

#include <QUrlQuery>

namespace vostrel_test {
namespace {

class VostrelEmailTest : public HandlerTest {
protected:
    void SetUp() override
    {
        HandlerTest::SetUp();
        // No mail transport: every mailing falls back to the link.
        platform::setSendmailCommand(path(u"no-sendmail"_s));
        handler->setAppObj(tovren());
        handler->setEmailAddress(u"mailto:support@belvane.example"_s);
        handler->Push(u" Address.Save "_s);
        handler->HandleError(u"Disk full "_s, 3640, 12);
    }
    void TearDown() override { platform::setSendmailCommand(QString()); }
};

// Without texts the link carries the report's title and a summary of it.
TEST_F(VostrelEmailTest, LinkCarriesTheGivenTextsOrTheTitleAndASummary)
{
    EXPECT_EQ(handler->Email(), 0);
    EXPECT_EQ(handler->Email(u"A & B\tC 100%"_s, u"Crash"_s, u"cc@belvane.example"_s), 0);
    ASSERT_EQ(desktop.urls.size(), 2u);
    const QUrlQuery query(desktop.urls[0]);
    EXPECT_EQ(query.queryItemValue(u"Subject"_s, QUrl::FullyDecoded),
              u"Tovren 1.0.5 Application Error"_s);
    EXPECT_EQ(query.queryItemValue(u"Body"_s, QUrl::FullyDecoded),
              u"#:     3640\r\nProc:  Address.Save\r\nLine:  12\r\n"
              "Desc:  Disk full\r\n\r\nApp:   Tovren 1.0.5\r\n\r\n"
              "Please paste Error Detail into email message (Ctrl+C)\r\n"
              "or attach: %1\r\n"_s.arg(path(u"Error.log"_s)));
    EXPECT_TRUE(desktop.urls[0].toEncoded().startsWith(
        "mailto:support@belvane.example?Subject=Tovren%201.0.5%20Application%20Error"
        "&Body=%23:%20%20%20%20%203640%0D%0AProc:%20%20Address"));
    EXPECT_EQ(desktop.urls[1].toEncoded(),
              "mailto:support@belvane.example?CC=cc@belvane.example&Subject=Crash"
              "&Body=A%20%26%20B%20%20%20%20%20C%20100%25");
}

TEST_F(VostrelEmailTest, MissingAddressOpensNothingAndARefusedLinkIsRetriedShorter)
{
    handler->setEmailAddress(QString());
    EXPECT_EQ(handler->Email(), -2147221504 + 1000);
    EXPECT_TRUE(desktop.urls.empty());

    // A link the desktop refuses is tried again cut to 400 characters.
    handler->setEmailAddress(u"mailto:support@belvane.example"_s);
    desktop.succeed = false;
    const QString body(600, QLatin1Char('x'));
    EXPECT_EQ(handler->Email(body, u"S"_s), 31);
    ASSERT_EQ(desktop.urls.size(), 2u);
    const QString link = u"mailto:support@belvane.example?Subject=S&Body="_s;
    EXPECT_EQ(desktop.urls[0].toString(), link + body);
    EXPECT_EQ(desktop.urls[1].toString(), link + body.left(400 - link.size()));
}

// A missing sendmail, one that fails and a message without recipient.
TEST_F(VostrelEmailTest, TransportFailuresAreNumbered)
{
    platform::MailMessage message{{}, {}, {u"support@belvane.example"_s}, u"S"_s, u"B"_s};
    EXPECT_EQ(platform::sendMail(message).number, 53);
    platform::setSendmailCommand(u"/bin/false"_s);
    EXPECT_EQ(platform::sendMail(message).number, platform::err::MailNotSent);
    message.to.clear();
    EXPECT_EQ(platform::sendMail(message).number, platform::err::MailNotSent);
}

} // namespace
} // namespace vostrel_test
