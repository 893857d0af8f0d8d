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
    static bool boxesEnabled(QDialog& dialog)
    {
        for (QLineEdit* box : dialog.findChildren<QLineEdit*>()) {
            if (box->isEnabled() != child<QLineEdit>(dialog, "txtMailserver")->isEnabled())
                ADD_FAILURE() << "the boxes differ";
        }
        return child<QLineEdit>(dialog, "txtMailserver")->isEnabled();
    }
};

TEST_F(VostrelMailMethodsTest, SettingsAreCheckedKeptWhileHiddenAndForgottenWhenClosed)
{
    clickInReport({"cmdEmlSet", "cmdEmlSet", "cmdEmlSet"});
    prompts
        .handleModal([](QDialog& settings) {
            settings.show();
            EXPECT_EQ(settings.windowTitle(), u"Email"_s);
            EXPECT_TRUE(child<QRadioButton>(settings, "optOutlook")->isChecked());
            EXPECT_FALSE(boxesEnabled(settings));
            child<QRadioButton>(settings, "optSmtp")->click();
            EXPECT_TRUE(boxesEnabled(settings));
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
    EXPECT_EQ(messages[1].title, u"Email"_s);
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
    EXPECT_LE(desktop.urls[2].toEncoded().size(), 400);
    EXPECT_TRUE(desktop.urls[1].toEncoded().startsWith(desktop.urls[2].toEncoded()));

    const auto messages = prompts.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, u"Composed Error Email in Default Mail Client."_s);
    EXPECT_EQ(messages[1].title, u"Operation Failed"_s);
    EXPECT_EQ(messages[1].icon, platform::Icon::Critical);
    EXPECT_TRUE(messages[1].text.startsWith(u"Error occurred while attempting to email error"_s));
}

// The system's sendmail carries the report to a real server; when there
// is none, the person is told what to install.
TEST_F(VostrelMailMethodsTest, SystemMailSendsTheReportOrSaysWhatIsMissing)
{
    testing_support::SmtpSink sink(path(u"sink"_s));
    ASSERT_TRUE(sink.error().isEmpty()) << sink.error().toStdString();
    platform::setSendmailCommand(sink.sendmail(path(u"args"_s)));
    const auto ok = [](QDialog& settings) { child(settings, "cmdSend")->click(); };
    clickInReport({"cmdEmail", "cmdEmail"});
    prompts.handleModal(ok)
        .answerMessage(Answer::OK, [this] { platform::setSendmailCommand(path(u"no-sendmail"_s)); })
        .handleModal(ok)
        .answerMessage(Answer::OK);
    handler->HandleError(u"Disk full"_s, 3640, 12);

    const auto arrived = sink.messages();
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].to, QStringList{u"support@belvane.example"_s});
    const auto messages = prompts.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, u"Composed Error Email in System Mail."_s);
    EXPECT_TRUE(messages[1].text.contains(u"No sendmail program is installed"_s));
}

} // namespace
} // namespace vostrel_test
