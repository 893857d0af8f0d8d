// The error report dialog, as HandleError shows it.

#include "handler_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace vostrel_test {
namespace {

class VostrelReportDialogTest : public HandlerTest {
protected:
    void SetUp() override
    {
        HandlerTest::SetUp();
        handler->setUseInterface(true);
        handler->Push(QStringLiteral("frmAddress.cmdSave_Click"));
        platform::setProgramOverride(platform::DesktopProgram::TextEditor,
                                     QStringLiteral("fake-editor --new-window"));
    }
    void TearDown() override
    {
        platform::setProgramOverride(platform::DesktopProgram::TextEditor, QString());
    }

    static QPushButton* button(QDialog& dialog, const char* name)
    {
        return dialog.findChild<QPushButton*>(QLatin1String(name));
    }
};

TEST_F(VostrelReportDialogTest, ShowsTheReportAndOpensTheErrorLog)
{
    prompts.handleModal([this](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("lib_frmError"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Application Error"));
        EXPECT_EQ(dialog.font().family(), QStringLiteral("Verdana"));
        auto* box = dialog.findChild<QPlainTextEdit*>(QStringLiteral("lbxErrMessage"));
        auto* number = dialog.findChild<QLabel*>(QStringLiteral("lblErrNum"));
        EXPECT_TRUE(box->isReadOnly());
        const QString report = handler->ErrorLogDisplay();
        EXPECT_EQ(box->toPlainText(), withLf(report));
        EXPECT_EQ(number->text(), QStringLiteral("Error Number: 3640"));
        EXPECT_EQ(number->font().family(), QStringLiteral("Verdana"));
        const std::pair<const char*, const char*> captions[] = {
            {"cmdOK", "&Return"}, {"cmdErrorLog", "&Error Log"}, {"cmdTraceLog", "&Trace Log"}};
        for (const auto& [name, caption] : captions) {
            EXPECT_EQ(button(dialog, name)->text(), QLatin1String(caption));
            EXPECT_EQ(button(dialog, name)->font().family(), QStringLiteral("Tahoma"));
        }
        EXPECT_FALSE(button(dialog, "cmdTraceLog")->isEnabled());

        // Every activation puts the report back on the clipboard.
        for (int activation = 0; activation < 2; ++activation) {
            QApplication::clipboard()->setText(QStringLiteral("something else"));
            QEvent activate(QEvent::WindowActivate);
            QApplication::sendEvent(&dialog, &activate);
            EXPECT_EQ(QApplication::clipboard()->text(), report);
        }

        button(dialog, "cmdErrorLog")->click();
        ASSERT_EQ(desktop.programs.size(), 1u);
        EXPECT_EQ(desktop.programs[0],
                  QStringList({"fake-editor", "--new-window", path(QStringLiteral("Error.log"))}));

        button(dialog, "cmdOK")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    handler->HandleError(QStringLiteral("Disk full"), 3640, 12);
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(VostrelReportDialogTest, TraceLogWithTracingOnAndAMissingEditorExplained)
{
    handler->setTraceExecution(true);
    desktop.succeed = false;
    prompts
        .handleModal([this](QDialog& dialog) {
            EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblErrNum"))->text(),
                      QStringLiteral("Error Number: -2147467259"));
            ASSERT_TRUE(button(dialog, "cmdTraceLog")->isEnabled());
            button(dialog, "cmdTraceLog")->click();
        })
        .answerMessage(platform::Answer::OK);
    handler->HandleError(QStringLiteral("Cannot open the database"), -2147467259, 40);

    ASSERT_EQ(desktop.programs.size(), 1u);
    EXPECT_EQ(desktop.programs[0].last(), path(QStringLiteral("Trace.log")));
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0].title, QStringLiteral("Application Error"));
    EXPECT_EQ(prompts.messages()[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(prompts.messages()[0].text.contains(QStringLiteral("fake-editor")));
}

} // namespace
} // namespace vostrel_test
