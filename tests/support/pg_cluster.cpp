// The throwaway PostgreSQL cluster. Its folder holds the data directory, the
// server's log and its socket; a watchdog process removes the folder once the
// test process has gone, so not even a crash leaves a server behind.

#include "pg_cluster.h"

#include "test_helpers.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <libpq-fe.h>

#include <memory>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

namespace testing_support {

namespace {

// What every cluster's data folder is made with. Small WAL segments keep the
// folder, and so its copy, small; durability buys nothing in a cluster that
// dies with the tests.
const QStringList kInitdbArguments = QString("-U %1 --auth=trust -E UTF8 --locale=C.UTF-8 "
                                             "--wal-segsize=1 --no-sync --no-instructions")
                                         .arg(PgCluster::adminUser)
                                         .split(' ');
const QByteArray kSettings = "listen_addresses = ''\nfsync = off\nsynchronous_commit = off\n"
                             "full_page_writes = off\n";
const QByteArray kAccess =
    QByteArray("local all ") + PgCluster::secretUser + " scram-sha-256\nlocal all all trust\n";

std::unique_ptr<PgCluster>& sharedCluster()
{
    static std::unique_ptr<PgCluster> cluster;
    return cluster;
}

// A value for a libpq conninfo, quoted so that spaces and quotes survive.
QString quoted(QString value)
{
    return '\'' + value.replace('\\', "\\\\").replace('\'', "\\'") + '\'';
}

bool hasServer(const QString& dir)
{
    return !dir.isEmpty() && QFile::exists(dir + "/initdb") && QFile::exists(dir + "/pg_ctl");
}

QString findBinDir()
{
    QProcess pgConfig;
    pgConfig.start("pg_config", {"--bindir"});
    if (pgConfig.waitForFinished() && pgConfig.exitCode() == 0) {
        const QString dir = QString::fromLocal8Bit(pgConfig.readAllStandardOutput()).trimmed();
        if (hasServer(dir))
            return dir;
    }
    // Debian keeps each major version's server apart; take the newest.
    QStringList versions = QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toDouble() > b.toDouble(); });
    for (const QString& version : versions) {
        const QString dir = "/usr/lib/postgresql/" + version + "/bin";
        if (hasServer(dir))
            return dir;
    }
    return QString();
}

} // namespace

PgCluster::PgCluster() : m_bin(binDir())
{
    if (m_bin.isEmpty())
        m_error = missingServerMessage;
    else if (!initialize() && m_error.isEmpty())
        m_error = "The test PostgreSQL cluster could not be set up";
}

PgCluster::~PgCluster()
{
    if (m_running)
        stop();
    m_watchdog.closeWriteChannel();
    m_watchdog.waitForFinished(30000);
}

PgCluster* PgCluster::shared()
{
    if (binDir().isEmpty())
        return nullptr;
    std::unique_ptr<PgCluster>& cluster = sharedCluster();
    if (!cluster) {
        cluster = std::make_unique<PgCluster>();
        // Stopped while the application still runs Qt's event machinery.
        qAddPostRoutine([] { sharedCluster().reset(); });
    }
    if (!cluster->m_ready || !cluster->start()) {
        ADD_FAILURE() << cluster->error().toStdString();
        return nullptr;
    }
    return cluster.get();
}

QString PgCluster::binDir()
{
    static const QString dir = findBinDir();
    return dir;
}

bool PgCluster::initialize()
{
    QByteArray folder = QDir::tempPath().toLocal8Bit() + "/tovren-pg-XXXXXX";
    if (!mkdtemp(folder.data()))
        return false;
    m_folder = QString::fromLocal8Bit(folder);
    // initdb and postgres refuse to run as root: the server's own user owns the cluster.
    if (geteuid() == 0) {
        const passwd* server = getpwnam("postgres");
        if (!server || chown(folder.constData(), server->pw_uid, server->pw_gid) != 0) {
            m_error = "Running as root, the cluster needs the system user postgres";
            return false;
        }
    }
    startWatchdog();
    m_port = freeLoopbackPort();
    if (!takeTemplate())
        return false;
    // The template's socket and port were its maker's; the last setting counts.
    QFile config(dataDir() + "/postgresql.conf");
    const bool configured = config.open(QIODevice::Append) && config.write(ownSettings()) > 0;
    config.close();
    m_ready = configured && start();
    return m_ready;
}

QByteArray PgCluster::ownSettings() const
{
    return QString("unix_socket_directories = '%1'\nport = %2\n")
        .arg(m_folder)
        .arg(m_port)
        .toLocal8Bit();
}

