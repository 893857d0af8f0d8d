#pragma once
// The one CardDAV account of the program: where the address book is and who
// signs in. Kept in Address.ini's [Sync] section (URL=, User=,
// PasswordCommand=); the password itself never goes there.

#include <QString>
#include <QUrl>

namespace tovren::sync {

struct SyncAccount {
    QUrl url;                // any URL of the server: its root, a host, or the book itself
    QString user;            // empty: the server asks for no sign-in
    QString passwordCommand; // its first output line is the password; empty: the keyring
};

} // namespace tovren::sync
