#include "postgres_io.h"

#include "connection.h"
#include "connection_string.h"
#include "recordset.h"
#include "tovren_database.h"

#include "platform/date_text.h"
#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>

namespace data {
namespace {

// The server's type numbers of the columns a Tovren book holds.
constexpr Oid kInt8 = 20, kInt2 = 21, kInt4 = 23, kBpchar = 1042, kVarchar = 1043, kDate = 1082,
              kTimestamp = 1114, kTimestampTz = 1184;

bool isWholeNumber(Oid type)
{
    return type == kInt2 || type == kInt4 || type == kInt8;
}

// Failures that only mean another person's work stood in the way (a
// deadlock, a lock held too long): nothing was written and trying again
// will do.
bool isBusyState(const QByteArray& state)
{
    return state == "40P01" || state == "40001" || state == "55P03" || state == "57014";
}

ColumnInfo columnOf(const PGresult* result, int column)
{
    const QString name = QString::fromUtf8(PQfname(result, column));
    const Oid type = PQftype(result, column);
    if (type == kInt2)
        return columnFromDeclaredType(name, QStringLiteral("SMALLINT"));
    if (isWholeNumber(type))
        return columnFromDeclaredType(name, QStringLiteral("INTEGER"));
    if (type == kDate || type == kTimestamp || type == kTimestampTz)
        return columnFromDeclaredType(name, QStringLiteral("DATE"));
    // A character column's modifier is its width plus four.
    const int modifier = PQfmod(result, column);
    if ((type == kVarchar || type == kBpchar) && modifier > 4)
        return columnFromDeclaredType(name, QStringLiteral("VARCHAR(%1)").arg(modifier - 4));
    return columnFromDeclaredType(name, QStringLiteral("TEXT"));
}

// A value as the server reads a parameter: text, or nothing for Null.
std::optional<QByteArray> parameterText(const QVariant& value, ColumnKind kind)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    if (kind == ColumnKind::Date || value.metaType() == QMetaType::fromType<QDate>())
        return platform::isoDate(value.toDate()).toLatin1();
    if (kind == ColumnKind::Integer)
        return QByteArray::number(value.toLongLong());
    return value.toString().toUtf8();
}

// The program's "?" placeholders as the server numbers them ($1, $2, ...);
// a "?" inside quotes stays.
QString numberedPlaceholders(const QString& sql)
{
    QString out;
    QChar quote;
    int count = 0;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++count);
            continue;
        }
        out += c;
    }
    return out;
}

// Parameters of one statement, appended in order; "$n" names the last.
struct Parameters {
    std::vector<QByteArray> texts;
    std::vector<bool> nulls;
    QString add(const std::optional<QByteArray>& value)
    {
        texts.push_back(value.value_or(QByteArray()));
        nulls.push_back(!value);
        return QLatin1Char('$') + QString::number(texts.size());
    }
};

} // namespace

OpenedBook openPostgresBook(Connection& connection, const ConnectionTarget& target, bool empty)
{
    const pg::ServerTarget server = pg::serverTarget(target);
    auto io = std::make_unique<PostgresIo>(connection, pg::Session(server), server.location);
    const std::vector<QVariantList> tables =
        io->execute(QStringLiteral("SELECT c.relname, has_table_privilege(c.oid, 'INSERT')"
                                   " AND has_table_privilege(c.oid, 'UPDATE')"
                                   " AND has_table_privilege(c.oid, 'DELETE')"
                                   " FROM pg_catalog.pg_class c WHERE c.relkind IN ('r', 'p', 'v')"
                                   " AND c.relnamespace = (SELECT oid FROM pg_catalog.pg_namespace"
                                   " WHERE nspname = current_schema())"));
    const auto refuse = [&server](const QString& why) {
        throw platform::RunTimeError(platform::err::Unspecified,
                                     QStringLiteral("The %1 %2").arg(server.location, why),
                                     QStringLiteral("Tovren database"));
    };
    bool readOnly = false;
    for (const QString& table : tovrenTables()) {
        const auto found = std::find_if(tables.begin(), tables.end(), [&](const QVariantList& row) {
            return row[0].toString().compare(table, Qt::CaseInsensitive) == 0;
        });
        if (empty && found != tables.end())
            refuse(QStringLiteral("already holds an address book: it has a table %1.").arg(table));
        if (empty)
            continue;
        if (found == tables.end())
            refuse(QStringLiteral("is not a Tovren address book: it has no table %1.").arg(table));
        if (table == tovrenTables().front())
            readOnly = (*found)[1].toString() != QLatin1String("t");
    }
    return {std::move(io), server.location, readOnly};
}

PostgresIo::PostgresIo(Connection& connection, pg::Session session, QString location)
    : m_connection(connection), m_session(std::move(session)), m_location(std::move(location))
{}

