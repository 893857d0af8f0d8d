#include "sqlite_io.h"

#include "connection.h"
#include "recordset.h"

#include "platform/date_text.h"
#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include "sqlite_error.h"

#include <QFile>

#include <sqlite3.h>

#include <algorithm>

#include <sys/stat.h>

namespace data {
namespace {

[[noreturn]] void sqliteFailure(Connection& connection, sqlite3* db, const QString& what,
                                qint32 number = platform::err::Unspecified)
{
    const int code = sqlite3_extended_errcode(db);
    const QString words = QString::fromUtf8(sqlite3_errmsg(db));
    // Another program holding the file is told as that alone: the person
    // only has to try again.
    if ((code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED) {
        connection.record(sqliteError(platform::err::DatabaseBusy, code, what, words));
        platform::raise(platform::err::DatabaseBusy, inUseDescription(connection.location()));
    }
    // So is a book that may only be read: nothing is broken, nothing was
    // written, and the person's changes stay where they are.
    if ((code & 0xff) == SQLITE_READONLY) {
        connection.record(sqliteError(platform::err::ReadOnlyBook, code, what, words));
        platform::raise(platform::err::ReadOnlyBook, readOnlyDescription(connection.location()));
    }
    connection.fail(sqliteError(number, code, what, words), what);
}

// A prepared statement that finalizes itself.
class Statement {
public:
    Statement(Connection& connection, sqlite3* db, const QString& sql)
        : m_connection(connection), m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &m_statement, nullptr)
            != SQLITE_OK)
            sqliteFailure(connection, db,
                          QStringLiteral("The database could not run \"%1\"").arg(sql.left(120)));
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* get() const { return m_statement; }
    // True while there is a row; raises on failure.
    bool step()
    {
        const int result = sqlite3_step(m_statement);
        if (result == SQLITE_ROW)
            return true;
        if (result != SQLITE_DONE)
            sqliteFailure(m_connection, m_db, QStringLiteral("The changes could not be saved"));
        return false;
    }
    void bind(int index, const ColumnInfo& column, const QVariant& value)
    {
        bind(index, column.kind, value);
    }
    // A value of the program's own statement, bound by its own type.
    void bind(int index, const QVariant& value)
    {
        const QMetaType type = value.metaType();
        bind(index,
             type == QMetaType::fromType<QDate>() ? ColumnKind::Date
             : type != QMetaType::fromType<QString>() && value.canConvert<qint64>()
                 ? ColumnKind::Integer
                 : ColumnKind::Text,
             value);
    }

private:
    void bind(int index, ColumnKind kind, const QVariant& value)
    {
        if (!value.isValid() || value.isNull()) {
            sqlite3_bind_null(m_statement, index);
        } else if (kind == ColumnKind::Integer) {
            sqlite3_bind_int64(m_statement, index, value.toLongLong());
        } else {
            const QString text =
                kind == ColumnKind::Date ? platform::isoDate(value.toDate()) : value.toString();
            sqlite3_bind_text16(m_statement, index, text.utf16(), int(text.size() * 2),
                                SQLITE_TRANSIENT);
        }
    }

    Connection& m_connection;
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

void runSql(Connection& connection, sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        sqlite3_free(message);
        sqliteFailure(connection, db, QStringLiteral("The changes could not be saved"));
    }
}

// readAsText(x): a text as the program reads it. Text that is no valid
// UTF-8 (written by another program, or by an older Tovren that cut a
// character in half) is read with U+FFFD in place of the broken bytes, so a
// row holding it is found again by comparing the column the same way.
void readAsText(sqlite3_context* context, int, sqlite3_value** arguments)
{
    sqlite3_value* value = arguments[0];
    if (sqlite3_value_type(value) != SQLITE_TEXT) {
        sqlite3_result_value(context, value);
        return;
    }
    const QByteArray read =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)),
                          sqlite3_value_bytes(value))
            .toUtf8();
    sqlite3_result_text(context, read.constData(), int(read.size()), SQLITE_TRANSIENT);
}

