// Email: direct sending through sendmail, and the mail link it falls back to.

#include "handler_fixture.h"

#include "platform/mail_transport.h"
#include "support/smtp_sink.h"

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

    // A sendmail that keeps its arguments and the message, and exits with `status`.
    QString fakeSendmail(int status)
    {
        const QString script = path(u"sendmail"_s);
        EXPECT_TRUE(testing_support::writeBytes(
            script, u"#!/bin/sh\necho \"$@\" > '%1'\ncat > '%2'\n"
                    "echo 'relay refused' >&2\nexit %3\n"_s.arg(path(u"args"_s), path(u"message"_s))
                        .arg(status)
                        .toUtf8()));
        QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
        return script;
    }
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

TEST_F(VostrelEmailTest, SendmailCarriesTheWholeReportAsAMimeMessage)
{
    testing_support::SmtpSink sink(path(u"sink"_s));
    ASSERT_TRUE(sink.error().isEmpty()) << sink.error().toStdString();
    platform::setSendmailCommand(sink.sendmail(path(u"args"_s)));
    handler->setFromName(u"Ada Ünal"_s);
    handler->setFromEmailAddress(u"mailto:ada@belvane.example"_s);
    handler->setAppObj(tovren(u"/opt/tovren"_s, u"Tövren"_s));
    handler->HandleError(u"Écriture impossible = disque plein\r\n.\r\nfin"_s, 61, 3);

    EXPECT_EQ(handler->Email(), 0);
    EXPECT_TRUE(desktop.urls.empty());
    EXPECT_EQ(readBytes(path(u"args"_s)), QByteArray("-t -i\n"));
    const auto arrived = sink.messages();
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].to, QStringList{u"support@belvane.example"_s});
    const QByteArray message = arrived[0].content;
    const qsizetype split = message.indexOf("\r\n\r\n");
    const QByteArrayList headers = message.left(split).replace("\r\n", "\n").split('\n');
    // VMime's encoded words: "Q" encoding, the charset in lower case.
    for (const QByteArray& header : QByteArrayList{
             "From: =?utf-8?Q?Ada_=C3=9Cnal?= <ada@belvane.example>", "To: support@belvane.example",
             "Subject: =?utf-8?Q?T=C3=B6vren_1=2E0=2E5_Application_Error?=", "Mime-Version: 1.0",
             "Content-Type: text/plain; charset=utf-8",
             "Content-Transfer-Encoding: quoted-printable"})
        EXPECT_TRUE(headers.contains(header)) << header.constData();
    EXPECT_TRUE(message.left(split).contains("\nDate: "));

    const QByteArray encoded = message.mid(split + 4);
    for (const QByteArray& line : encoded.split('\n'))
        EXPECT_LE(line.size(), 77);
    // Undo the quoted-printable encoding: soft breaks, then =XX escapes.
    const QByteArray decoded =
        QByteArray::fromPercentEncoding(QByteArray(encoded).replace("=\r\n", ""), '=');
    EXPECT_EQ(QString::fromUtf8(decoded), handler->ErrorLogDisplay() + u"\r\n"_s);
}

TEST_F(VostrelEmailTest, TransportFailuresAreNumbered)
{
    platform::MailMessage message{{}, {}, {u"support@belvane.example"_s}, u"S"_s, u"B"_s};
    EXPECT_EQ(platform::sendMail(message).number, 53);

    platform::setSendmailCommand(fakeSendmail(75));
    const platform::MailResult refused = platform::sendMail(message);
    EXPECT_EQ(refused.number, platform::err::MailNotSent);
    EXPECT_TRUE(refused.description.contains(u"relay refused"_s));
    message.to.clear();
    EXPECT_EQ(platform::sendMail(message).number, platform::err::MailNotSent);
}

} // namespace
} // namespace vostrel_test
