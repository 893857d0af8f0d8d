#include "secret_store.h"

#include "password_command.h"
#include "prompts.h"

#include <qt6keychain/keychain.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QHash>
#include <QTimer>

namespace platform {
namespace {

constexpr int kCommandTimeoutMs = 30000;
// A keyring that gives no answer in this long counts as absent for the rest
// of the run, so a stuck one costs one wait, not one per password.
constexpr int kKeyringTimeoutMs = 10000;

enum class Keyring { Unknown, Runs, Absent };

struct RunState {
    Keyring keyring = Keyring::Unknown;
    QHash<QString, QString> kept; // passwords held for this run only, by id()
};

RunState& run()
{
    static RunState state;
    return state;
}

QString id(const SecretKey& key)
{
    return key.service + QLatin1Char('\n') + key.account;
}

// Whether a keyring runs or can be started on the session bus: asking the
// bus is quick, while a keyring call with nobody to answer it waits for
// D-Bus's own timeout of 25 seconds.
bool keyringOnBus()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QStringList activatable = bus.interface()->activatableServiceNames();
    for (const char* name : {"org.freedesktop.secrets", "org.kde.kwalletd5", "org.kde.kwalletd6"}) {
        if (activatable.contains(QLatin1String(name))
            || bus.interface()->isServiceRegistered(QString::fromLatin1(name)))
            return true;
    }
    return false;
}

bool keyringRuns()
{
    if (run().keyring == Keyring::Unknown)
        run().keyring = keyringOnBus() ? Keyring::Runs : Keyring::Absent;
    return run().keyring == Keyring::Runs;
}

struct Outcome {
    bool done = false; // the keyring did what was asked; false for an absent entry too
    QString text;      // what a read found
};

// Runs `job` on a local event loop. A job that fails for any reason but an
// absent entry, or gives no answer in time, leaves the keyring out for the
// rest of the run. The job deletes itself once it ends, however late.
Outcome perform(QKeychain::Job* job, const SecretKey& key)
{
    job->setKey(key.account);
    std::optional<Outcome> outcome;
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&](QKeychain::Job* ended) {
        outcome = Outcome{ended->error() == QKeychain::NoError, QString()};
        if (const auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(ended))
            outcome->text = read->textData();
        if (ended->error() != QKeychain::NoError && ended->error() != QKeychain::EntryNotFound)
            run().keyring = Keyring::Absent;
        loop.quit();
    });
    QTimer::singleShot(kKeyringTimeoutMs, &loop, [&] {
        run().keyring = Keyring::Absent;
        loop.quit();
    });
    job->start();
    // A job may end within start(), before the loop would run.
    if (!outcome)
        loop.exec();
    return outcome.value_or(Outcome{});
}

} // namespace

std::optional<QString> password(const SecretKey& key, const QString& command,
                                const QString& question, QString* whyNot)
{
    if (!command.isEmpty())
        return passwordFromCommand(command, kCommandTimeoutMs, whyNot);
    if (const auto kept = run().kept.constFind(id(key)); kept != run().kept.cend())
        return *kept;
    if (keyringRuns()) {
        const Outcome stored = perform(new QKeychain::ReadPasswordJob(key.service), key);
        if (stored.done)
            return stored.text;
    }
    const std::optional<QString> typed =
        prompts().password({QCoreApplication::applicationName(), question});
    if (!typed) {
        if (whyNot)
            *whyNot = QStringLiteral("No password was given.");
        return std::nullopt;
    }
    run().kept.insert(id(key), *typed);
    return typed;
}

bool storePassword(const SecretKey& key, const QString& secret)
{
    if (keyringRuns()) {
        auto* job = new QKeychain::WritePasswordJob(key.service);
        job->setTextData(secret);
        if (perform(job, key).done) {
            run().kept.remove(id(key));
            return true;
        }
    }
    run().kept.insert(id(key), secret);
    return false;
}

void forgetPassword(const SecretKey& key)
{
    run().kept.remove(id(key));
    if (keyringRuns())
        perform(new QKeychain::DeletePasswordJob(key.service), key);
}

} // namespace platform
