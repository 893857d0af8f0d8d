// The report window's mail buttons: the mail settings dialog's course, and
// mailing by the desktop's mail link and by the system's sendmail.

#include "handler_fixture.h"

#include "platform/mail_transport.h"
#include "support/smtp_sink.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QUrlQuery>

namespace vostrel_test {
namespace {

using platform::Answer;

class VostrelMailMethodsTest : public HandlerTest {
protected:
    void SetUp() override
    {
        HandlerTest::SetUp();
        handler->setUseInterface(true);
        handler->setAppObj(tovren());
        handler->setEmailAddress(u"support@belvane.example"_s);
        handler->Push(u"frmAddress.cmdSave_Click"_s);
    }
    void TearDown() override { platform::setSendmailCommand(QString()); }

    static void setText(QDialog& dialog, const char* box, const QString& text)
    {
        child<QLineEdit>(dialog, box)->setText(text);
    }
    // Whether each of the three text boxes takes typing.
    static QList<bool> boxesOn(QDialog& dialog)
    {
        QList<bool> on;
        for (QLineEdit* box : dialog.findChildren<QLineEdit*>())
            on << box->isEnabled();
        return on;
    }
};

TEST_F(VostrelMailMethodsTest, SettingsAreCheckedKeptWhileHiddenAndForgottenWhenClosed)
{
    clickInReport({"cmdEmlSet", "cmdEmlSet", "cmdEmlSet"});
    prompts
        .handleModal([](QDialog& settings) {
            settings.show();
            EXPECT_TRUE(child<QRadioButton>(settings, "optOutlook")->isChecked());
            EXPECT_EQ(boxesOn(settings), QList<bool>(3, false));
            child<QRadioButton>(settings, "optSmtp")->click();
            EXPECT_EQ(boxesOn(settings), QList<bool>(3, true));
            // Each missing value is asked for in turn; the dialog stays.
            child(settings, "cmdSend")->click();
            setText(settings, "txtMailserver", u"smtp.belvane.example"_s);
            setText(settings, "txtFrom", u"Ada"_s);
            child(settings, "cmdSend")->click();
            EXPECT_TRUE(settings.isVisible());
            // Checked and unchecked again: the dialog still shows before mailing.
            child<QCheckBox>(settings, "chkShowScreen")->click();
            child<QCheckBox>(settings, "chkShowScreen")->click();
            setText(settings, "txtEmailAddress", u"ada@belvane.example"_s);
            child(settings, "cmdSend")->click();
            EXPECT_FALSE(settings.isVisible());
        })
        .answerMessage(Answer::OK)
        .answerMessage(Answer::OK)
        .handleModal([](QDialog& settings) {
            // Hidden, not unloaded: the choice and the values are still there.
            EXPECT_TRUE(child<QRadioButton>(settings, "optSmtp")->isChecked());
            EXPECT_EQ(child<QLineEdit>(settings, "txtFrom")->text(), u"Ada"_s);
            child<QRadioButton>(settings, "optDef")->click();
            settings.close();
        })
        .handleModal([](QDialog& settings) {
            // The close box unloaded it: loaded afresh from the stored settings.
            EXPECT_TRUE(child<QRadioButton>(settings, "optOutlook")->isChecked());
            EXPECT_EQ(child<QLineEdit>(settings, "txtMailserver")->text(),
                      u"smtp.belvane.example"_s);
            EXPECT_EQ(child<QLineEdit>(settings, "txtEmailAddress")->text(),
                      u"ada@belvane.example"_s);
            child(settings, "cmdCancel")->click();
        });
    handler->HandleError(u"Disk full"_s, 3640, 12);

    const auto messages = prompts.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, u"Enter the MailServer for sending the Email through SMTP."_s);
    EXPECT_EQ(messages[1].text, u"Enter the Email address for sending the Email through SMTP."_s);
}

// The link carries the report whole, whatever characters it holds; once
// "do not show" is checked the settings no longer come first.
TEST_F(VostrelMailMethodsTest, MailLinkCarriesTheWholeReportAndFailureIsTold)
{
    clickInReport({"cmdEmail", "cmdEmail"});
    prompts
        .handleModal([](QDialog& settings) {
            child<QRadioButton>(settings, "optDef")->click();
            child<QCheckBox>(settings, "chkShowScreen")->click();
            child(settings, "cmdSend")->click();
        })
        .answerMessage(Answer::OK, [this] { desktop.succeed = false; })
        .answerMessage(Answer::OK);
    handler->HandleError(u"A & B? #1 100% sure\tdone"_s, 3640, 12);

    // One link, then a refused one and its shortened retry.
    ASSERT_EQ(desktop.urls.size(), 3u);
    const QUrl& link = desktop.urls[0];
    EXPECT_EQ(link.scheme() + u':' + link.path(), u"mailto:support@belvane.example"_s);
    const QUrlQuery query(link);
    EXPECT_EQ(query.queryItemValue(u"Subject"_s, QUrl::FullyDecoded),
              u"Tovren 1.0.5 Application Error"_s);
    EXPECT_EQ(query.queryItemValue(u"Body"_s, QUrl::FullyDecoded), handler->ErrorLogDisplay());

    const auto messages = prompts.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, u"Composed Error Email in Default Mail Client."_s);
    EXPECT_EQ(messages[1].title, u"Operation Failed"_s);
    EXPECT_EQ(messages[1].icon, platform::Icon::Critical);
    EXPECT_TRUE(messages[1].text.startsWith(u"Error occurred while attempting to email error"_s));
}