// initdb costs seconds and a copy of its result a fraction of one, so the
// data folder is made once per build and server version, under the build
// tree, and every cluster starts from a copy of it. One test process makes
// it while the others wait on the lock, which the kernel drops when its
// holder dies; a template appears whole, by a rename, or not at all.
bool PgCluster::takeTemplate()
{
    // Named after the server and what it is made with: a change makes a new one.
    const QByteArray recipe =
        m_bin.toUtf8() + kInitdbArguments.join(' ').toUtf8() + kSettings + kAccess;
    const QString folder =
        QString(TOVREN_PG_TEMPLATE_DIR "/")
        + QCryptographicHash::hash(recipe, QCryptographicHash::Sha1).toHex().left(12);
    const int lock = QDir().mkpath(TOVREN_PG_TEMPLATE_DIR)
                         ? ::open(QFile::encodeName(folder + ".lock").constData(),
                                  O_CREAT | O_RDWR | O_CLOEXEC, 0644)
                         : -1;
    if (lock < 0 || flock(lock, LOCK_EX) != 0) {
        m_error = "The template cluster " + folder + " cannot be locked";
        if (lock >= 0)
            close(lock);
        return false;
    }
    const QString partial = folder + ".partial";
    const bool taken = QFileInfo::exists(folder)
                           ? run("cp", {"-a", folder, dataDir()}, AsCaller)
                           : makeTemplate() && QDir(partial).removeRecursively()
                                 && run("cp", {"-a", dataDir(), partial}, AsCaller)
                                 && QDir().rename(partial, folder);
    close(lock);
    return taken;
}

// A cluster of this folder as every test wants it: only a socket, no
// durability, and the secret role with its password.
bool PgCluster::makeTemplate()
{
    if (!run(m_bin + "/initdb", QStringList{"-D", dataDir()} + kInitdbArguments))
        return false;
    QFile config(dataDir() + "/postgresql.conf");
    QFile access(dataDir() + "/pg_hba.conf");
    const bool configured =
        config.open(QIODevice::Append) && config.write(kSettings + ownSettings()) > 0
        && access.open(QIODevice::WriteOnly | QIODevice::Truncate) && access.write(kAccess) > 0;
    config.close();
    access.close();
    return configured && start()
           && exec("postgres",
                   QString("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(secretUser, secretPassword))
           && stop();
}

// Waits in its own session for the end of its stdin, which comes when the
// test process ends in any way, then stops the server at once and removes
// the folder. Qt's pipes are close-on-exec, so the server never holds it open.
void PgCluster::startWatchdog()
{
    const QString script = "dir=$1; shift; cat >/dev/null; "
                           "\"$@\" stop -D \"$dir/data\" -m immediate >/dev/null 2>&1; "
                           "rm -rf \"$dir\"";
    m_watchdog.setChildProcessModifier([] { setsid(); });
    m_watchdog.setStandardOutputFile(QProcess::nullDevice());
    m_watchdog.setStandardErrorFile(QProcess::nullDevice());
    m_watchdog.start("/bin/sh", QStringList{"-c", script, "pg-watchdog", m_folder}
                                    + asServerUser(m_bin + "/pg_ctl"));
    m_watchdog.waitForStarted();
}

QStringList PgCluster::asServerUser(const QString& program) const
{
    if (geteuid() == 0)
        return {"runuser", "-u", "postgres", "--", program};
    return {program};
}

bool PgCluster::run(const QString& program, const QStringList& arguments, RunAs who)
{
    const QStringList command =
        (who == AsServerUser ? asServerUser(program) : QStringList{program}) + arguments;
    QProcess process;
    process.setWorkingDirectory(m_folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.first(), command.mid(1));
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0)
        return true;
    m_error = command.join(' ') + " failed: " + QString::fromLocal8Bit(process.readAll())
              + process.errorString();
    return false;
}

bool PgCluster::start()
{
    if (!m_running)
        m_running = run(m_bin + "/pg_ctl", {"start", "-D", dataDir(), "-l",
                                            m_folder + "/server.log", "-w", "-t", "60"});
    return m_running;
}

bool PgCluster::stop()
{
    if (m_running && run(m_bin + "/pg_ctl", {"stop", "-D", dataDir(), "-m", "fast", "-w"}))
        m_running = false;
    return !m_running;
}

QString PgCluster::createDatabase()
{
    const QString name = QString("tovren_test_%1").arg(++m_databases);
    // Copying the files beats writing the template through the WAL, as the
    // server would by default, when nothing is synced to disk.
    return exec("postgres",
                QString("CREATE DATABASE %1 TEMPLATE template0 STRATEGY FILE_COPY").arg(name))
               ? name
               : QString();
}

bool PgCluster::dropDatabase(const QString& database)
{
    return exec("postgres", QString("DROP DATABASE %1 WITH (FORCE)").arg(database));
}

bool PgCluster::exec(const QString& database, const QString& sql)
{
    const std::unique_ptr<PGconn, decltype(&PQfinish)> connection(
        PQconnectdb(conninfo(database).toUtf8().constData()), &PQfinish);
    const std::unique_ptr<PGresult, decltype(&PQclear)> result(
        PQstatus(connection.get()) == CONNECTION_OK
            ? PQexec(connection.get(), sql.toUtf8().constData())
            : nullptr,
        &PQclear);
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
        return true;
    m_error = sql + ": " + QString::fromUtf8(PQerrorMessage(connection.get()));
    return false;
}

QString PgCluster::connectionString(const QString& database, const QString& user) const
{
    return QString("Provider=PostgreSQL;Host=%1;Port=%2;Database=%3;User ID=%4")
        .arg(m_folder)
        .arg(m_port)
        .arg(database, user);
}

QString PgCluster::conninfo(const QString& database, const QString& user,
                            const QString& password) const
{
    QString info = QString("host=%1 port=%2 dbname=%3 user=%4")
                       .arg(quoted(m_folder))
                       .arg(m_port)
                       .arg(quoted(database), quoted(user));
    if (!password.isEmpty())
        info += " password=" + quoted(password);
    return info;
}

} // namespace testing_support
