#include "secret_service.h"

#include "test_helpers.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QThread>

namespace testing_support {
namespace {

// A session bus that starts no service on demand, so that nothing but the
// test's own keyring ever answers on it.
const char* const kBusConfig = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
    }
}

} // namespace

SecretService::SecretService(const QString& folder, Keyring keyring)
    : m_previousAddress(qgetenv("DBUS_SESSION_BUS_ADDRESS"))
{
    if (!startBus(folder))
        return;
    if (keyring == Keyring::Runs)
        startKeyring(folder);
    qputenv("DBUS_SESSION_BUS_ADDRESS",
            m_environment.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")).toLocal8Bit());
}

SecretService::~SecretService()
{
    stop(m_keyring);
    stop(m_bus);
    if (m_previousAddress.isEmpty())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_previousAddress);
}

bool SecretService::startBus(const QString& folder)
{
    QDir().mkpath(folder);
    const QString config = folder + QStringLiteral("/bus.conf");
    writeBytes(config, QString::fromLatin1(kBusConfig).arg(folder + "/bus").toUtf8());
    m_bus.start(QStringLiteral("dbus-daemon"),
                {"--config-file=" + config, "--nofork", "--print-address=1"});
    QString address;
    if (m_bus.waitForReadyRead(10000))
        address = QString::fromLocal8Bit(m_bus.readLine().trimmed());
    if (address.isEmpty()) {
        m_error = "The test's session bus did not start (scripts/setup.sh installs "
                  "dbus-daemon): "
                  + QString::fromLocal8Bit(m_bus.readAllStandardError());
        return false;
    }
    // The keyring keeps its files and its socket in the test's folder, never
    // in the person's own.
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    for (const char* place : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
        const QString path = folder + '/' + QString::fromLatin1(place).toLower();
        QDir().mkpath(path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                        | QFileDevice::ExeOwner);
        m_environment.insert(QString::fromLatin1(place), path);
    }
    return true;
}

bool SecretService::startKeyring(const QString& folder)
{
    m_keyring.setProcessEnvironment(m_environment);
    m_keyring.setWorkingDirectory(folder);
    // --unlock reads the keyring's password on stdin and makes the keyring
    // that every secret goes to by default.
    m_keyring.start(QStringLiteral("gnome-keyring-daemon"),
                    {"--foreground", "--unlock", "--components=secrets"});
    m_keyring.waitForStarted();
    m_keyring.write("test-keyring-password");
    m_keyring.waitForBytesWritten();
    m_keyring.closeWriteChannel();
    const QString probe = QStringLiteral("secret-service-probe");
    bool registered = false;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(
            m_environment.value(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")), probe);
        for (int tries = 0; tries < 200 && !registered; ++tries) {
            registered =
                bus.interface() && bus.interface()->isServiceRegistered("org.freedesktop.secrets");
            if (!registered)
                QThread::msleep(50);
        }
    }
    QDBusConnection::disconnectFromBus(probe);
    if (registered)
        return true;
    stop(m_keyring);
    m_error = "The test's keyring did not start (scripts/setup.sh installs gnome-keyring): "
              + QString::fromLocal8Bit(m_keyring.readAllStandardError());
    return false;
}

} // namespace testing_support