void PostgresIo::fail(pg_result* result, const QString& what)
{
    PGconn* conn = m_session.get();
    const QByteArray state =
        result ? QByteArray(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QByteArray();
    const QString words = result && *PQresultErrorMessage(result)
                              ? QString::fromUtf8(PQresultErrorMessage(result)).simplified()
                              : pg::failureText(conn);
    const auto error = [&](qint32 number) {
        return Vostrel::DbError{number, 0, words, QStringLiteral("PostgreSQL"),
                                QString::fromLatin1(state)};
    };
    // A lost session says only that: what was being done when it went
    // matters less to the person than that nothing was written.
    if (PQstatus(conn) == CONNECTION_BAD)
        m_connection.fail(error(platform::err::ServerUnreachable),
                          QStringLiteral("The server of the address book (%1) cannot be reached")
                              .arg(m_location));
    if (isBusyState(state)) {
        m_connection.record(error(platform::err::DatabaseBusy));
        platform::raise(platform::err::DatabaseBusy, inUseDescription(m_location));
    }
    if (state == "42501") {
        m_connection.record(error(platform::err::ReadOnlyBook));
        platform::raise(platform::err::ReadOnlyBook, readOnlyDescription(m_location));
    }
    m_connection.fail(error(platform::err::Unspecified), what);
}

pg::Result PostgresIo::run(const QString& sql, const std::vector<QByteArray>& parameters,
                           const std::vector<bool>& nulls, const QString& what)
{
    std::vector<const char*> values;
    for (size_t i = 0; i < parameters.size(); ++i)
        values.push_back(nulls[i] ? nullptr : parameters[i].constData());
    pg::Result result(PQexecParams(m_session.get(), sql.toUtf8().constData(), int(values.size()),
                                   nullptr, values.data(), nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(result.get(), what);
    return result;
}

// The stored name of a table or view, matched without regard to case, and
// its single whole-number primary key column ("" when it has none).
std::pair<QString, QString> PostgresIo::storedNameAndKey(const QString& source)
{
    const QString what = QStringLiteral("The rows of '%1' could not be read").arg(source);
    const pg::Result found = run(
        QStringLiteral(
            "SELECT c.relname, (SELECT a.attname FROM pg_catalog.pg_index i"
            " JOIN pg_catalog.pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = i.indkey[0]"
            " WHERE i.indrelid = c.oid AND i.indisprimary AND i.indnatts = 1"
            " AND a.atttypid IN (20, 21, 23))"
            " FROM pg_catalog.pg_class c WHERE c.relkind IN ('r', 'p', 'v', 'm')"
            " AND c.relnamespace = (SELECT oid FROM pg_catalog.pg_namespace"
            " WHERE nspname = current_schema())"
            " AND lower(c.relname) = lower($1) ORDER BY c.relname = $1 DESC LIMIT 1"),
        {source.toUtf8()}, {false}, what);
    if (PQntuples(found.get()) == 0)
        platform::raise(kNoSuchTable,
                        QStringLiteral("The database '%1' has no table or query named '%2'.")
                            .arg(m_location, source));
    return {QString::fromUtf8(PQgetvalue(found.get(), 0, 0)),
            QString::fromUtf8(PQgetvalue(found.get(), 0, 1))};
}

KnownVersion PostgresIo::version()
{
    pg::Result result(PQexec(m_session.get(), "SELECT pg_current_wal_insert_lsn() - '0/0'::pg_lsn,"
                                              " (SELECT oid FROM pg_catalog.pg_database"
                                              " WHERE datname = current_database())"));
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK || PQntuples(result.get()) != 1)
        return std::nullopt;
    return DataVersion{QByteArray(PQgetvalue(result.get(), 0, 1)).toULongLong(),
                       QByteArray(PQgetvalue(result.get(), 0, 0)).toULongLong(), 0};
}

LoadedRows PostgresIo::readRows(const QString& source)
{
    const auto [name, key] = storedNameAndKey(source);
    // Taken before the rows: a write that lands in between moves the
    // position on, so the worst it causes is a read again later.
    const KnownVersion readAt = version();
    const QString select =
        QStringLiteral("SELECT * FROM %1%2")
            .arg(quotedName(name),
                 key.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + quotedName(key));
    const QString what = QStringLiteral("The rows of '%1' could not be read").arg(source);
    // The columns from a query that returns no rows, the rows by copying.
    const pg::Result described = run(select + QStringLiteral(" LIMIT 0"), what);

    LoadedRows loaded;
    loaded.version = readAt;
    std::vector<ColumnInfo> columns;
    for (int c = 0; c < PQnfields(described.get()); ++c) {
        ColumnInfo column = columnOf(described.get(), c);
        if (!key.isEmpty() && column.name == key) {
            column.isKey = true;
            loaded.keyColumn = c;
        }
        columns.push_back(column);
    }
    loaded.store = RecordStore(std::move(columns));
    copyRows(select, loaded.store, what);
    return loaded;
}

WrittenRows PostgresIo::writeRows(const QString& source, const RecordStore& store, int keyColumn,
                                  const std::vector<PendingRow>& rows, const KnownVersion&)
{
    if (keyColumn < 0)
        platform::raise(platform::err::NotSupported,
                        QStringLiteral("The rows of '%1' cannot be changed.").arg(source));
    const QString what = QStringLiteral("The changes could not be saved");
    const QString table = quotedName(storedNameAndKey(source).first);
    const ColumnInfo& keyInfo = store.columns()[size_t(keyColumn)];
    const QString keyName = quotedName(keyInfo.name);
    const auto valueOf = [&store](const QVariant& value, int column) {
        return parameterText(value, store.columns()[size_t(column)].kind);
    };

    WrittenRows written;
    // Within a transaction of beginWork the batch is a savepoint of it.
    PGconn* conn = m_session.get();
    const bool withinWork = PQtransactionStatus(conn) == PQTRANS_INTRANS;
    run(withinWork ? QStringLiteral("SAVEPOINT tovren_rows") : QStringLiteral("BEGIN"), what);
    try {
        for (const PendingRow& pending : rows) {
            const std::vector<int> columns = columnsToWrite(store, keyColumn, pending);
            if (pending.kind == PendingRow::Kind::Update && columns.empty())
                continue;
            Parameters parameters;
            QStringList names;
            QStringList values;
            for (const int c : columns) {
                names << quotedName(store.columns()[size_t(c)].name);
                if (pending.kind != PendingRow::Kind::Delete)
                    values << parameters.add(valueOf(store.value(pending.row, c), c));
            }
            QString sql;
            if (pending.kind == PendingRow::Kind::Insert) {
                sql = columns.empty()
                          ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING %2")
                                .arg(table, keyName)
                          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
                                .arg(table, names.join(QStringLiteral(", ")),
                                     values.join(QStringLiteral(", ")), keyName);
            } else {
                // Only a row that still holds what was read may change; the
                // server checks the row again after waiting for another
                // person's change to it.
                QStringList conditions{
                    keyName + QStringLiteral(" = ")
                    + parameters.add(valueOf((*pending.originals)[size_t(keyColumn)], keyColumn))};
                for (qsizetype i = 0; i < names.size(); ++i) {
                    const int c = columns[size_t(i)];
                    conditions << names[i] + QStringLiteral(" IS NOT DISTINCT FROM ")
                                      + parameters.add(valueOf((*pending.originals)[size_t(c)], c));
                }
                QStringList assignments;
                for (qsizetype i = 0; i < values.size(); ++i)
                    assignments << names[i] + QStringLiteral(" = ") + values[i];
                sql = pending.kind == PendingRow::Kind::Update
                          ? QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                .arg(table, assignments.join(QStringLiteral(", ")),
                                     conditions.join(QStringLiteral(" AND ")))
                          : QStringLiteral("DELETE FROM %1 WHERE %2")
                                .arg(table, conditions.join(QStringLiteral(" AND ")));
            }
            const pg::Result result = run(sql, parameters.texts, parameters.nulls, what);
            if (pending.kind == PendingRow::Kind::Insert) {
                written.keys.push_back(std::atoll(PQgetvalue(result.get(), 0, 0)));
            } else if (std::atoi(PQcmdTuples(result.get())) != 1) {
                platform::raise(
                    platform::err::ConcurrencyViolation,
                    QStringLiteral("Row cannot be located for updating. Some values may have been "
                                   "changed since it was last read."));
            }
        }
        run(withinWork ? QStringLiteral("RELEASE SAVEPOINT tovren_rows") : QStringLiteral("COMMIT"),
            what);
    } catch (...) {
        PQclear(PQexec(conn, withinWork ? "ROLLBACK TO SAVEPOINT tovren_rows; "
                                          "RELEASE SAVEPOINT tovren_rows"
                                        : "ROLLBACK"));
        throw;
    }
    return written;
}

void PostgresIo::beginWork()
{
    run(QStringLiteral("BEGIN"), QStringLiteral("The changes could not be saved"));
}

void PostgresIo::commitWork()
{
    run(QStringLiteral("COMMIT"), QStringLiteral("The changes could not be saved"));
}

void PostgresIo::rollbackWork()
{
    PQclear(PQexec(m_session.get(), "ROLLBACK"));
}

std::vector<QVariantList> PostgresIo::execute(const QString& sql, const QVariantList& parameters)
{
    Parameters texts;
    for (const QVariant& value : parameters)
        texts.add(parameterText(value, ColumnKind::Text));
    const pg::Result result =
        run(numberedPlaceholders(sql), texts.texts, texts.nulls,
            QStringLiteral("The database could not run \"%1\"").arg(sql.left(120)));
    std::vector<QVariantList> rows;
    for (int r = 0; r < PQntuples(result.get()); ++r) {
        QVariantList row;
        for (int c = 0; c < PQnfields(result.get()); ++c) {
            if (PQgetisnull(result.get(), r, c))
                row << QVariant();
            else if (isWholeNumber(PQftype(result.get(), c)))
                row << qint64(std::atoll(PQgetvalue(result.get(), r, c)));
            else
                row << QString::fromUtf8(PQgetvalue(result.get(), r, c),
                                         PQgetlength(result.get(), r, c));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace data
