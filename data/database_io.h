#pragma once
// The recordset's two trips to the database, behind one narrow interface:
// reading every row of a table or view into a row store, and sending the
// pending rows in one transaction. Each kind of database implements it with
// its own client library (SqliteIo for the embedded book); the recordset's
// rules (positions, edits, the optimistic check) stay above it.

#include "record_store.h"

#include <vector>

namespace data {

struct LoadedRows {
    RecordStore store;
    int keyColumn = -1; // the generated row identity, -1 for a view
};

struct PendingRow {
    enum class Kind { Insert, Update, Delete };
    int row;
    Kind kind;
    const std::vector<QVariant>* originals; // values as last read, for Update and Delete
};

class DatabaseIo {
public:
    virtual ~DatabaseIo() = default;

    // Raises kNoSuchTable for an unknown source, DatabaseBusy while another
    // program holds the database, and the database's own error (recorded in
    // the connection's errors) when reading fails.
    virtual LoadedRows readRows(const QString& source) = 0;

    // Sends the rows in one transaction and returns the keys given to the
    // inserted rows, in order. Only the columns an update changed are
    // written, and only a row that still holds the values it was read with
    // may change: an update or delete that finds its row changed or gone
    // raises the concurrency violation. Any failure rolls everything back.
    virtual std::vector<qint64> writeRows(const QString& source, const RecordStore& store,
                                          int keyColumn, const std::vector<PendingRow>& rows) = 0;
};

} // namespace data
