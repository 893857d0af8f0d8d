#pragma once
// A real, throwaway PostgreSQL server for the tests of one executable: copied
// from a template data folder (made once per build) into a fresh temporary
// folder on first use, reachable only over a Unix socket in that folder, and
// gone with the folder when the executable ends, whether it ends normally or
// dies.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace testing_support {

class PgCluster {
public:
    // Has the server trust every role but this one, which must give its password.
    static constexpr const char* secretUser = "tovren_secret";
    static constexpr const char* secretPassword = "Kl4pp-3rde!";
    static constexpr const char* adminUser = "tovren_admin";
    static constexpr const char* missingServerMessage =
        "The PostgreSQL server binaries are not installed (scripts/setup.sh installs postgresql)";

    // Starts a cluster of its own; error() says why when it could not.
    PgCluster();
    ~PgCluster();
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    // The executable's cluster, running; nullptr when the server binaries are
    // not installed. A cluster that fails to start fails the calling test.
    static PgCluster* shared();
    // The folder of the server's binaries; empty when none is installed.
    static QString binDir();

    QString error() const { return m_error; }
    QString socketDir() const { return m_folder; }
    int port() const { return m_port; }

    // A fresh, empty database with a name of its own; empty on failure.
    QString createDatabase();
    bool dropDatabase(const QString& database);
    // Runs one statement in `database` as the administrator.
    bool exec(const QString& database, const QString& sql);

    // The program's form of a connection to `database`.
    QString connectionString(const QString& database, const QString& user = adminUser) const;
    // libpq's form of the same.
    QString conninfo(const QString& database, const QString& user = adminUser,
                     const QString& password = QString()) const;

    // Stop and start the server in the middle of a test; start() returns once
    // the server accepts connections.
    bool stop();
    bool start();
    bool isRunning() const { return m_running; }

private:
    // Who runs a command: the server's own user (when the tests run as
    // root), or the test process itself.
    enum RunAs { AsServerUser, AsCaller };

    bool initialize();
    bool takeTemplate();
    bool makeTemplate();
    QByteArray ownSettings() const;
    void startWatchdog();
    bool run(const QString& program, const QStringList& arguments, RunAs who = AsServerUser);
    QStringList asServerUser(const QString& program) const;
    QString dataDir() const { return m_folder + "/data"; }

    QString m_bin;
    QString m_folder;
    int m_port = 0;
    bool m_ready = false;
    bool m_running = false;
    int m_databases = 0;
    QString m_error;
    QProcess m_watchdog;
};

// A fresh database on the shared cluster for each test, dropped after it;
// skips the test only when the server binaries are not installed.
class PgDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pg = PgCluster::shared();
        if (!m_pg)
            GTEST_SKIP() << PgCluster::missingServerMessage;
        m_database = m_pg->createDatabase();
        ASSERT_FALSE(m_database.isEmpty()) << m_pg->error().toStdString();
    }
    void TearDown() override
    {
        if (m_pg && !m_database.isEmpty()) {
            EXPECT_TRUE(m_pg->start() && m_pg->dropDatabase(m_database))
                << m_pg->error().toStdString();
        }
    }

    PgCluster* m_pg = nullptr;
    QString m_database;
};

} // namespace testing_support
