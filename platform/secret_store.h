#pragma once
// Where the passwords of the program's accounts (the contacts server, the mail
// account) come from and are kept: a command of the person's, the desktop's
// keyring, or, where neither gives one, a question asked once per run. A
// password never goes to a file, a log, a trace or a report.

#include <QString>

#include <optional>

namespace platform {

// Where a password is kept: the service names the use and the server ("Tovren CardDAV
// https://dav.example.org/", "Tovren mail smtp.example.org:587"), the account the user name.
struct SecretKey {
    QString service;
    QString account;
};

// The password for `key`:
//  - when `command` is not empty, the first line of what `/bin/sh -c command` writes on its
//    stdout; a command that fails, times out (30 s), or writes nothing gives std::nullopt
//    and `*whyNot` says why in plain words (never the output);
//  - else the desktop's keyring (the Secret Service);
//  - else (no keyring runs, or it holds nothing) the person is asked once per run through the
//    prompt service (a password input: text hidden), `question` being the prompt's text; the
//    answer is kept in memory for the rest of the run only. Cancel gives std::nullopt.
std::optional<QString> password(const SecretKey& key, const QString& command,
                                const QString& question, QString* whyNot = nullptr);

// Keeps `secret` in the keyring; where none runs, in memory for this run only (returns false
// then, so the caller can say "kept until Tovren ends").
bool storePassword(const SecretKey& key, const QString& secret);

// Forgets it everywhere (after a refused sign-in, so the next try asks again).
void forgetPassword(const SecretKey& key);

} // namespace platform
