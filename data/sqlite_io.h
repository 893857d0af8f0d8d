#pragma once
// Reading and writing an embedded (SQLite) address book through SQLite's own
// interface: reading a whole table value by value through a generic SQL
// layer costs several times as long.

#include "database_io.h"

struct sqlite3;

namespace data {

class Connection;

// The absolute path of the file `dataSource` names, relative ones taken
// from `baseFolder` (the current folder when it is empty).
QString bookFilePath(const QString& dataSource, const QString& baseFolder);
// Opens the book file `dataSource` (relative to `baseFolder`, or to the
// current folder when that is empty) for `connection`. Never creates a
// file; raises Unspecified for a file that is missing, unreadable or no
// Tovren database, DatabaseBusy for one another program holds.
OpenedBook openSqliteBook(Connection& connection, const QString& dataSource,
                          const QString& baseFolder);

// The SQLite connection under `connection`, for a reader that must go
// faster than rows of variants allow; raises when the book is no SQLite file.
sqlite3* nativeHandle(Connection& connection);

class SqliteIo final : public DatabaseIo {
public:
    // Takes `db` (open on `path`) over; `connection` records the failures
    // and outlives this object.
    SqliteIo(Connection& connection, sqlite3* db, QString path);
    ~SqliteIo() override;
    SqliteIo(const SqliteIo&) = delete;
    SqliteIo& operator=(const SqliteIo&) = delete;

    sqlite3* handle() const { return m_db; }

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
    Connection& m_connection;
    sqlite3* m_db;
    QString m_path;
};

} // namespace data
