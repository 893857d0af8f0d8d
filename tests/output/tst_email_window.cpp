// Generate Emails before anything is sent: its controls, choosing the
// message and the attachments, and every Send that must send nothing.

#include "mail_fixture.h"

#include "core/error_handler.h"

#include <QLabel>

namespace {

using platform::Answer;
using platform::Icon;

TEST_F(MailTest, AttachmentsAreAddedAndDeletedAndTheDialogCancelChangesNothing)
{
    openBook({{"Ada", "ada@example.org"}});
    compose([&](frmEml& eml) {
        EXPECT_EQ(eml.windowTitle(), "Generate Emails");
        EXPECT_EQ(eml.lblEmails->text(), "Emails");
        EXPECT_FALSE(eml.lstAttach->isEnabled());
        EXPECT_FALSE(eml.cmdDelete->isEnabled());

        m_prompts.answerOpenFile(home("a.pdf")).answerOpenFile("").answerOpenFile(home("b.png"));
        eml.cmdAdd->click();
        eml.cmdAdd->click();
        eml.cmdAdd->click();
        ASSERT_EQ(eml.lstAttach->count(), 2);
        EXPECT_TRUE(eml.lstAttach->isEnabled() && eml.cmdDelete->isEnabled());

        // Delete without a selection removes nothing.
        eml.lstAttach->setCurrentRow(-1);
        eml.cmdDelete->click();
        EXPECT_EQ(eml.lstAttach->count(), 2);
        eml.lstAttach->setCurrentRow(0);
        eml.cmdDelete->click();
        EXPECT_EQ(eml.lstAttach->item(0)->text(), home("b.png"));
        EXPECT_TRUE(eml.cmdDelete->isEnabled());
        eml.lstAttach->setCurrentRow(0);
        eml.cmdDelete->click();
        EXPECT_EQ(eml.lstAttach->count(), 0);
        EXPECT_FALSE(eml.lstAttach->isEnabled());
        EXPECT_FALSE(eml.cmdDelete->isEnabled());

        m_prompts.answerOpenFile(home("letter.txt")).answerOpenFile("");
        eml.cmdOpen->click();
        eml.cmdOpen->click();
        EXPECT_EQ(eml.txtFld[1]->text(), home("letter.txt"));
    });
}

// Each Send here stops before any message, with what the person is told.
struct Refusal {
    const char* name;
    QString message; // the message field
    QString told;    // part of the last message; "" for none at all
    Icon icon;
    QStringList attachments = {};
    bool noBook = false;
};

class SendRefusal : public MailTest, public testing::WithParamInterface<Refusal> {};

TEST_P(SendRefusal, SendsNothing)
{
    const Refusal& refusal = GetParam();
    openBook(refusal.noBook ? QList<std::pair<QString, QString>>{}
                            : QList<std::pair<QString, QString>>{{"Ada", "ada@example.org"}});
    if (refusal.name == std::string("NoSendmail"))
        platform::setSendmailCommand(home("no-sendmail"));
    QDir(home()).mkdir("folder.pdf"); // a file name that cannot be read as one
    const size_t before = m_prompts.messages().size();
    compose([&](frmEml& eml) {
        if (refusal.name == std::string("MissingBodyFile"))
            expectReport();
        for (const QString& file : refusal.attachments) {
            m_prompts.answerOpenFile(home(file));
            eml.cmdAdd->click();
        }
        if (!refusal.told.isEmpty())
            m_prompts.answerMessage(Answer::OK);
        send(eml, "Subject", refusal.message);
        if (refusal.name == std::string("EmptyMessage")) {
            EXPECT_EQ(eml.focusWidget(), eml.txtFld[1]);
        }
    });
    EXPECT_TRUE(m_sink.messages().empty());
    // sendmail never ran.
    EXPECT_FALSE(QFile::exists(home("args")));
    const auto messages = m_prompts.messages();
    ASSERT_EQ(messages.size(), before + (refusal.told.isEmpty() ? 0 : 1));
    if (!refusal.told.isEmpty()) {
        EXPECT_TRUE(messages.back().text.contains(refusal.told))
            << messages.back().text.toStdString();
        EXPECT_EQ(messages.back().icon, refusal.icon);
    }
}

INSTANTIATE_TEST_SUITE_P(
    MailTest, SendRefusal,
    testing::Values(
        Refusal{"EmptyMessage", "", "Select the body text to be attached", Icon::Question},
        Refusal{"NoRecords", "\"Hello\"", "", Icon::None, {}, true},
        Refusal{"NoSendmail", "\"Hello\"",
                "Install a mail transport such as msmtp-mta or postfix.\r\nNo message was sent.",
                Icon::Critical},
        Refusal{"MissingBodyFile", "nowhere.txt", "The message text is empty or could not be read.",
                Icon::Exclamation},
        Refusal{"EmptyQuotedBody", "\"\"", "The message text is empty or could not be read.",
                Icon::Exclamation},
        Refusal{
            "MissingAttachment", "\"Hello\"", "The attachment '", Icon::Exclamation, {"gone.pdf"}},
        Refusal{"UnreadableAttachment",
                "\"Hello\"",
                "The attachment '",
                Icon::Exclamation,
                {"folder.pdf"}}),
    [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

} // namespace