// The stored name of a table or view, matched without regard to case.
QString storedName(Connection& connection, sqlite3* db, const QString& source)
{
    Statement find(connection, db,
                   QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view') "
                                  "AND name = ? COLLATE NOCASE"));
    sqlite3_bind_text16(find.get(), 1, source.utf16(), int(source.size() * 2), SQLITE_TRANSIENT);
    if (sqlite3_step(find.get()) != SQLITE_ROW)
        platform::raise(kNoSuchTable,
                        QStringLiteral("The database '%1' has no table or query named '%2'.")
                            .arg(connection.location(), source));
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0)));
}

// The single INTEGER PRIMARY KEY column of a table, or "".
QString keyColumnOf(Connection& connection, sqlite3* db, const QString& table)
{
    Statement info(connection, db, QStringLiteral("PRAGMA table_info(%1)").arg(quotedName(table)));
    QString key;
    int keys = 0;
    while (info.step()) {
        if (sqlite3_column_int(info.get(), 5) == 0)
            continue;
        ++keys;
        const QString type =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2)));
        if (type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
            key = QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1)));
    }
    return keys == 1 ? key : QString();
}

// The file's version as its header tells it, read through SQLite's own
// handle of the file: opening it a second time and closing that would drop
// SQLite's locks. A lock on the file must be held. In write-ahead-log mode
// the header does not count the writes, so the version is unknown.
KnownVersion headerVersion(sqlite3* db, const QString& path)
{
    sqlite3_file* file = nullptr;
    unsigned char header[100];
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file
        || !file->pMethods
        || file->pMethods->xRead(file, header, int(sizeof header), 0) != SQLITE_OK
        || header[18] == 2)
        return std::nullopt;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    const auto number = [&header](int at) {
        return quint32(header[at]) << 24 | quint32(header[at + 1]) << 16
               | quint32(header[at + 2]) << 8 | quint32(header[at + 3]);
    };
    return DataVersion{quint64(info.st_dev) << 32 ^ quint64(info.st_ino), number(24), number(40)};
}

// A read transaction: the rows and the version they are read at agree.
class Reading {
public:
    Reading(Connection& connection, sqlite3* db) : m_db(db) { runSql(connection, db, "BEGIN"); }
    ~Reading() { sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr); }
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;

private:
    sqlite3* m_db;
};

// A value is taken whole from the statement and read as a plain value:
// each sqlite3_column_* call locks the connection on its own, which cost
// more than the rest of the load together. Unlocked reads of the value are
// safe because one thread alone uses a connection.
void readValue(RecordStore& store, int row, int column, sqlite3_stmt* statement)
{
    sqlite3_value* value = sqlite3_column_value(statement, column);
    const int type = sqlite3_value_type(value);
    if (type == SQLITE_NULL)
        return; // a new row starts as Null
    const auto text = [value] { return reinterpret_cast<const char*>(sqlite3_value_text(value)); };
    switch (store.columns()[size_t(column)].kind) {
    case ColumnKind::Integer:
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            store.setNumber(row, column, sqlite3_value_int64(value));
        else
            store.setValue(row, column, QString::fromUtf8(text()));
        return;
    case ColumnKind::Date: {
        // A date may carry a time of day after it; the card shows the day.
        const char* date = text();
        const int length = std::min(sqlite3_value_bytes(value), 10);
        if (const auto day = platform::parseIsoDate(QLatin1StringView(date, length)))
            store.setNumber(row, column, day->toJulianDay());
        return;
    }
    case ColumnKind::Text: {
        const char* bytes = text();
        store.setUtf8(row, column, bytes, sqlite3_value_bytes(value));
        return;
    }
    }
}

} // namespace

sqlite3* nativeHandle(Connection& connection)
{
    const auto* io = dynamic_cast<const SqliteIo*>(&connection.io());
    if (!io)
        platform::raise(platform::err::NotSupported,
                        QStringLiteral("The address book '%1' is no database file.")
                            .arg(connection.location()));
    return io->handle();
}

