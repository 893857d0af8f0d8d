#include "password_command.h"

#include <QProcess>

#include <signal.h>
#include <unistd.h>

namespace platform {
namespace {

std::optional<QString> refused(QString* whyNot, const QString& reason)
{
    if (whyNot)
        *whyNot = reason;
    return std::nullopt;
}

} // namespace

std::optional<QString> passwordFromCommand(const QString& command, int timeoutMs, QString* whyNot)
{
    QProcess shell;
    // Its own process group, so that a command that hangs is stopped with
    // every program it started, not only the shell.
    shell.setChildProcessModifier([] { ::setsid(); });
    shell.setStandardInputFile(QProcess::nullDevice());
    // What it says on stderr may hold the password too: it goes nowhere.
    shell.setStandardErrorFile(QProcess::nullDevice());
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    if (!shell.waitForStarted())
        return refused(whyNot, QStringLiteral("The password command could not be started."));
    if (!shell.waitForFinished(timeoutMs)) {
        ::kill(-pid_t(shell.processId()), SIGKILL);
        shell.waitForFinished();
        return refused(whyNot, QStringLiteral("The password command gave no answer within %1 "
                                              "seconds.")
                                   .arg(timeoutMs / 1000.0));
    }
    if (shell.exitStatus() != QProcess::NormalExit)
        return refused(whyNot, QStringLiteral("The password command was stopped."));
    if (shell.exitCode() == 127)
        return refused(whyNot, QStringLiteral("The password command names a program that was "
                                              "not found."));
    if (shell.exitCode() != 0)
        return refused(
            whyNot,
            QStringLiteral("The password command failed (exit status %1).").arg(shell.exitCode()));
    QByteArray line = shell.readAllStandardOutput();
    line.truncate(line.indexOf('\n') < 0 ? line.size() : line.indexOf('\n'));
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty())
        return refused(whyNot, QStringLiteral("The password command wrote no password."));
    return QString::fromUtf8(line);
}

} // namespace platform
