// Email: direct sending through sendmail, and the mail link it falls back to.

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
        platform::setSendmailCommand(path(QStringLiteral("no-sendmail")));
        handler->setAppObj(tovren());
        handler->setEmailAddress(QStringLiteral("mailto:support@belvane.example"));
        handler->Push(QStringLiteral(" Address.Save "));
        handler->HandleError(QStringLiteral("Disk full "), 3640, 12);
    }
    void TearDown() override { platform::setSendmailCommand(QString()); }

    // A sendmail that keeps its arguments and the message, and exits with `status`.
    QString fakeSendmail(int status)
    {
        const QString script = path(QStringLiteral("sendmail"));
        QFile file(script);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\ncat > '%2'\n"
                                  "echo 'relay refused' >&2\nexit %3\n")
                       .arg(path(QStringLiteral("args")), path(QStringLiteral("message")))
                       .arg(status)
                       .toUtf8());
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return script;
    }
};

TEST_F(VostrelEmailTest, LinkCarriesTheTitleAndAnEscapedSummary)
{
    EXPECT_EQ(handler->Email(), 0);
    ASSERT_EQ(desktop.urls.size(), 1u);
    const QUrl url = desktop.urls[0];
    EXPECT_EQ(url.scheme() + ':' + url.path(), QStringLiteral("mailto:support@belvane.example"));
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("Subject"), QUrl::FullyDecoded),
              QStringLiteral("Tovren 1.0.5 Application Error"));
    EXPECT_EQ(query.queryItemValue(QStringLiteral("Body"), QUrl::FullyDecoded),
              QStringLiteral("#:     3640\r\nProc:  Address.Save\r\nLine:  12\r\n"
                             "Desc:  Disk full\r\n\r\nApp:   Tovren 1.0.5\r\n\r\n"
                             "Please paste Error Detail into email message (Ctrl+C)\r\n"
                             "or attach: %1\r\n")
                  .arg(path(QStringLiteral("Error.log"))));
    EXPECT_TRUE(url.toEncoded().contains("&Body=%23:%20%20%20%20%203640%0D%0AProc:%20%20Address"));
}

TEST_F(VostrelEmailTest, GivenTextsGoIntoTheLinkWithTheBodyEscaped)
{
    EXPECT_EQ(handler->Email(QStringLiteral("A & B\tC 100%"), QStringLiteral("Crash"),
                             QStringLiteral("cc@belvane.example")),
              0);
    ASSERT_EQ(desktop.urls.size(), 1u);
    EXPECT_EQ(desktop.urls[0].toEncoded(),
              "mailto:support@belvane.example?CC=cc@belvane.example&Subject=Crash"
              "&Body=A%20%26%20B%20%20%20%20%20C%20100%25");
}

TEST_F(VostrelEmailTest, MissingAddressOpensNothingAndARefusedLinkIsRetriedShorter)
{
    handler->setEmailAddress(QString());
    EXPECT_EQ(handler->Email(), -2147221504 + 1000);
    EXPECT_TRUE(desktop.urls.empty());

    // A link the desktop refuses is tried again cut to 400 characters.
    handler->setEmailAddress(QStringLiteral("mailto:support@belvane.example"));
    desktop.succeed = false;
    const QString body(600, QLatin1Char('x'));
    EXPECT_EQ(handler->Email(body, QStringLiteral("S")), 31);
    ASSERT_EQ(desktop.urls.size(), 2u);
    const QString link = QStringLiteral("mailto:support@belvane.example?Subject=S&Body=");
    EXPECT_EQ(desktop.urls[0].toString(), link + body);
    EXPECT_EQ(desktop.urls[1].toString(), link + body.left(400 - link.size()));
}

TEST_F(VostrelEmailTest, SendmailGetsTheWholeReportAsAMimeMessage)
{
    platform::setSendmailCommand(fakeSendmail(0));
    handler->setFromName(QStringLiteral("Ada Ünal"));
    handler->setFromEmailAddress(QStringLiteral("mailto:ada@belvane.example"));
    auto app = tovren().value<Vostrel::AppDescriptor>();
    app.ProductName = QStringLiteral("Tövren");
    handler->setAppObj(QVariant::fromValue(app));
    handler->HandleError(QStringLiteral("Écriture impossible = disque plein"), 61, 3);

    EXPECT_EQ(handler->Email(), 0);
    EXPECT_TRUE(desktop.urls.empty());
    EXPECT_EQ(readFile(path(QStringLiteral("args"))), QByteArray("-t -i\n"));
    const QByteArray message = readFile(path(QStringLiteral("message")));
    const qsizetype split = message.indexOf("\n\n");
    const QByteArrayList headers = message.left(split).split('\n');
    const QByteArray from = QByteArray("Ada Ünal").toBase64();
    const QByteArray title = QByteArray("Tövren 1.0.5 Application Error").toBase64();
    for (const QByteArray& header : QByteArrayList{
             "From: =?UTF-8?B?" + from + "?= <ada@belvane.example>", "To: support@belvane.example",
             "Subject: =?UTF-8?B?" + title + "?=", "MIME-Version: 1.0",
             "Content-Type: text/plain; charset=UTF-8",
             "Content-Transfer-Encoding: quoted-printable"})
        EXPECT_TRUE(headers.contains(header)) << header.constData();
    EXPECT_TRUE(message.left(split).contains("\nDate: "));

    const QByteArray encoded = message.mid(split + 2);
    for (const QByteArray& line : encoded.split('\n'))
        EXPECT_LE(line.size(), 76);
    // Undo the quoted-printable encoding: soft breaks, then =XX escapes.
    const QByteArray body = QByteArray(encoded).replace("=\n", "");
    QByteArray decoded;
    for (qsizetype i = 0; i < body.size(); ++i) {
        decoded += body[i] == '=' ? char(body.mid(i + 1, 2).toInt(nullptr, 16)) : body[i];
        i += body[i] == '=' ? 2 : 0;
    }
    EXPECT_EQ(QString::fromUtf8(decoded), withLf(handler->ErrorLogDisplay()) + QLatin1Char('\n'));
}

TEST_F(VostrelEmailTest, TransportFailuresAreNumbered)
{
    platform::MailMessage message{{},
                                  {},
                                  {QStringLiteral("support@belvane.example")},
                                  QStringLiteral("S"),
                                  QStringLiteral("B")};
    EXPECT_EQ(platform::sendMail(message).number, 53);

    platform::setSendmailCommand(fakeSendmail(75));
    const platform::MailResult refused = platform::sendMail(message);
    EXPECT_EQ(refused.number, platform::err::MailNotSent);
    EXPECT_TRUE(refused.description.contains(QStringLiteral("relay refused")));
    message.to.clear();
    EXPECT_EQ(platform::sendMail(message).number, platform::err::MailNotSent);
}

} // namespace
} // namespace vostrel_test
