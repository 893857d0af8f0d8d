#pragma once
// A built program run as a script runs it: a whole process, its output
// byte for byte and its exit status.

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace testing_support {

struct Ran {
    int status;
    QByteArray out;
    QByteArray err;
};

// Runs the program `name` of the build's program folder in `folder` (the
// test's own when empty) with `environment`.
inline Ran
runProgram(const QString& name, const QStringList& arguments, const QString& folder = QString(),
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess program;
    program.setWorkingDirectory(folder);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TOVREN_BIN_DIR "/") + name, arguments);
    EXPECT_TRUE(program.waitForFinished(60000)) << name.toStdString();
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            program.readAllStandardOutput(), program.readAllStandardError()};
}

} // namespace testing_support