// The system's sendmail carries the report whole to a real server, from the
// report window and from Email() alike, as a mail program reads it back;
// when there is none, the person is told what to install.
TEST_F(VostrelMailMethodsTest, SystemMailSendsTheReportOrSaysWhatIsMissing)
{
    testing_support::SmtpSink sink(path(u"sink"_s));
    ASSERT_TRUE(sink.error().isEmpty()) << sink.error().toStdString();
    platform::setSendmailCommand(sink.sendmail());
    handler->setFromName(u"Ada Ünal"_s);
    handler->setFromEmailAddress(u"mailto:ada@belvane.example"_s);
    handler->setAppObj(tovren(u"/opt/tovren"_s, u"Tövren"_s));
    const auto ok = [](QDialog& settings) { child(settings, "cmdSend")->click(); };
    clickInReport({"cmdEmail", "cmdEmail"});
    prompts.handleModal(ok)
        .answerMessage(Answer::OK, [this] { platform::setSendmailCommand(path(u"no-sendmail"_s)); })
        .handleModal(ok)
        .answerMessage(Answer::OK);
    // A line of a single dot must not end the message early.
    handler->HandleError(u"Écriture impossible = disque plein\r\n.\r\nfin"_s, 61, 3);
    const auto messages = prompts.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, u"Composed Error Email in System Mail."_s);
    EXPECT_TRUE(messages[1].text.contains(u"No sendmail program is installed"_s));

    platform::setSendmailCommand(sink.sendmail());
    EXPECT_EQ(handler->Email(), 0);
    EXPECT_TRUE(desktop.urls.empty());
    const auto arrived = sink.messages();
    ASSERT_EQ(arrived.size(), 2u);
    for (const auto& mail : arrived) {
        EXPECT_EQ(mail.to, QStringList{u"support@belvane.example"_s});
        EXPECT_EQ(mail.read["from"],
                  QJsonValue(QJsonArray{QJsonArray{u"Ada Ünal"_s, u"ada@belvane.example"_s}}));
        EXPECT_EQ(mail.read["subject"], u"Tövren 1.0.5 Application Error"_s);
        EXPECT_EQ(mail.read["body"], withLf(handler->ErrorLogDisplay() + u"\r\n"_s));
        for (const QByteArray& line : mail.content.split('\n'))
            EXPECT_LE(line.size(), 78);
    }
}

} // namespace
} // namespace vostrel_test
