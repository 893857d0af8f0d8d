// Mail method 3 secured: with "Secure connection and sign-in" checked the
// report goes over STARTTLS, signed in as the sender, to a real server with a
// certificate from the test's own authority; the envelope, headers and body
// stay those of the plain dialogue. A server that cannot prove its name or
// offers no encryption never sees the password.

#include "handler_fixture.h"

#include "platform/tls_trust.h"
#include "support/scoped_env.h"
#include "support/smtp_sink.h"
#include "support/test_ca.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace vostrel_test {
namespace {

using platform::Answer;
using testing_support::SmtpSink;
using testing_support::TestCa;

const QString password = u"pässwort 9"_s;

class VostrelSecureSmtpTest : public HandlerTest {
protected:
    void SetUp() override
    {
        HandlerTest::SetUp();
        ASSERT_TRUE(m_ca.error().isEmpty()) << m_ca.error().toStdString();
        platform::trustCertificateFile();
        handler->setUseInterface(true);
        handler->setAppObj(tovren());
        handler->setEmailAddress(u"support@belvane.example"_s);
        handler->setFromName(u"Ada Ünal"_s);
        handler->setFromEmailAddress(u"ada@belvane.example"_s);
    }

    // A server with STARTTLS and `certificate` (none: no encryption) that
    // signs in Ada with the password.
    SmtpSink sink(const QString& name, std::optional<TestCa::Server> certificate)
    {
        QStringList options{u"--user"_s, u"ada@belvane.example"_s};
        if (certificate) {
            const TestCa::Identity identity = m_ca.server(*certificate);
            options << u"--starttls"_s << identity.certificate << identity.key;
        }
        return SmtpSink(path(name), options, password);
    }
    // Mails the next report to `server` with the box checked; the password
    // is typed when it is asked for.
    void mailSecurely(const QString& server, bool asked = false)
    {
        clickInReport({"cmdEmail", "cmdOK"});
        prompts.handleModal([server](QDialog& settings) {
            child<QRadioButton>(settings, "optSmtp")->click();
            child<QLineEdit>(settings, "txtMailserver")->setText(server);
            child<QCheckBox>(settings, "chkSecure")->setChecked(true);
            child(settings, "cmdSend")->click();
        });
        if (asked)
            prompts.answerPassword(password);
        prompts.answerMessage(Answer::OK);
        handler->Push(u"frmAddress.cmdSave_Click"_s);
        handler->HandleError(u"Disk full\r\n.\r\nafter the dot"_s, 61, 3);
    }

    TestCa m_ca{path(u"ca"_s)};
    // Trusted while the test runs, forgotten after: the bundle goes with its folder.
    testing_support::ScopedEnv m_trusted{"SSL_CERT_FILE", m_ca.bundle().toUtf8()};
    testing_support::ScopedEnv m_wait{"VOSTREL_SMTP_WAIT", "5"};
};

TEST_F(VostrelSecureSmtpTest, TheReportTravelsEncryptedAndSignedInWithThePlainDialoguesLines)
{
    SmtpSink server = sink(u"sink"_s, TestCa::Server::Trusted);
    ASSERT_TRUE(server.error().isEmpty()) << server.error().toStdString();
    mailSecurely(u"localhost:%1"_s.arg(server.port()), true);

    EXPECT_EQ(prompts.messages().back().text, u"Composed Error Email in SMTP."_s);
    const QByteArray dialogue = server.dialogue();
    const QByteArray signIn =
        "AUTH PLAIN "
        + QByteArray(QByteArray("\0ada@belvane.example\0", 21) + password.toUtf8()).toBase64();
    EXPECT_TRUE(dialogue.contains("\r\nSTARTTLS\r\nEHLO ")) << dialogue.toStdString();
    const QByteArray envelope = "\r\n" + signIn
                                + "\r\nMAIL FROM:  ada@belvane.example\r\n"
                                  "RCPT TO:  support@belvane.example\r\nDATA\r\n"
                                  "FROM:  Ada Ünal\r\nDATE:  ";
    EXPECT_TRUE(dialogue.contains(envelope)) << dialogue.toStdString();
    EXPECT_TRUE(dialogue.contains("\r\n..\r\nafter the dot"));
    EXPECT_TRUE(dialogue.endsWith("\r\n.\r\nQUIT\r\n")) << dialogue.toStdString();
    const auto messages = server.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(QString::fromUtf8(messages[0].content).section(u"\r\n\r\n"_s, 1),
              handler->ErrorLogDisplay() + u"\r\n\r\n"_s);
}

// Each refused before the password is asked for or sent.
TEST_F(VostrelSecureSmtpTest, AServerThatCannotProveItsNameOrEncryptGetsNoPassword)
{
    const struct {
        std::optional<TestCa::Server> certificate;
        QString told;
    } rows[] = {
        {TestCa::Server::OtherName, u"The certificate of localhost is for another name"_s},
        {TestCa::Server::Expired, u"The certificate of localhost has expired."_s},
        {TestCa::Server::UnknownAuthority,
         u"The certificate of localhost comes from an authority this computer does not trust."_s},
        {std::nullopt, u"offers no encryption (STARTTLS); nothing was sent"_s},
    };
    int n = 0;
    for (const auto& [certificate, told] : rows) {
        SmtpSink server = sink(QString::number(++n), certificate);
        ASSERT_TRUE(server.error().isEmpty()) << server.error().toStdString();
        mailSecurely(u"localhost:%1"_s.arg(server.port()));
        const QString text = prompts.messages().back().text;
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(prompts.messages().back().title, u"SMTP Error"_s);
        EXPECT_TRUE(text.contains(u"could not be sent through the mail server localhost, port "_s
                                  + QString::number(server.port())));
        EXPECT_TRUE(text.contains(told));
        EXPECT_FALSE(server.dialogue().contains("AUTH"));
        EXPECT_TRUE(server.messages().empty());
    }
    for (const auto& prompt : prompts.recorded())
        EXPECT_NE(prompt.kind, u"password"_s);
}

} // namespace
} // namespace vostrel_test
