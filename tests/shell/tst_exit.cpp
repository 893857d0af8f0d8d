// The program ends cleanly by every way a person ends it, run in its own
// process so that the teardown after the event loop is seen too.

#include "records/schema.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Exit : public ::testing::TestWithParam<const char*> {};

TEST_P(Exit, EndsWithAZeroStatus)
{
    QTemporaryDir home;
    records::createDatabase(home.filePath("TND.dbx"));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("TOVREN_EXIT_STEPS", GetParam());
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(TOVREN_TESTS_BIN_DIR "/exit_driver", {"--home", home.path()});
    ASSERT_TRUE(program.waitForStarted(-1)) << program.errorString().toStdString();
    // A program that never ends is a hang for the test runner to stop.
    program.waitForFinished(-1);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "it crashed";
    EXPECT_EQ(program.exitCode(), 0);
    // Nothing went to the error report on the way out.
    EXPECT_FALSE(QFile::exists(home.filePath("Error.log")));
}

INSTANTIATE_TEST_SUITE_P(EveryWay, Exit,
                         ::testing::Values("menu", "card_menu_menu", "card_button_button",
                                           "card_closebox", "card_ctrlf4_menu"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
