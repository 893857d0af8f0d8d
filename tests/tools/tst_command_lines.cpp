// Every program answers --help and --version without a display, refuses
// an unknown option with its usage and status 2, and never takes a word
// that begins with '-' for a file name: only after "--", or after '=' for
// an option's value.

#include "support/run_program.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

using testing_support::Ran;

TEST(CommandLines, EveryProgramAnswersAndRefusesAsCommandLineToolsDo)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString odd = folder.filePath(QStringLiteral("-odd"));
    // No display: a program that needed one for these would fail to start.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    const auto run = [&](const QString& program, const QStringList& arguments) {
        return testing_support::runProgram(program, arguments, folder.path(), environment);
    };
    ASSERT_EQ(run(QStringLiteral("tovren-mkdb"), {QStringLiteral("TND.dbx")}).status, 0);

    const QString home = QStringLiteral("--home=") + folder.path();
    const struct {
        const char* program;
        QStringList refused; // a word beginning with '-' where a file name stands
        QStringList taken;   // the same word given as a file name; none for tovren
    } programs[] = {
        {"tovren", {QStringLiteral("--home"), QStringLiteral("-odd")}, {}},
        {"tovren", {QStringLiteral("a.vcf"), QStringLiteral("b.vcf")}, {}}, // one file at most
        {"tovren-book",
         {home, QStringLiteral("export"), QStringLiteral("-odd")},
         {home, QStringLiteral("export"), QStringLiteral("--"), QStringLiteral("-odd")}},
        {"tovren-mkdb", {QStringLiteral("-odd")}, {QStringLiteral("--"), QStringLiteral("-odd")}},
        {"tovren-bench",
         {QStringLiteral("1"), QStringLiteral("--make"), QStringLiteral("-odd")},
         {QStringLiteral("1"), QStringLiteral("--make=-odd")}},
    };
    for (const auto& p : programs) {
        const QString program = QString::fromLatin1(p.program);
        const QByteArray usage = "usage: " + program.toUtf8() + ' ';
        SCOPED_TRACE(p.program);

        const Ran help = run(program, {QStringLiteral("--help")});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.startsWith(usage)) << help.out.toStdString();
        EXPECT_EQ(help.err, QByteArray());

        const Ran version = run(program, {QStringLiteral("--version")});
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, program.toUtf8() + " " TOVREN_VERSION "\n");
        EXPECT_EQ(version.err, QByteArray());

        const Ran unknown = run(program, {QStringLiteral("--frobnicate")});
        EXPECT_EQ(unknown.status, 2);
        EXPECT_EQ(unknown.out, QByteArray());
        EXPECT_TRUE(unknown.err.startsWith(
            QByteArray(program.toUtf8() + ": Unknown option 'frobnicate'.\n" + usage)))
            << unknown.err.toStdString();

        const Ran refused = run(program, p.refused);
        EXPECT_EQ(refused.status, 2) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains(usage)) << refused.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(odd));
        if (p.taken.isEmpty())
            continue;
        const Ran taken = run(program, p.taken);
        EXPECT_EQ(taken.status, 0) << taken.err.toStdString();
        EXPECT_TRUE(QFileInfo::exists(odd));
        QFile::remove(odd);
    }
}

} // namespace
