// The calculator, the text editor and reading a text file for a message.

#include "shell_fixture.h"

#include "platform/desktop.h"
#include "shell/utilities.h"
#include "support/recording_desktop.h"

namespace {

class Utilities : public ShellTest {
protected:
    void SetUp() override { frame(); }
    void TearDown() override
    {
        platform::setProgramOverride(platform::DesktopProgram::Calculator, QString());
        platform::setProgramOverride(platform::DesktopProgram::TextEditor, QString());
    }
    testing_support::RecordingDesktop m_desktop;
};

// The calculator and the text editor start as Address.ini names them; one
// that cannot be found is reported with what to do.
TEST_F(Utilities, ProgramsAreStartedAsConfiguredOrReportedMissing)
{
    writeFile("Address.ini", "[Programs]\nCalculator=/opt/calc --mini\nTextEditor=/opt/edit\n");
    tovren::applyProgramChoices(home("Address.ini"));
    m_main->menuItem(QStringLiteral("mnuUtilityCalc"))->trigger();
    modGenProcedures::OpenNotepad();
    const std::vector<QStringList> started = {{"/opt/calc", "--mini"}, {"/opt/edit"}};
    EXPECT_EQ(m_desktop.programs, started);
    EXPECT_EQ(tovren::errHandler().ErrNum(), 0);

    platform::setProgramOverride(platform::DesktopProgram::Calculator, QString());
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", home().toUtf8());
    expectReport();
    m_main->mnuUtilityCalc_Click();
    qputenv("PATH", path);
    EXPECT_EQ(m_desktop.programs, started);
    EXPECT_TRUE(m_report.contains("mdiMain.mnuUtilityCalc_Click"));
    EXPECT_TRUE(m_report.contains("Calculator="));
    EXPECT_EQ(tovren::errHandler().ErrNum(), 53);
}

// A name gives the file's text with its lines ended CR LF, read as UTF-8 or
// else Latin-1, and becomes the file's full path; a quoted text is taken
// as it stands.
TEST_F(Utilities, OpenFileReadsFilesAndTakesQuotedTextLiterally)
{
    writeFile("body.txt", "Dear friend, \"hello\"\r\nsecond,line\n\nlast");
    writeFile("empty.txt", "");
    writeFile("latin1.txt", "Gr\xfc\xdf"
                            "e\n");
    const std::tuple<QString, QString, QString> rows[] = {
        // given, read, given afterwards
        {"body.txt", "Dear friend, \"hello\"\r\nsecond,line\r\n\r\nlast\r\n", home("body.txt")},
        {home("empty.txt"), "", home("empty.txt")},
        {home("latin1.txt"), "Gr\u00fc\u00dfe\r\n", home("latin1.txt")},
        {"\"Meet me at 5, \"please\"\"", "Meet me at 5, \"please\"", "Meet me at 5, \"please\""},
        {"", "", ""},
    };
    for (const auto& [given, read, after] : rows) {
        QString name = given;
        EXPECT_EQ(modGenProcedures::OpenFile(name), read) << given.toStdString();
        EXPECT_EQ(name, after);
    }
    EXPECT_EQ(tovren::errHandler().ErrNum(), 0);

    // A missing file is reported and gives nothing.
    expectReport();
    QString name = "absent.txt";
    EXPECT_EQ(modGenProcedures::OpenFile(name), QString());
    EXPECT_TRUE(m_report.contains("modGenProcedures.OpenFile"));
    EXPECT_TRUE(m_report.contains("absent.txt"));
    EXPECT_EQ(tovren::errHandler().ErrNum(), 53);
}

} // namespace
