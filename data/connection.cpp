#include "connection.h"

#include "connection_string.h"
#include "sqlite_io.h"
#include "tovren_database.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

namespace data {
namespace {

[[noreturn]] void cannotOpen(const QString& description,
                             std::source_location where = std::source_location::current())
{
    throw platform::RunTimeError(platform::err::Unspecified, description,
                                 QStringLiteral("Tovren database"), where);
}

// Whether the file's permission bits grant `mode` (R_OK or W_OK). The
// administrator passes every access() check, but a file that nobody may
// read or write is still meant to be left alone.
bool permits(const QString& path, int mode)
{
    const QByteArray native = QFile::encodeName(path);
    if (::geteuid() != 0)
        return ::access(native.constData(), mode) == 0;
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return false;
    return mode == R_OK ? (st.st_mode & (S_IRUSR | S_IRGRP | S_IROTH)) != 0
                        : (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// Whether SQLite's result code (as the driver reports it) means that
// another connection holds the file.
bool isBusyCode(const QString& nativeCode)
{
    const int code = nativeCode.toInt() & 0xff;
    return code == 5 /* SQLITE_BUSY */ || code == 6 /* SQLITE_LOCKED */;
}

QString nextConnectionName()
{
    static int counter = 0;
    return QStringLiteral("tovren-%1").arg(++counter);
}

} // namespace

std::shared_ptr<Connection> Connection::open(const QString& connectionString,
                                             const QString& baseFolder)
{
    const ConnectionTarget target = parseConnectionString(connectionString);
    if (!isEmbeddedProvider(target.provider))
        throw platform::RunTimeError(
            platform::err::ProviderNotFound,
            QStringLiteral("Provider cannot be found. It may not be properly installed: '%1'.")
                .arg(target.provider),
            QStringLiteral("Tovren database"));
    if (target.dataSource.isEmpty())
        cannotOpen(QStringLiteral("The connection string names no database file."));

    const QFileInfo info(baseFolder.isEmpty() ? QDir::currentPath() : baseFolder,
                         target.dataSource);
    const QString path = info.absoluteFilePath();
    if (!info.exists())
        cannotOpen(QStringLiteral("Could not find file '%1'.").arg(path));
    if (!info.isFile())
        cannotOpen(QStringLiteral("'%1' is not a database file.").arg(path));
    if (!permits(path, R_OK))
        cannotOpen(
            QStringLiteral("Cannot open the database file '%1': permission denied.").arg(path));
    const bool readOnly = !permits(path, W_OK);

    const QString name = nextConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // mode=rw opens an existing file and never creates one.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
        db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)
                           + (readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw")));
        QString problem;
        bool busy = false;
        if (!db.open()) {
            problem = QStringLiteral("Cannot open the database file '%1': %2.")
                          .arg(path, db.lastError().driverText());
        } else {
            QSqlQuery query(db);
            QStringList found;
            if (!query.exec(
                    QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
                // A file another program holds locked is busy, not broken:
                // it must never be offered for replacement.
                busy = isBusyCode(query.lastError().nativeErrorCode());
                problem = busy ? inUseDescription(path)
                               : QStringLiteral("The file '%1' is not a Tovren database (%2).")
                                     .arg(path, query.lastError().driverText());
            } else {
                while (query.next())
                    found << query.value(0).toString();
                for (const QString& table : tovrenTables()) {
                    if (!found.contains(table, Qt::CaseInsensitive)) {
                        problem = QStringLiteral(
                                      "The file '%1' is not a Tovren database: it has no table %2.")
                                      .arg(path, table);
                        break;
                    }
                }
            }
        }
        if (!problem.isEmpty()) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            if (busy)
                throw platform::RunTimeError(platform::err::DatabaseBusy, problem,
                                             QStringLiteral("Tovren database"));
            cannotOpen(problem);
        }
    }
    return std::shared_ptr<Connection>(new Connection(connectionString, name, path, readOnly));
}

QString inUseDescription(const QString& path)
{
    return QStringLiteral("The address book '%1' is in use by another program.").arg(path);
}

Connection::Connection(QString connectionString, QString name, QString filePath, bool readOnly)
    : m_connectionString(std::move(connectionString)), m_name(std::move(name)),
      m_filePath(std::move(filePath)), m_readOnly(readOnly), m_io(std::make_unique<SqliteIo>(*this))
{}

Connection::~Connection()
{
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

void Connection::record(const QSqlError& error, qint32 number)
{
    bool ok = false;
    const int native = error.nativeErrorCode().toInt(&ok);
    m_errors.add({number, ok ? native : 0,
                  error.driverText() + QStringLiteral(": ") + error.databaseText(),
                  QStringLiteral("SQLite"), QStringLiteral("HY000")});
}

void Connection::fail(const QSqlError& error, qint32 number, const QString& description,
                      std::source_location where)
{
    record(error, number);
    throw platform::RunTimeError(
        number, description + QStringLiteral(" (") + error.text() + QLatin1Char(')'),
        QStringLiteral("Tovren database"), where);
}

} // namespace data
