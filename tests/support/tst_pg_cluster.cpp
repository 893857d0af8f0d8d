// The throwaway PostgreSQL cluster keeps databases apart, checks the secret
// role's password, survives a stop in the middle of a test, and leaves
// nothing behind when its test process is killed.

#include "support/pg_cluster.h"
#include "support/test_helpers.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <libpq-fe.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::PgCluster;
using testing_support::PgDatabaseTest;

namespace {

// Why libpq could not connect with `conninfo`; empty when it could.
std::string connectError(const QString& conninfo)
{
    PGconn* connection = PQconnectdb(conninfo.toUtf8().constData());
    const std::string error = PQstatus(connection) == CONNECTION_OK
                                  ? std::string()
                                  : std::string("refused: ") + PQerrorMessage(connection);
    PQfinish(connection);
    return error;
}

// Whether process `pid` still runs (a zombie no longer does).
bool runs(const QString& pid)
{
    const QByteArray stat = testing_support::readBytes("/proc/" + pid + "/stat");
    return !stat.isEmpty() && stat.mid(stat.lastIndexOf(')') + 2, 1) != "Z";
}

template <typename Condition>
bool becomes(Condition condition)
{
    for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QThread::msleep(50))
        if (condition())
            return true;
    return condition();
}

} // namespace

TEST_F(PgDatabaseTest, EachDatabaseIsEmptyAndApartOverTheSocketOnly)
{
    EXPECT_EQ(m_pg->connectionString(m_database).toStdString(),
              QString("Provider=PostgreSQL;Host=%1;Port=%2;Database=%3;User ID=tovren_admin")
                  .arg(m_pg->socketDir())
                  .arg(m_pg->port())
                  .arg(m_database)
                  .toStdString());
    ASSERT_TRUE(m_pg->exec(m_database, "CREATE TABLE Address (Name text)"))
        << m_pg->error().toStdString();
    EXPECT_TRUE(m_pg->exec(m_database, "INSERT INTO Address VALUES ('Ærø Ünal')"));

    const QString other = m_pg->createDatabase();
    ASSERT_NE(other, m_database);
    EXPECT_FALSE(m_pg->exec(other, "SELECT * FROM Address"));
    EXPECT_TRUE(m_pg->exec(other, "CREATE TABLE Address (Name text)"));
    EXPECT_TRUE(m_pg->dropDatabase(other));
    EXPECT_NE(connectError(m_pg->conninfo(other)), "");

    // Nothing answers on TCP, at the socket's port or the usual one.
    EXPECT_NE(
        connectError(
            QString("host=127.0.0.1 port=%1 dbname=postgres connect_timeout=2").arg(m_pg->port())),
        "");
    EXPECT_TRUE(m_pg->exec(m_database, "SELECT 1 WHERE current_setting('listen_addresses') = ''"
                                       " AND current_setting('fsync') = 'off'"
                                       " AND getdatabaseencoding() = 'UTF8'"));
}

TEST_F(PgDatabaseTest, OnlyTheSecretRoleNeedsAPassword)
{
    const char* user = PgCluster::secretUser;
    EXPECT_NE(connectError(m_pg->conninfo(m_database, user)), "");
    EXPECT_NE(connectError(m_pg->conninfo(m_database, user, "wrong")), "");
    EXPECT_EQ(connectError(m_pg->conninfo(m_database, user, PgCluster::secretPassword)), "");
    EXPECT_EQ(connectError(m_pg->conninfo(m_database)), "");
}

TEST_F(PgDatabaseTest, StopsAndStartsInTheMiddleOfATest)
{
    ASSERT_TRUE(m_pg->exec(m_database, "CREATE TABLE Address (Name text)"));
    ASSERT_TRUE(m_pg->stop()) << m_pg->error().toStdString();
    EXPECT_FALSE(m_pg->isRunning());
    EXPECT_NE(connectError(m_pg->conninfo(m_database)), "");
    EXPECT_FALSE(m_pg->exec(m_database, "SELECT 1"));

    ASSERT_TRUE(m_pg->start()) << m_pg->error().toStdString();
    EXPECT_EQ(connectError(m_pg->conninfo(m_database)), "");
    EXPECT_TRUE(m_pg->exec(m_database, "SELECT * FROM Address"));
}

// A child process starts a cluster of its own, reports its folder and dies
// by SIGKILL; the server and the folder must follow it.
TEST(PgClusterWatchdog, RemovesTheClusterOfAKilledProcess)
{
    if (PgCluster::binDir().isEmpty())
        GTEST_SKIP() << PgCluster::missingServerMessage;
    int report[2];
    ASSERT_EQ(pipe2(report, O_CLOEXEC), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const auto* cluster = new PgCluster; // the kill is its only end
        const QByteArray line =
            (cluster->isRunning() ? cluster->socketDir() : "failed: " + cluster->error())
                .toLocal8Bit()
            + '\n';
        if (write(report[1], line.constData(), line.size()) != line.size())
            _exit(1);
        for (;;)
            pause();
    }
    close(report[1]);
    QFile pipe;
    pipe.open(report[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QString folder = QString::fromLocal8Bit(pipe.readLine()).trimmed();
    const QString postmaster =
        QString::fromLatin1(testing_support::readBytes(folder + "/data/postmaster.pid"))
            .section('\n', 0, 0);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    ASSERT_TRUE(QFileInfo(folder).isAbsolute()) << folder.toStdString();
    ASSERT_FALSE(postmaster.isEmpty());
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_TRUE(becomes([&] { return !runs(postmaster); }))
        << "postmaster " << postmaster.toStdString();
    EXPECT_TRUE(becomes([&] { return !QFileInfo::exists(folder); })) << folder.toStdString();
}
