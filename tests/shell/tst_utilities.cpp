// The calculator, the text editor and reading a text file for a message.

#include "shell_fixture.h"

#include "shell/utilities.h"
#include "support/recording_desktop.h"

#include "platform/desktop.h"

#include <QAction>
#include <QPlainTextEdit>

namespace {

class Utilities : public ShellTest {
protected:
    void SetUp() override { frame(); }
    void TearDown() override
    {
        platform::setProgramOverride(platform::DesktopProgram::Calculator, QString());
        platform::setProgramOverride(platform::DesktopProgram::TextEditor, QString());
    }
    // Expects the error report of one handled error and returns its text.
    void expectReport(QString* text)
    {
        m_prompts.handleModal([text](QDialog& report) {
            *text =
                report.findChild<QPlainTextEdit*>(QStringLiteral("lbxErrMessage"))->toPlainText();
            report.reject();
        });
    }

    testing_support::RecordingDesktop m_desktop;
};

TEST_F(Utilities, ProgramsAreStartedAsConfigured)
{
    writeFile(QStringLiteral("Address.ini"),
              "[Programs]\nCalculator=/opt/calc --mini\nTextEditor=/opt/edit\n");
    tovren::applyProgramChoices(home(QStringLiteral("Address.ini")));
    m_main->menuItem(QStringLiteral("mnuUtilityCalc"))->trigger();
    modGenProcedures::OpenNotepad();
    ASSERT_EQ(m_desktop.programs.size(), 2u);
    EXPECT_EQ(m_desktop.programs[0],
              (QStringList{QStringLiteral("/opt/calc"), QStringLiteral("--mini")}));
    EXPECT_EQ(m_desktop.programs[1], QStringList{QStringLiteral("/opt/edit")});
    EXPECT_EQ(tovren::errHandler().ErrNum(), 0);
}

TEST_F(Utilities, AMissingProgramIsReportedWithWhatToDo)
{
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", home().toUtf8());
    QString report;
    expectReport(&report);
    m_main->mnuUtilityCalc_Click();
    qputenv("PATH", path);
    EXPECT_TRUE(m_desktop.programs.empty());
    EXPECT_TRUE(report.contains(QStringLiteral("mdiMain.mnuUtilityCalc_Click")));
    EXPECT_TRUE(report.contains(QStringLiteral("Calculator=")));
    EXPECT_EQ(tovren::errHandler().ErrNum(), 53);
}

TEST_F(Utilities, OpenFileKeepsLinesAsTheyAre)
{
    writeFile(QStringLiteral("body.txt"), "Dear friend, \"hello\"\r\nsecond,line\n\nlast");
    QString name = QStringLiteral("body.txt");
    EXPECT_EQ(modGenProcedures::OpenFile(name),
              QStringLiteral("Dear friend, \"hello\"\r\nsecond,line\r\n\r\nlast\r\n"));
    EXPECT_EQ(name, home(QStringLiteral("body.txt")));

    writeFile(QStringLiteral("empty.txt"), "");
    name = home(QStringLiteral("empty.txt"));
    EXPECT_EQ(modGenProcedures::OpenFile(name), QString());

    writeFile(QStringLiteral("latin1.txt"), "Gr\xfc\xdf"
                                            "e\n");
    name = home(QStringLiteral("latin1.txt"));
    EXPECT_EQ(modGenProcedures::OpenFile(name), QStringLiteral("Gr\u00fc\u00dfe\r\n"));
}

TEST_F(Utilities, OpenFileTakesQuotedTextLiterally)
{
    QString text = QStringLiteral("\"Meet me at 5, \"please\"\"");
    EXPECT_EQ(modGenProcedures::OpenFile(text), QStringLiteral("Meet me at 5, \"please\""));
    EXPECT_EQ(text, QStringLiteral("Meet me at 5, \"please\""));
    QString empty;
    EXPECT_EQ(modGenProcedures::OpenFile(empty), QString());
}

TEST_F(Utilities, OpenFileOfAMissingFileIsReportedAndGivesNothing)
{
    QString report;
    expectReport(&report);
    QString name = QStringLiteral("absent.txt");
    EXPECT_EQ(modGenProcedures::OpenFile(name), QString());
    EXPECT_TRUE(report.contains(QStringLiteral("modGenProcedures.OpenFile")));
    EXPECT_TRUE(report.contains(QStringLiteral("absent.txt")));
    EXPECT_EQ(tovren::errHandler().ErrNum(), 53);
}

} // namespace
