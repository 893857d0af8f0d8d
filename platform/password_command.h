#pragma once
// A password read from a command of the person's (`pass show mail`,
// `gpg -dq ~/.dav.gpg`), the way msmtp's passwordeval and vdirsyncer's
// password.fetch do it: the first line the command writes on its stdout.

#include <QString>

#include <optional>

namespace platform {

// The first line of what `/bin/sh -c command` writes on its stdout, without
// its line end. A command that fails, outlasts `timeoutMs` or writes no
// password gives std::nullopt, and `*whyNot` says why without quoting what
// the command wrote, which may be the password itself.
std::optional<QString> passwordFromCommand(const QString& command, int timeoutMs,
                                           QString* whyNot = nullptr);

} // namespace platform
