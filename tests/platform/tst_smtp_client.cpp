// Mail through a person's own account, against a real SMTP server: the
// dialogue as the server saw it, sign-in, refusals, and faults that must be
// told plainly with nothing sent.

#include "platform/smtp_client.h"
#include "platform/tls_trust.h"

#include "support/scoped_env.h"
#include "support/smtp_sink.h"
#include "support/test_ca.h"

#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

using platform::MailSecurity;
using platform::MailServer;
using platform::SmtpSession;
using testing_support::SmtpSink;
using testing_support::TestCa;

const QString password = QStringLiteral("pässwörd 1");

platform::MailMessage letter(const QString& to, const QString& body = QStringLiteral("Hello"))
{
    return {
        QStringLiteral("Ada"), QStringLiteral("ada@example.org"), {to}, QStringLiteral("Hi"), body};
}

class SmtpClientTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_ca.error().isEmpty()) << m_ca.error().toStdString();
        platform::trustCertificateFile();
    }
    QString folder(const QString& name) const { return m_dir.path() + '/' + name; }
    QStringList trusted(const char* option) const
    {
        const TestCa::Identity identity = m_ca.server(TestCa::Server::Trusted);
        return {option, identity.certificate, identity.key};
    }

private:
    QTemporaryDir m_dir;
    TestCa m_ca{m_dir.path() + "/ca"};
    // Trusted while the test runs, forgotten after: the bundle goes with its folder.
    testing_support::ScopedEnv m_trusted{"SSL_CERT_FILE", m_ca.bundle().toUtf8()};
};

// Each line the client sent (decrypted), the password's base64 as it must
// travel, for each security and sign-in.
TEST_F(SmtpClientTest, DialogueOfEachSecurityAndSignInAsTheServerSawIt)
{
    const QByteArray plain = QByteArray(QByteArray("\0ada\0", 5) + password.toUtf8()).toBase64();
    const QByteArray user = QByteArray("ada").toBase64(), secret = password.toUtf8().toBase64();
    const QByteArray ehlo = "EHLO [^\r\n]+\r\n";
    const struct {
        QStringList options;
        MailSecurity security;
        QString user;
        QByteArray opening; // a pattern
        QByteArray signIn;
    } rows[] = {
        {{}, MailSecurity::None, QString(), ehlo, ""},
        {{"--user", "ada"}, MailSecurity::None, "ada", ehlo, "AUTH PLAIN " + plain + "\r\n"},
        {{"--user", "ada", "--mechanism", "LOGIN"},
         MailSecurity::None,
         "ada",
         ehlo,
         "AUTH LOGIN\r\n" + user + "\r\n" + secret + "\r\n"},
        {trusted("--starttls") << "--user"
                               << "ada",
         MailSecurity::StartTls, "ada", ehlo + "STARTTLS\r\n" + ehlo,
         "AUTH PLAIN " + plain + "\r\n"},
        {trusted("--tls") << "--user"
                          << "ada",
         MailSecurity::Tls, "ada", ehlo, "AUTH PLAIN " + plain + "\r\n"},
    };
    int n = 0;
    for (const auto& [options, security, name, opening, signIn] : rows) {
        SCOPED_TRACE(options.join(' ').toStdString());
        SmtpSink sink(folder(QString::number(++n)), options, password);
        ASSERT_TRUE(sink.error().isEmpty()) << sink.error().toStdString();
        SmtpSession session;
        const MailServer server{"127.0.0.1", sink.port(), security, name};
        ASSERT_EQ(session.open(server, password).description, QString());
        ASSERT_EQ(session.send(letter("bo@example.org", ".a dot\n.")).description, QString());
        session.close();

        const QRegularExpression dialogue(
            "^" + opening + QRegularExpression::escape(signIn)
                + "MAIL FROM:<ada@example.org>\r\nRCPT TO:<bo@example.org>\r\nDATA\r\n"
                  "[^\n]+\r\n.*\r\n\\.\r\nQUIT\r\n$",
            QRegularExpression::DotMatchesEverythingOption);
        EXPECT_TRUE(dialogue.match(QString::fromUtf8(sink.dialogue())).hasMatch())
            << sink.dialogue().toStdString();
        ASSERT_EQ(sink.messages().size(), 1u);
        EXPECT_EQ(sink.messages()[0].read["body"], QStringLiteral(".a dot\n.\n"));
    }
}