SqliteIo::SqliteIo(Connection& connection, sqlite3* db, QString path)
    : m_connection(connection), m_db(db), m_path(std::move(path))
{
    // Once per connection: the check of a row whose text was read with
    // broken bytes replaced compares through it.
    sqlite3_create_function_v2(db, "tovren_read_as_text", 1,
                               SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY, nullptr,
                               readAsText, nullptr, nullptr, nullptr);
}

SqliteIo::~SqliteIo()
{
    sqlite3_close_v2(m_db);
}

KnownVersion SqliteIo::version()
{
    sqlite3* db = m_db;
    // Reading the schema takes the shared lock under which the header holds still.
    if (sqlite3_exec(db, "BEGIN; SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr)
        != SQLITE_OK) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return std::nullopt;
    }
    const KnownVersion version = headerVersion(db, m_path);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return version;
}

LoadedRows SqliteIo::readRows(const QString& source)
{
    Connection& connection = m_connection;
    sqlite3* db = m_db;
    const Reading reading(connection, db);
    const QString name = storedName(connection, db, source);
    const KnownVersion version = headerVersion(db, m_path);
    const QString key = keyColumnOf(connection, db, name);

    Statement select(
        connection, db,
        QStringLiteral("SELECT * FROM %1%2")
            .arg(quotedName(name),
                 key.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + quotedName(key)));
    sqlite3_stmt* statement = select.get();

    LoadedRows loaded;
    loaded.version = version;
    std::vector<ColumnInfo> columns;
    const int columnCount = sqlite3_column_count(statement);
    for (int c = 0; c < columnCount; ++c) {
        const char* declared = sqlite3_column_decltype(statement, c);
        ColumnInfo column =
            columnFromDeclaredType(QString::fromUtf8(sqlite3_column_name(statement, c)),
                                   QString::fromUtf8(declared ? declared : ""));
        if (!key.isEmpty() && column.name.compare(key, Qt::CaseInsensitive) == 0) {
            column.isKey = true;
            loaded.keyColumn = c;
        }
        columns.push_back(column);
    }
    loaded.store = RecordStore(std::move(columns));
    while (true) {
        const int result = sqlite3_step(statement);
        if (result == SQLITE_DONE)
            break;
        if (result != SQLITE_ROW)
            sqliteFailure(connection, db,
                          QStringLiteral("The rows of '%1' could not be read").arg(source));
        const int row = loaded.store.appendRow();
        for (int c = 0; c < columnCount; ++c)
            readValue(loaded.store, row, c, statement);
    }
    return loaded;
}

