#pragma once
// The recordset's two trips to the database, behind one narrow interface:
// reading every row of a table or view into a row store, and sending the
// pending rows in one transaction. Each kind of database implements it with
// its own client library (SqliteIo for the embedded book); the recordset's
// rules (positions, edits, the optimistic check) stay above it.

#include "record_store.h"

#include <QVariantList>

#include <memory>
#include <optional>
#include <vector>

namespace data {

// What a database says of its own state: two equal versions mean nothing
// was written in between. Empty when the database cannot tell, which is
// taken as "changed".
struct DataVersion {
    quint64 file = 0;    // which file or database
    quint64 changes = 0; // how far its writes have gone
    quint32 schema = 0;  // the layout of its tables
    friend bool operator==(const DataVersion&, const DataVersion&) = default;
};
using KnownVersion = std::optional<DataVersion>;

struct LoadedRows {
    RecordStore store;
    int keyColumn = -1;   // the generated row identity, -1 for a view
    KnownVersion version; // the database's version the rows were read at
};

struct WrittenRows {
    std::vector<qint64> keys; // given to the inserted rows, in order
    // The version after the batch when the database held exactly what was
    // read before it (so the rows in memory are what is stored), else empty.
    KnownVersion version;
};

struct PendingRow {
    enum class Kind { Insert, Update, Delete };
    int row;
    Kind kind;
    const std::vector<QVariant>* originals; // values as last read, for Update and Delete
};

// A table or column name as SQL quotes it.
QString quotedName(const QString& name);

// The columns a pending row writes (insert, update: only the changed ones)
// or checks (delete), the key left out; empty for an update that changes
// nothing.
std::vector<int> columnsToWrite(const RecordStore& store, int keyColumn, const PendingRow& pending);

class DatabaseIo {
public:
    virtual ~DatabaseIo() = default;

    // The database's version now.
    virtual KnownVersion version() = 0;

    // Raises kNoSuchTable for an unknown source, DatabaseBusy while another
    // program holds the database, and the database's own error (recorded in
    // the connection's errors) when reading fails.
    virtual LoadedRows readRows(const QString& source) = 0;

    // Sends the rows in one transaction. Only the columns an update changed
    // are written, and only a row that still holds the values it was read
    // with may change: an update or delete that finds its row changed or
    // gone raises the concurrency violation. Any failure rolls everything
    // back. `readAt` is the version the rows were read at.
    virtual WrittenRows writeRows(const QString& source, const RecordStore& store, int keyColumn,
                                  const std::vector<PendingRow>& rows,
                                  const KnownVersion& readAt) = 0;

    // One transaction around several writeRows, so that rows of several
    // tables (a pick list's new entries and the addresses that name them)
    // are stored together or not at all. Inside it each writeRows is undone
    // on its own failure, and reports no version, since nothing is stored
    // before commitWork. beginWork raises DatabaseBusy while another
    // program holds the database.
    virtual void beginWork() = 0;
    virtual void commitWork() = 0;
    virtual void rollbackWork() = 0;

    // Runs one statement of the program's own making (never a person's
    // text), "?" standing for each of `parameters` in turn, and returns the
    // rows it gives: whole numbers as qint64, texts and dates as text, Null
    // as an invalid variant. For setting up and copying books, not for the
    // rows a recordset holds.
    virtual std::vector<QVariantList> execute(const QString& sql,
                                              const QVariantList& parameters = {}) = 0;
};

// A book just opened: how to read and write it, and what to call it.
struct OpenedBook {
    std::unique_ptr<DatabaseIo> io;
    QString location;
    bool readOnly = false;
};

} // namespace data
