// Opening an embedded address book file: never creating one, and telling a
// missing file, an unreadable one, a stranger's database and a file another
// program holds apart.

#include "connection.h"
#include "sqlite_io.h"
#include "tovren_database.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

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

bool isBusyCode(int code)
{
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

// What keeps the open file from being used as a Tovren book, or "".
QString problemOf(sqlite3* db, const QString& path, bool& busy)
{
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table'", -1,
                                  &statement, nullptr);
    QStringList found;
    while (code == SQLITE_OK || code == SQLITE_ROW) {
        code = sqlite3_step(statement);
        if (code == SQLITE_ROW)
            found << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    if (code != SQLITE_DONE) {
        // A file another program holds locked is busy, not broken: it must
        // never be offered for replacement.
        const QString words = QString::fromUtf8(sqlite3_errmsg(db));
        busy = isBusyCode(sqlite3_extended_errcode(db));
        return busy ? inUseDescription(path)
                    : QStringLiteral("The file '%1' is not a Tovren database (%2).")
                          .arg(path, words);
    }
    for (const QString& table : tovrenTables()) {
        if (!found.contains(table, Qt::CaseInsensitive))
            return QStringLiteral("The file '%1' is not a Tovren database: it has no table %2.")
                .arg(path, table);
    }
    return QString();
}

} // namespace

QString bookFilePath(const QString& dataSource, const QString& baseFolder)
{
    return QFileInfo(baseFolder.isEmpty() ? QDir::currentPath() : baseFolder, dataSource)
        .absoluteFilePath();
}

OpenedBook openSqliteBook(Connection& connection, const QString& dataSource,
                          const QString& baseFolder)
{
    if (dataSource.isEmpty())
        cannotOpen(QStringLiteral("The connection string names no database file."));
    const QString path = bookFilePath(dataSource, baseFolder);
    const QFileInfo info(path);
    if (!info.exists())
        cannotOpen(QStringLiteral("Could not find file '%1'.").arg(path));
    if (!info.isFile())
        cannotOpen(QStringLiteral("'%1' is not a database file.").arg(path));
    if (!permits(path, R_OK))
        cannotOpen(
            QStringLiteral("Cannot open the database file '%1': permission denied.").arg(path));
    const bool readOnly = !permits(path, W_OK);

    // Without SQLITE_OPEN_CREATE an existing file is opened and none is made.
    sqlite3* db = nullptr;
    const int opened =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                        readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr);
    QString problem;
    bool busy = false;
    if (opened != SQLITE_OK) {
        problem = QStringLiteral("Cannot open the database file '%1': %2.")
                      .arg(path, QString::fromUtf8(sqlite3_errmsg(db)));
    } else {
        sqlite3_busy_timeout(db, 2000);
        problem = problemOf(db, path, busy);
    }
    if (!problem.isEmpty()) {
        sqlite3_close_v2(db);
        if (busy)
            throw platform::RunTimeError(platform::err::DatabaseBusy, problem,
                                         QStringLiteral("Tovren database"));
        cannotOpen(problem);
    }
    return {std::make_unique<SqliteIo>(connection, db, path), path, readOnly};
}

} // namespace data