// A refused sender or recipient costs its message only: the next one goes
// through on the same connection.
TEST_F(SmtpClientTest, OneConnectionCarriesEveryMessagePastARefusal)
{
    SmtpSink sink(folder("sink"));
    ASSERT_TRUE(sink.error().isEmpty()) << sink.error().toStdString();
    SmtpSession session;
    ASSERT_EQ(session.open({"127.0.0.1", sink.port(), MailSecurity::None}, QString()).number, 0);
    platform::MailMessage fromRefused = letter("bo@example.org");
    fromRefused.fromAddress = "refused@example.org";
    const struct {
        platform::MailMessage message;
        QString told;
    } rows[] = {
        {letter("refused@example.org"),
         "refused the recipient <refused@example.org> (127.0.0.1:%1: 550 No such user here)"},
        {fromRefused, "refused the sender (127.0.0.1:%1: 553 Sender not allowed)"},
        {letter("bo@example.org>\r\nRCPT TO:<eve@example.org"),
         "'bo@example.org>\r\nRCPT TO:<eve@example.org' is not a valid e-mail address."},
        {letter("bo@example.org"), ""},
        {letter("cy@example.org"), ""},
    };
    for (const auto& [message, told] : rows) {
        const QString description = session.send(message).description;
        EXPECT_EQ(description.isEmpty(), told.isEmpty()) << description.toStdString();
        EXPECT_TRUE(told.isEmpty() || description.contains(told.arg(sink.port())))
            << description.toStdString();
    }
    session.close();
    EXPECT_EQ(sink.messages().size(), 2u);
    EXPECT_EQ(sink.connections(), 1);
    EXPECT_EQ(sink.dialogue().count("RSET\r\nMAIL FROM:"), 2) << sink.dialogue().toStdString();
    EXPECT_FALSE(sink.dialogue().contains("eve@")) << sink.dialogue().toStdString();
}

// Where the server takes pipelining, the envelope leaves in one piece. A
// refusal costs its message only, but an envelope refused with DATA taken
// ends the connection rather than sending an empty message.
TEST_F(SmtpClientTest, PipeliningSendsTheEnvelopeAtOnceAndNoEmptyMessage)
{
    SmtpSink sink(folder("sink"), {"--pipelining"});
    ASSERT_TRUE(sink.error().isEmpty()) << sink.error().toStdString();
    SmtpSession session;
    ASSERT_EQ(session.open({"127.0.0.1", sink.port(), MailSecurity::None}, QString()).number, 0);
    platform::MailMessage two = letter("bo@example.org");
    two.to << "refused@example.org";
    const struct {
        platform::MailMessage message;
        QString told;
    } rows[] = {
        {letter("refused@example.org"), "refused the recipient <refused@example.org>"},
        {letter("bo@example.org"), ""},
        {two, "refused the recipient <refused@example.org>"},
        {letter("cy@example.org"), "The connection to the mail server 127.0.0.1:%1 was closed."},
    };
    for (const auto& [message, told] : rows) {
        const QString description = session.send(message).description;
        EXPECT_EQ(description.isEmpty(), told.isEmpty()) << description.toStdString();
        EXPECT_TRUE(description.contains(told.arg(sink.port()))) << description.toStdString();
    }
    ASSERT_EQ(sink.messages().size(), 1u);
    EXPECT_EQ(sink.messages()[0].to, QStringList{"bo@example.org"});
    EXPECT_TRUE(sink.reads().contains(
        "MAIL FROM:<ada@example.org>\r\nRCPT TO:<bo@example.org>\r\nDATA\r\n"))
        << sink.dialogue().toStdString();
}

// Each fault in words a person can act on, and no message leaves.
TEST_F(SmtpClientTest, FaultsAreToldPlainly)
{
    SmtpSink plain(folder("plain")), signIn(folder("auth"), {"--user", "ada"}, password);
    ASSERT_TRUE(plain.error().isEmpty() && signIn.error().isEmpty());
    const quint16 closedPort = testing_support::closedPort();
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
