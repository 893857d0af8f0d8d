// The report dialog's mail buttons: the mail settings dialog's course, and
// mailing by the desktop's mail link and by the system's sendmail.

#include "handler_fixture.h"

#include "platform/mail_transport.h"
#include "support/smtp_sink.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
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
    }
    void TearDown() override { platform::setSendmailCommand(QString()); }

    // Shows a report whose dialog clicks `buttons` in turn, then returns.
    void report(const QString& description, const QStringList& buttons)
    {
        prompts.handleModal([buttons](QDialog& dialog) {
            for (const QString& name : buttons)
                dialog.findChild<QPushButton*>(name)->click();
        });
        m_description = description;
    }
    void raise()
    {
        handler->Push(u"frmAddress.cmdSave_Click"_s);
        handler->HandleError(m_description, 3640, 12);
    }
    template <typename Widget>
    static Widget* child(QDialog& dialog, const char* name)
    {
        return dialog.findChild<Widget*>(QLatin1String(name));
    }
    static QList<QLineEdit*> boxes(QDialog& dialog) { return dialog.findChildren<QLineEdit*>(); }

    QString m_description = u"Disk full"_s;
};

TEST_F(VostrelMailMethodsTest, SettingsAreCheckedKeptWhileHiddenAndForgottenWhenClosed)
{
    report(u"Disk full"_s, {u"cmdEmlSet"_s, u"cmdEmlSet"_s, u"cmdEmlSet"_s});
    prompts
        .handleModal([](QDialog& settings) {
            settings.show();
            EXPECT_EQ(settings.windowTitle(), u"Email"_s);
            EXPECT_TRUE(child<QRadioButton>(settings, "optOutlook")->isChecked());
            EXPECT_EQ(child<QRadioButton>(settings, "optOutlook")->text(), u"System &Mail"_s);
            for (QLineEdit* box : boxes(settings))
                EXPECT_FALSE(box->isEnabled());
            child<QRadioButton>(settings, "optSmtp")->click();
            for (QLineEdit* box : boxes(settings))
                EXPECT_TRUE(box->isEnabled());
            // Each missing value is asked for in turn; the dialog stays.
            child<QPushButton>(settings, "cmdSend")->click();
            child<QLineEdit>(settings, "txtMailserver")->setText(u"smtp.belvane.example"_s);
            child<QLineEdit>(settings, "txtFrom")->setText(u"Ada"_s);
            child<QPushButton>(settings, "cmdSend")->click();
            EXPECT_TRUE(settings.isVisible());
            // Checked and unchecked again: the dialog still shows before mailing.
            child<QCheckBox>(settings, "chkShowScreen")->click();
            child<QCheckBox>(settings, "chkShowScreen")->click();
            child<QLineEdit>(settings, "txtEmailAddress")->setText(u"ada@belvane.example"_s);
            child<QPushButton>(settings, "cmdSend")->click();
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
            child<QPushButton>(settings, "cmdCancel")->click();
        });
    raise();

    const auto messages = prompts.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, u"Enter the MailServer for sending the Email through SMTP."_s);
    EXPECT_EQ(messages[1].text, u"Enter the Email address for sending the Email through SMTP."_s);
    for (const auto& message : messages) {
        EXPECT_EQ(message.title, u"Email"_s);
        EXPECT_EQ(message.icon, platform::Icon::None);
    }
}

// The link carries the report whole, whatever characters it holds; once
// "do not show" is checked the settings no longer come first.
TEST_F(VostrelMailMethodsTest, MailLinkCarriesTheWholeReportAndFailureIsTold)
{
    report(u"A & B? #1 100% sure\tdone"_s, {u"cmdEmail"_s, u"cmdEmail"_s});
    prompts
        .handleModal([](QDialog& settings) {
            child<QRadioButton>(settings, "optDef")->click();
            child<QCheckBox>(settings, "chkShowScreen")->click();
            child<QPushButton>(settings, "cmdSend")->click();
        })
        .answerMessage(Answer::OK, [this] { desktop.succeed = false; })
        .answerMessage(Answer::OK);
    raise();

    // One link, then a refused one and its shortened retry.
    ASSERT_EQ(desktop.urls.size(), 3u);
    const QUrl& link = desktop.urls[0];
    EXPECT_EQ(link.scheme(), u"mailto"_s);
    EXPECT_EQ(link.path(), u"support@belvane.example"_s);
    const QUrlQuery query(link);
    EXPECT_EQ(query.queryItemValue(u"Subject"_s, QUrl::FullyDecoded),
              u"Tovren 1.0.5 Application Error"_s);
    EXPECT_EQ(query.queryItemValue(u"Body"_s, QUrl::FullyDecoded), handler->ErrorLogDisplay());
    EXPECT_LE(desktop.urls[2].toEncoded().size(), 400);
    EXPECT_TRUE(desktop.urls[1].toEncoded().startsWith(desktop.urls[2].toEncoded()));

    const auto messages = prompts.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].title + messages[0].text,
              u"Operation SuccessfulComposed Error Email in Default Mail Client."_s);
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
    report(u"Disk full"_s, {u"cmdEmail"_s, u"cmdEmail"_s});
    prompts.handleModal([](QDialog& settings) { child<QPushButton>(settings, "cmdSend")->click(); })
        .answerMessage(Answer::OK, [this] { platform::setSendmailCommand(path(u"no-sendmail"_s)); })
        .handleModal([](QDialog& settings) { child<QPushButton>(settings, "cmdSend")->click(); })
        .answerMessage(Answer::OK);
    raise();

    const auto arrived = sink.messages();
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].to, QStringList{u"support@belvane.example"_s});
    EXPECT_TRUE(arrived[0].content.contains("Subject: Tovren 1.0.5 Application Error\r\n"));
    const auto messages = prompts.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, u"Composed Error Email in System Mail."_s);
    EXPECT_EQ(messages[1].title, u"Operation Failed"_s);
    EXPECT_TRUE(messages[1].text.contains(u"No sendmail program is installed"_s));
}

} // namespace
} // namespace vostrel_test
