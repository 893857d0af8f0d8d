// The account kept in Address.ini, and signing in with it. The password
// comes from the person's command, the keyring, or a question once per run
// (platform/secret_store), and is forgotten once the server refuses it.

#include "sync/sync_account.h"

#include "sync/carddav_collection.h"

#include "core/program.h"
#include "platform/profile_file.h"
#include "platform/secret_store.h"

namespace tovren::sync {

namespace {

const QString kSection = QStringLiteral("Sync");

platform::SecretKey secretKey(const SyncAccount& account)
{
    return {"Tovren CardDAV "
                + account.url
                      .adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment
                                | QUrl::RemoveUserInfo)
                      .toString(),
            account.user};
}

// Whom and where a book and a sign-in were learnt for: after another URL or
// user is set, they mean nothing.
QString foundFrom(const SyncAccount& account)
{
    return account.user + ' ' + account.url.toString(QUrl::FullyEncoded);
}

} // namespace

SyncAccount readSyncAccount()
{
    const auto setting = [](const char* key) {
        return platform::readProfileString(settingsFile(), kSection, QString::fromLatin1(key));
    };
    SyncAccount account{QUrl(setting("URL")), setting("User"), setting("PasswordCommand")};
    if (setting("FoundFrom") == foundFrom(account)) {
        account.book = QUrl(setting("Book"));
        account.auth = setting("Auth");
    }
    return account;
}

bool writeSyncAccount(const SyncAccount& account)
{
    return writeSettings(kSection, {{"URL", account.url.toString()},
                                    {"User", account.user},
                                    {"PasswordCommand", account.passwordCommand}});
}

void writeLearntSignIn(const SyncAccount& account)
{
    writeSetting(kSection, "Book", account.book.toString(QUrl::FullyEncoded));
    writeSetting(kSection, "Auth", account.auth);
    writeSetting(kSection, "FoundFrom", foundFrom(account));
}

std::optional<QString> accountPassword(const SyncAccount& account, QString* whyNot)
{
    if (account.user.isEmpty())
        return QString();
    return platform::password(
        secretKey(account), account.passwordCommand,
        QString("The password of %1 on %2:").arg(account.user, account.url.toDisplayString()),
        whyNot);
}

bool keepAccountPassword(const SyncAccount& account, const QString& password)
{
    return platform::storePassword(secretKey(account), password);
}

OpenedCollection CardDavCollection::open(const SyncAccount& account, const ChooseBook& choose)
{
    QString whyNot;
    const std::optional<QString> password = accountPassword(account, &whyNot);
    if (!password)
        return {nullptr, {0, whyNot.isEmpty() ? "No password was given." : whyNot}};
    OpenedCollection opened = open(account, *password, choose);
    // A refused password is not offered again: the next sync asks anew.
    if (opened.failure.status == 401)
        platform::forgetPassword(secretKey(account));
    if (opened.collection) {
        const SyncAccount learnt = opened.collection->learnt(account);
        // Written only when it changed; a settings file that cannot be
        // written costs the next sync a discovery, nothing more.
        if (learnt.book != account.book || learnt.auth != account.auth)
            writeLearntSignIn(learnt);
    }
    return opened;
}

} // namespace tovren::sync
