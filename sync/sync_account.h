#pragma once
// The one CardDAV account of the program: where the address book is and who
// signs in. Kept in Address.ini's [Sync] section (URL=, User=,
// PasswordCommand=); the password itself never goes there. Beside them what
// a sign-in learnt (Book=, Auth=, FoundFrom=), so that the next sync goes
// straight to the book.

#include <QString>
#include <QUrl>

#include <optional>

namespace tovren::sync {

struct SyncAccount {
    QUrl url;                // any URL of the server: its root, a host, or the book itself
    QString user;            // empty: the server asks for no sign-in
    QString passwordCommand; // its first output line is the password; empty: the keyring
    // Learnt from the server for this url and user: the address book found,
    // and the sign-in it asked for ("Basic", "Digest"; "" for none).
    QUrl book{};
    QString auth{};
};

// The account in Address.ini; an empty URL when none is set up.
SyncAccount readSyncAccount();
// Keeps it there; false when Address.ini cannot be written.
bool writeSyncAccount(const SyncAccount& account);
// Keeps the account's book and sign-in there, for its URL and user.
void writeLearntSignIn(const SyncAccount& account);

// The account's password: "" when it names no user; nullopt when none could
// be had (the command failed, the person cancelled), *whyNot saying why.
std::optional<QString> accountPassword(const SyncAccount& account, QString* whyNot);
// Keeps it in the keyring; false where none runs (kept for this run only).
bool keepAccountPassword(const SyncAccount& account, const QString& password);

} // namespace tovren::sync
