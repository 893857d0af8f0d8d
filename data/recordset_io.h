#pragma once
// The recordset's two trips to the database: reading every row of a table
// or view, and sending the pending rows in one transaction.

#include "record_store.h"

#include <vector>

namespace data {

class Connection;

struct LoadedRows {
    RecordStore store;
    int keyColumn = -1; // the generated row identity, -1 for a view
};

// Raises kNoSuchTable for an unknown source and the database's own error
// (recorded in the connection's errors) when reading fails.
LoadedRows readRows(Connection& connection, const QString& source);

struct PendingRow {
    enum class Kind { Insert, Update, Delete };
    int row;
    Kind kind;
    const std::vector<QVariant>* originals; // values as last read, for Update and Delete
};

// Sends the rows in one transaction and returns the keys given to the
// inserted rows, in order. An update or delete that finds its row changed
// or gone raises the concurrency violation; any failure rolls everything
// back.
std::vector<qint64> writeRows(Connection& connection, const QString& source,
                              const RecordStore& store, int keyColumn,
                              const std::vector<PendingRow>& rows);

} // namespace data
