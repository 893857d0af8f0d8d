#pragma once
// Reading and writing an embedded (SQLite) address book through SQLite's own
// interface: reading a whole table value by value through the generic SQL
// layer costs several times as long.

#include "database_io.h"

struct sqlite3;

namespace data {

class Connection;

// The SQLite connection under `connection`, for a reader that must go
// faster than rows of variants allow; raises when the book is not open.
sqlite3* nativeHandle(const Connection& connection);

class SqliteIo final : public DatabaseIo {
public:
    // `connection` (open) records the failures; it outlives this object.
    explicit SqliteIo(Connection& connection);

    KnownVersion version() override;
    LoadedRows readRows(const QString& source) override;
    WrittenRows writeRows(const QString& source, const RecordStore& store, int keyColumn,
                          const std::vector<PendingRow>& rows, const KnownVersion& readAt) override;
    void beginWork() override;
    void commitWork() override;
    void rollbackWork() override;

private:
    Connection& m_connection;
};

} // namespace data
