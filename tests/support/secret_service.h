#pragma once
// A private session bus for the life of the object, with a real Secret
// Service (gnome-keyring-daemon, unlocked) on it, or with nothing on it: a
// desktop whose keyring does not run. The test process's
// DBUS_SESSION_BUS_ADDRESS points at the bus until the object ends, so it
// must exist before the first keyring call of the process.

#include <QProcess>
#include <QString>

namespace testing_support {

class SecretService {
public:
    enum class Keyring { Runs, Absent };
    // Keeps the bus and the keyring's files in `folder`; error() says why
    // when they cannot start.
    SecretService(const QString& folder, Keyring keyring);
    ~SecretService();
    SecretService(const SecretService&) = delete;
    SecretService& operator=(const SecretService&) = delete;

    QString error() const { return m_error; }
    // The environment of a program that should see the same keyring.
    QProcessEnvironment environment() const { return m_environment; }

private:
    bool startBus(const QString& folder);
    bool startKeyring(const QString& folder);

    QProcess m_bus;
    QProcess m_keyring;
    QProcessEnvironment m_environment;
    QByteArray m_previousAddress;
    QString m_error;
};

} // namespace testing_support
