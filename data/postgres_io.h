#pragma once
// Reading and writing an address book on a PostgreSQL server through the
// server's own client library: rows arrive as text and go straight into
// the row store, without a variant per value on the way.

#include "database_io.h"
#include "postgres_session.h"

namespace data {

class Connection;
struct ConnectionTarget;

// Opens a session on the server the target names and checks that its
// database is a Tovren address book (or, with `empty`, that it holds none
// of a book's tables yet). Raises ServerUnreachable when no session can be
// opened (the server, port and reason, never the password), Unspecified
// for a database that fails the check.
OpenedBook openPostgresBook(Connection& connection, const ConnectionTarget& target,
                            bool empty = false);

class PostgresIo final : public DatabaseIo {
public:
    // `connection` records the failures and outlives this object.
    PostgresIo(Connection& connection, pg::Session session, QString location);

    // The server's write-ahead log position: it stands still while nothing
    // at all is written on the server, so an equal position means the rows
    // read are still what is stored (other databases' writes only make a
    // read again happen sooner than needed). Empty when it cannot be read.
    KnownVersion version() override;
    LoadedRows readRows(const QString& source) override;
    WrittenRows writeRows(const QString& source, const RecordStore& store, int keyColumn,
                          const std::vector<PendingRow>& rows, const KnownVersion& readAt) override;
    void beginWork() override;
    void commitWork() override;
    void rollbackWork() override;
    std::vector<QVariantList> execute(const QString& sql,
                                      const QVariantList& parameters = {}) override;

private:
    // Runs `sql` with text parameters (a null pointer for Null); raises the
    // fitting run-time error, told as `what`, when the server refuses it.
    pg::Result run(const QString& sql, const std::vector<QByteArray>& parameters,
                   const std::vector<bool>& nulls, const QString& what);
    pg::Result run(const QString& sql, const QString& what) { return run(sql, {}, {}, what); }
    [[noreturn]] void fail(pg_result* result, const QString& what);
    // Reads every row `select` gives into `store` (whose columns are its
    // columns) through COPY; raises as `what` on failure.
    void copyRows(const QString& select, RecordStore& store, const QString& what);
    // The stored name of a table or view (any letter case) and its key.
    std::pair<QString, QString> storedNameAndKey(const QString& source);

    Connection& m_connection;
    pg::Session m_session;
    QString m_location;
};

} // namespace data
