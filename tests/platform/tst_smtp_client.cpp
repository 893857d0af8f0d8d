// Mail through a person's own account, against a real SMTP server: the
// dialogue as the server saw it, sign-in, refusals, and faults that must be
// told plainly with nothing sent.

#include "platform/smtp_client.h"

#include "support/smtp_sink.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>

namespace {

using platform::MailSecurity;
using platform::MailServer;
using platform::SmtpSession;
using testing_support::SmtpSink;

const QString password = QStringLiteral("pässwörd 1");

platform::MailMessage letter(const QString& to, const QString& body = QStringLiteral("Hello"))
{
    return {
        QStringLiteral("Ada"), QStringLiteral("ada@example.org"), {to}, QStringLiteral("Hi"), body};
}

class SmtpClientTest : public ::testing::Test {
protected:
    QString folder(const QString& name) const { return m_dir.path() + '/' + name; }

private:
    QTemporaryDir m_dir;
};

// Each line the client sent, the password's base64 as it must travel.
TEST_F(SmtpClientTest, DialogueOfEachSignInAsTheServerSawIt)
{
    const QByteArray plain = QByteArray(QByteArray("\0ada\0", 5) + password.toUtf8()).toBase64();
    const QByteArray user = QByteArray("ada").toBase64(), secret = password.toUtf8().toBase64();
    const struct {
        QStringList options;
        QString user;
        QByteArray signIn;
    } rows[] = {
        {{}, QString(), ""},
        {{"--user", "ada"}, "ada", "AUTH PLAIN " + plain + "\r\n"},
        {{"--user", "ada", "--mechanism", "LOGIN"},
         "ada",
         "AUTH LOGIN\r\n" + user + "\r\n" + secret + "\r\n"},
    };
    int n = 0;
    for (const auto& [options, name, signIn] : rows) {
        SmtpSink sink(folder(QString::number(++n)), options, password);
        ASSERT_TRUE(sink.error().isEmpty()) << sink.error().toStdString();
        SmtpSession session;
        const MailServer server{"127.0.0.1", sink.port(), MailSecurity::None, name};
        ASSERT_EQ(session.open(server, password).description, QString());
        ASSERT_EQ(session.send(letter("bo@example.org", ".a dot\n.")).description, QString());
        session.close();

        const QRegularExpression dialogue(
            "^EHLO [^\r\n]+\r\n" + QRegularExpression::escape(signIn)
                + "MAIL FROM:<ada@example.org>\r\nRCPT TO:<bo@example.org>\r\nDATA\r\n"
                  "[^\n]+\r\n.*\r\n\\.\r\nQUIT\r\n$",
            QRegularExpression::DotMatchesEverythingOption);
        EXPECT_TRUE(dialogue.match(QString::fromUtf8(sink.dialogue())).hasMatch())
            << sink.dialogue().toStdString();
        ASSERT_EQ(sink.messages().size(), 1u);
        EXPECT_EQ(sink.messages()[0].read["body"], QStringLiteral(".a dot\n.\n"));
    }
}

// A refused recipient costs its message only: the next one goes through on
// the same connection.
TEST_F(SmtpClientTest, OneConnectionCarriesEveryMessagePastARefusal)
{
    SmtpSink sink(folder("sink"));
    ASSERT_TRUE(sink.error().isEmpty()) << sink.error().toStdString();
    SmtpSession session;
    ASSERT_EQ(session.open({"127.0.0.1", sink.port(), MailSecurity::None}, {}).number, 0);
    const QString refused = session.send(letter("refused@example.org")).description;
    EXPECT_TRUE(refused.contains("refused the recipient <refused@example.org>"))
        << refused.toStdString();
    EXPECT_TRUE(refused.contains("550 No such user here")) << refused.toStdString();
    EXPECT_EQ(session.send(letter("bo@example.org")).number, 0);
    EXPECT_EQ(session.send(letter("cy@example.org")).number, 0);
    session.close();
    EXPECT_EQ(sink.messages().size(), 2u);
    EXPECT_EQ(sink.connections(), 1);
    EXPECT_TRUE(sink.dialogue().contains("RSET\r\nMAIL FROM:")) << sink.dialogue().toStdString();
}

// Each fault in words a person can act on, and no message leaves.
TEST_F(SmtpClientTest, FaultsAreToldPlainly)
{
    SmtpSink plain(folder("plain")), signIn(folder("auth"), {"--user", "ada"}, password);
    ASSERT_TRUE(plain.error().isEmpty() && signIn.error().isEmpty());
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 closedPort = closed.serverPort();
    closed.close();
    const struct {
        MailServer server;
        QString password;
        QString told;
    } rows[] = {
        {{"no-such-host.invalid", 587, MailSecurity::None},
         {},
         "The name of the mail server no-such-host.invalid could not be resolved"},
        {{"127.0.0.1", closedPort, MailSecurity::None},
         {},
         QString("No connection to the mail server 127.0.0.1:%1: Connection refused")
             .arg(closedPort)},
        {{"127.0.0.1", plain.port(), MailSecurity::StartTls},
         {},
         "offers no encryption (STARTTLS); nothing was sent"},
        {{"127.0.0.1", signIn.port(), MailSecurity::None, "ada"},
         "wrong",
         QString("Sign-in refused for ada (127.0.0.1:%1: 535").arg(signIn.port())},
        {{"127.0.0.1", plain.port(), MailSecurity::None, "ada"},
         password,
         "offers no sign-in that Tovren knows"},
    };
    for (const auto& [server, secret, told] : rows) {
        SCOPED_TRACE(told.toStdString());
        SmtpSession session(2000);
        const QString description = session.open(server, secret).description;
        EXPECT_TRUE(description.contains(told)) << description.toStdString();
    }
    EXPECT_TRUE(plain.messages().empty() && signIn.messages().empty());
    EXPECT_FALSE(plain.dialogue().contains("AUTH"));
}

} // namespace
