// Tools, Mail Account, and Generate Emails through it, against a real SMTP
// server that wants STARTTLS and a sign-in: the account kept between runs without its
// password, one connection a Send, the password asked once and never
// written anywhere, a refused sign-in told with nothing sent.

#include "card/card_fixture.h"
#include "core/program.h"
#include "output/frmeml.h"
#include "output/frmmailaccount.h"
#include "platform/mail_transport.h"
#include "platform/profile_file.h"
#include "platform/tls_trust.h"
#include "support/scoped_env.h"
#include "support/file_replacements.h"
#include "support/smtp_sink.h"
#include "support/test_ca.h"

#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

using platform::Answer;

const QString password = "sécret-Passwort 7";

class MailAccountTest : public CardTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_ca.error().isEmpty()) << m_ca.error().toStdString();
        ASSERT_TRUE(m_sink.error().isEmpty()) << m_sink.error().toStdString();
        platform::trustCertificateFile();
    }
    void TearDown() override { platform::setSendmailCommand(QString()); }

    // Tools, Mail Account: the account typed in, then `person` acts.
    void setUpAccount(const std::function<void(frmMailAccount&)>& person)
    {
        m_prompts.handleModal([&](QDialog& dialog) {
            auto& account = dynamic_cast<frmMailAccount&>(dialog);
            account.txtServer->setText("localhost");
            account.cboSecurity->setCurrentIndex(int(platform::MailSecurity::StartTls));
            account.spnPort->setValue(m_sink.port());
            account.txtUser->setText("ada");
            account.txtSenderName->setText("Ada Ünal");
            account.txtSenderAddress->setText("ada@example.org");
            person(account);
        });
        trigger("mnuMailAccount");
    }
    // Tools, Email through the account to the card's contacts; `typed`
    // answers the password's question when it is asked.
    void sendThroughAccount(std::optional<QString> typed = std::nullopt)
    {
        m_prompts.handleModal([](QDialog& dialog) {
            auto& eml = dynamic_cast<frmEml&>(dialog);
            EXPECT_EQ(eml.cboTransport->currentIndex(), 1) << "no sendmail: the account";
            eml.txtFld[0]->setText("News");
            eml.txtFld[1]->setText("\"We have moved.\"");
            eml.cmdSend->click();
            dialog.reject();
        });
        if (typed)
            m_prompts.answerPassword(*typed);
        m_prompts.answerMessage(Answer::OK);
        trigger("mnuEml");
    }
    qsizetype passwordQuestions() const
    {
        return std::count_if(m_prompts.recorded().begin(), m_prompts.recorded().end(),
                             [](const auto& prompt) { return prompt.kind == "password"; });
    }

    testing_support::TestCa m_ca{home("ca")};
    // Trusted while the test runs, forgotten after: the bundle goes with its folder.
    testing_support::ScopedEnv m_trusted{"SSL_CERT_FILE", m_ca.bundle().toUtf8()};
    const testing_support::TestCa::Identity m_identity =
        m_ca.server(testing_support::TestCa::Server::Trusted);
    testing_support::SmtpSink m_sink{
        home("sink"),
        {"--starttls", m_identity.certificate, m_identity.key, "--user", "ada"},
        password};
};

TEST_F(MailAccountTest, OneConnectionASendThePasswordAskedOnceAndWrittenNowhere)
{
    openCard({"Bo", "Cy", "Di"});
    sql("UPDATE Address SET EmlAddr = lower(Name) || '@example.org'");
    trigger("mnuRefresh");
    platform::setSendmailCommand(home("no-sendmail"));
    // Send Test Message asks the password; OK keeps the account, Address.ini
    // replaced once.
    const testing_support::FileReplacements saved(tovren::settingsFile());
    setUpAccount([this](frmMailAccount& account) {
        m_prompts.answerPassword(password).answerMessage(Answer::OK);
        account.cmdTest->click();
        account.accept();
    });
    EXPECT_EQ(lastMessage(), "The test message was sent to ada@example.org.");
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(platform::readProfileString(tovren::settingsFile(), "Mail", "SenderAddress"),
              "ada@example.org");

    sendThroughAccount();
    EXPECT_EQ(lastMessage(), "3 messages were sent.");
    sendThroughAccount();
    EXPECT_EQ(passwordQuestions(), 1);
    // The test message, then one connection for each Send.
    EXPECT_EQ(m_sink.connections(), 3);
    const auto mail = m_sink.messages();
    ASSERT_EQ(mail.size(), 7u);
    EXPECT_EQ(mail[1].to, QStringList{"bo@example.org"});
    const QJsonArray ada{"Ada Ünal", "ada@example.org"};
    EXPECT_EQ(mail[1].read["from"], QJsonArray{ada});
    EXPECT_EQ(mail[1].read["body"], "Dear Bo,\n\nWe have moved.\n");

    // Address.ini, the logs, the book: not a byte of the password.
    for (QDirIterator file(home(), QDir::Files, QDirIterator::Subdirectories); file.hasNext();) {
        const QString path = file.next();
        if (!path.startsWith(home("sink"))) {
            EXPECT_FALSE(testing_support::readBytes(path).contains(password.toUtf8()))
                << path.toStdString();
        }
    }
}

// A password typed in the dialog is kept (here, no keyring runs: for the
// run) and used without a question; refused, it is forgotten and the next
// Send asks.
TEST_F(MailAccountTest, ARefusedSignInSendsNothingAndAsksAgain)
{
    openCard({"Bo"});
    sql("UPDATE Address SET EmlAddr = 'bo@example.org'");
    trigger("mnuRefresh");
    platform::setSendmailCommand(home("no-sendmail"));
    setUpAccount([](frmMailAccount& account) {
        account.txtPassword->setText("wrong");
        account.accept();
    });

    sendThroughAccount();
    EXPECT_TRUE(lastMessage().startsWith(
        QString("Sign-in refused for ada (localhost:%1: 535").arg(m_sink.port())))
        << lastMessage().toStdString();
    EXPECT_TRUE(lastMessage().endsWith("No message was sent.")) << lastMessage().toStdString();
    EXPECT_TRUE(m_sink.messages().empty());
    EXPECT_EQ(passwordQuestions(), 0);

    sendThroughAccount(password);
    EXPECT_EQ(lastMessage(), "1 message was sent.");
    EXPECT_EQ(passwordQuestions(), 1);
}

// What Address.ini holds is read as far as it makes sense: a port that is
// no port, or an unknown security, gives way to the usual.
using MailSettings = CardTest;

TEST_F(MailSettings, OddValuesGiveWayToTheUsualOnes)
{
    using platform::MailSecurity;
    const struct {
        QString port, security;
        quint16 readPort;
        MailSecurity readSecurity;
    } rows[] = {
        {"", "", 587, MailSecurity::StartTls},
        {"", "TLS", 465, MailSecurity::Tls},
        {"2525", " none ", 2525, MailSecurity::None},
        {"99999", "ssl", 587, MailSecurity::StartTls},
        {"-25", "starttls", 587, MailSecurity::StartTls},
        {"25 ; comment", QString(5000, 'x'), 587, MailSecurity::StartTls},
    };
    for (const auto& [port, security, readPort, readSecurity] : rows) {
        platform::writeProfileString(tovren::settingsFile(), "Mail", "Port", port);
        platform::writeProfileString(tovren::settingsFile(), "Mail", "Security", security);
        const tovren::MailAccount account = tovren::readMailAccount();
        EXPECT_EQ(account.server.port, readPort) << port.toStdString();
        EXPECT_EQ(account.server.security, readSecurity) << security.left(20).toStdString();
    }
}

} // namespace
