// The program ends cleanly by every way a person ends it: the real program
// runs in its own process, so that what happens after the event loop (the
// teardown of the connection, the handler and the application) is seen too.

#include "records/schema.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Way {
    const char* name;
    const char* steps;
};

void PrintTo(const Way& way, std::ostream* out)
{
    *out << way.name;
}

class Exit : public ::testing::TestWithParam<Way> {};

TEST_P(Exit, EndsWithAZeroStatus)
{
    QTemporaryDir home;
    records::createDatabase(home.filePath(QStringLiteral("TND.dbx")));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TOVREN_EXIT_STEPS"), QString::fromLatin1(GetParam().steps));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(TOVREN_TESTS_BIN_DIR "/exit_driver"),
                  {QStringLiteral("--home"), home.path()});
    ASSERT_TRUE(program.waitForStarted(10000));
    if (!program.waitForFinished(30000)) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the program did not end";
    }
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "it crashed";
    EXPECT_EQ(program.exitCode(), 0);
    // Nothing went to the error report on the way out.
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("Error.log"))));
}

INSTANTIATE_TEST_SUITE_P(EveryWay, Exit,
                         ::testing::Values(Way{"FileExitWithoutACard", "menu"},
                                           Way{"FileExitTwice", "card,menu,menu"},
                                           Way{"ExitButtonTwice", "card,button,button"},
                                           Way{"CloseBoxWithACardOpen", "card,closebox"},
                                           Way{"CtrlF4ThenFileExit", "card,ctrlf4,menu"}),
                         [](const ::testing::TestParamInfo<Way>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