WrittenRows SqliteIo::writeRows(const QString& source, const RecordStore& store, int keyColumn,
                                const std::vector<PendingRow>& rows, const KnownVersion& readAt)
{
    Connection& connection = m_connection;
    sqlite3* db = m_db;
    if (keyColumn < 0)
        platform::raise(platform::err::NotSupported,
                        QStringLiteral("The rows of '%1' cannot be changed.").arg(source));
    const QString table = quotedName(source);
    const ColumnInfo& keyInfo = store.columns()[size_t(keyColumn)];
    const QString keyName = quotedName(keyInfo.name);

    WrittenRows written;
    // Within a transaction of beginWork the batch is a savepoint of it.
    const bool withinWork = !sqlite3_get_autocommit(db);
    runSql(connection, db, withinWork ? "SAVEPOINT tovren_rows" : "BEGIN IMMEDIATE");
    const KnownVersion before = headerVersion(db, m_path);
    bool wrote = false;
    try {
        for (const PendingRow& pending : rows) {
            const std::vector<int> columns = columnsToWrite(store, keyColumn, pending);
            if (pending.kind == PendingRow::Kind::Update && columns.empty())
                continue;

            QStringList names;
            for (const int c : columns)
                names << quotedName(store.columns()[size_t(c)].name);
            QString sql;
            if (pending.kind == PendingRow::Kind::Insert) {
                sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(table, names.join(QStringLiteral(", ")),
                               QStringList(names.size(), QStringLiteral("?"))
                                   .join(QStringLiteral(", ")));
            } else {
                // Only a row that still holds what was read may change.
                QStringList conditions{keyName + QStringLiteral(" = ?")};
                for (size_t i = 0; i < columns.size(); ++i) {
                    // A value is compared as it was read: a date by its day,
                    // a text that was read with broken bytes replaced by
                    // decoding the stored bytes the same way.
                    const int c = columns[i];
                    const QString& name = names[qsizetype(i)];
                    const QVariant& original = (*pending.originals)[size_t(c)];
                    if (store.columns()[size_t(c)].kind == ColumnKind::Date)
                        conditions << QStringLiteral("date(%1) IS ?").arg(name);
                    else if (original.metaType() == QMetaType::fromType<QString>()
                             && original.toString().contains(QChar::ReplacementCharacter))
                        conditions << QStringLiteral("tovren_read_as_text(%1) IS ?").arg(name);
                    else
                        conditions << name + QStringLiteral(" IS ?");
                }
                sql = pending.kind == PendingRow::Kind::Update
                          ? QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                .arg(table,
                                     names.join(QStringLiteral(" = ?, ")) + QStringLiteral(" = ?"),
                                     conditions.join(QStringLiteral(" AND ")))
                          : QStringLiteral("DELETE FROM %1 WHERE %2")
                                .arg(table, conditions.join(QStringLiteral(" AND ")));
            }
            Statement statement(connection, db, sql);
            int index = 1;
            if (pending.kind != PendingRow::Kind::Delete) {
                for (const int c : columns)
                    statement.bind(index++, store.columns()[size_t(c)],
                                   store.value(pending.row, c));
            }
            if (pending.kind != PendingRow::Kind::Insert) {
                statement.bind(index++, keyInfo, (*pending.originals)[size_t(keyColumn)]);
                for (const int c : columns)
                    statement.bind(index++, store.columns()[size_t(c)],
                                   (*pending.originals)[size_t(c)]);
            }
            statement.step();
            wrote = true;
            if (pending.kind == PendingRow::Kind::Insert) {
                written.keys.push_back(sqlite3_last_insert_rowid(db));
            } else if (sqlite3_changes(db) != 1) {
                platform::raise(
                    platform::err::ConcurrencyViolation,
                    QStringLiteral("Row cannot be located for updating. Some values may have been "
                                   "changed since it was last read."));
            }
        }
        runSql(connection, db, withinWork ? "RELEASE tovren_rows" : "COMMIT");
    } catch (...) {
        sqlite3_exec(db, withinWork ? "ROLLBACK TO tovren_rows; RELEASE tovren_rows" : "ROLLBACK",
                     nullptr, nullptr, nullptr);
        throw;
    }
    if (withinWork)
        return written;
    // The rows in memory are what is stored when the file held what was
    // read and then took this batch and nothing else (the count of writes
    // went up by this commit alone).
    const KnownVersion after = version();
    if (readAt && before == readAt && after && after->file == before->file
        && after->schema == before->schema && after->changes == before->changes + (wrote ? 1 : 0))
        written.version = after;
    return written;
}

void SqliteIo::beginWork()
{
    runSql(m_connection, m_db, "BEGIN IMMEDIATE");
}

void SqliteIo::commitWork()
{
    runSql(m_connection, m_db, "COMMIT");
}

void SqliteIo::rollbackWork()
{
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::vector<QVariantList> SqliteIo::execute(const QString& sql, const QVariantList& parameters)
{
    Statement statement(m_connection, m_db, sql);
    for (int i = 0; i < parameters.size(); ++i)
        statement.bind(i + 1, parameters[i]);
    std::vector<QVariantList> rows;
    while (statement.step()) {
        QVariantList row;
        for (int c = 0; c < sqlite3_column_count(statement.get()); ++c) {
            switch (sqlite3_column_type(statement.get(), c)) {
            case SQLITE_NULL:
                row << QVariant();
                break;
            case SQLITE_INTEGER:
                row << qint64(sqlite3_column_int64(statement.get(), c));
                break;
            default:
                row << QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), c)),
                    sqlite3_column_bytes(statement.get(), c));
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace data
