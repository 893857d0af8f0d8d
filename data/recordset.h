#pragma once
// A disconnected batch recordset: every row of a table or view held in
// memory with the values it was read with. Moves, find, filter and sort
// work on the rows in memory; the database is reached only to open, to
// re-read (Requery) and to send the pending changes (UpdateBatch), and only
// while a connection is set.
//
// Positions follow the classic rules: BOF before the first row, EOF after
// the last, both on an empty set; AbsolutePosition counts from 1 within the
// filtered, sorted rows. A bookmark names a row by its key, so it stays
// valid across filter, sort and Requery for as long as the row exists.
//
// Edits go into the current row; Update completes them in memory, where
// they stay pending (with the row's original values) until UpdateBatch sends
// all of them in one transaction. An update or delete whose row no longer
// holds its original values in the database changes nothing and raises the
// concurrency violation; the transaction is then rolled back and every
// change stays pending.
//
// `EOF` is a macro of the C library, so the end test is isEOF() and, to
// match it, the beginning test isBOF().

#include "database_io.h"
#include "record_store.h"

#include <QHash>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

namespace data {

class Connection;
class Criteria;

// The opaque value that names one row.
struct Bookmark {
    qint64 id = 0;
    bool operator==(const Bookmark&) const = default;
};

constexpr qint32 adSearchForward = 1;
constexpr qint32 adSearchBackward = -1;
// Standard bookmarks a search may start from.
constexpr qint32 adBookmarkCurrent = 0;
constexpr qint32 adBookmarkFirst = 1;
constexpr qint32 adBookmarkLast = 2;

// Positions reported while there is no current row.
constexpr qint32 adPosUnknown = -1;
constexpr qint32 adPosBOF = -2;
constexpr qint32 adPosEOF = -3;

// Run-time error numbers of the recordset.
constexpr qint32 kNoCurrentRecord = 3021;
constexpr qint32 kItemNotFound = 3265;
constexpr qint32 kObjectClosed = 3704;
constexpr qint32 kNoSuchTable = -2147217865; // 0x80040E37

class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Connecting and disconnecting. Opening from a connection string raises
    // the database's own error when it cannot be opened.
    void setActiveConnection(const QString& connectionString);
    void setActiveConnection(std::shared_ptr<Connection> connection);
    void disconnect();
    bool isConnected() const { return bool(m_connection); }
    const std::shared_ptr<Connection>& activeConnection() const { return m_connection; }

    // Reads every row of `source` (a table or view) through the connection.
    void Open(const QString& source);
    // Forgets the rows and every pending change; filter and sort stay set
    // and apply again when the recordset is opened again.
    void Close();
    bool isOpen() const { return m_open; }
    const QString& source() const { return m_source; }
    // Reads the rows again; pending changes are dropped.
    void Requery();

    bool isBOF() const;
    bool isEOF() const;
    void MoveFirst();
    void MoveLast();
    void MovePrevious();
    void MoveNext();
    qint32 AbsolutePosition() const;
    qint32 RecordCount() const;
    QVariant bookmark() const;
    // Moves to the row the bookmark names; a bookmark of a row that is not
    // in the rows (deleted, filtered out, or of another recordset) raises
    // the bad-bookmark error and leaves the position as it was.
    void setBookmark(const QVariant& bookmark);

    // The rows as stored, for a view that reads them in place (the list
    // beside the card): rows are storage indexes, deleted ones included.
    const RecordStore& rows() const { return m_store; }
    // Whether stored row `row` is one of the recordset's rows (not deleted).
    bool isLive(int row) const;
    QVariant bookmarkOf(int row) const;
    // The stored row of the current row; raises without one.
    int currentStoredRow() const { return currentRow(); }
    // Grows whenever rows are read, closed, added, changed or deleted: a
    // view that reads the rows in place reads them again when it moved.
    quint64 changeCount() const { return m_changes; }

    int fieldCount() const { return m_store.columnCount(); }
    const ColumnInfo& field(int index) const { return m_store.columns()[size_t(index)]; }
    // Index of the field (any letter case); raises kItemNotFound when absent.
    int fieldIndex(QStringView name) const;
    int fieldType(QStringView name) const;
    // The value of the current row: an invalid variant for Null, a QString,
    // a qint64 or a QDate.
    QVariant value(QStringView name) const;
    // The same by the field's index, for walks over many rows.
    QVariant value(int column) const;
    void setValue(QStringView name, const QVariant& value);

    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();
    void UpdateBatch();
    void CancelBatch();
    bool hasPendingChanges() const;
    // Whether the current row was added and has not been sent yet.
    bool isNewRow() const;

    // Moves to the next row (from `start`, `skipRecords` rows on, in
    // `direction`) that satisfies the one comparison of `criteria`; leaves
    // the recordset at EOF (forward) or BOF (backward) when none does.
    // `start` is empty (the current row), a bookmark, or adBookmarkFirst.
    void Find(const QString& criteria, qint32 skipRecords = 0, qint32 direction = adSearchForward,
              const QVariant& start = QVariant());
    // Why `criteria` would be refused as a search (or as a filter) on these
    // rows, or nothing when it would be taken.
    std::optional<QString> refusal(const QString& criteria, bool asFilter = false) const;

    const QString& filter() const { return m_filterText; }
    // "" shows every row; otherwise comparisons joined by AND and OR. The
    // first row of the result becomes current.
    void setFilter(const QString& filter);
    const QString& sort() const { return m_sortText; }
    // "Column [ASC|DESC], ..." orders the rows, equal keys keeping their
    // order; "" restores the order of the source. The current row stays.
    void setSort(const QString& sort);

private:
    enum class Status : quint8 { Unchanged, New, Modified, Deleted, Gone };
    struct SortKey {
        int column;
        bool descending;
    };
    struct Edit {
        int row;
        bool adding;
        std::vector<QVariant> before;
        int returnTo; // the row current before AddNew
    };

    void requireOpen() const;
    int currentRow() const; // raises kNoCurrentRecord without one
    void implicitUpdate();
    void load();
    void rebuildView();
    // Keeps the rows with changes to send in step with their status.
    void setStatus(int row, Status status);
    void applySort();
    int viewIndexOf(int row) const;
    void moveToRow(int row);
    int rowOf(const QVariant& bookmark) const; // -1 when it names no row
    void removeFromView(int row);
    void forgetRow(int row);
    [[noreturn]] void badBookmark() const;

    std::shared_ptr<Connection> m_connection;
    QString m_source;
    quint64 m_changes = 0;
    bool m_open = false;

    RecordStore m_store;
    int m_keyColumn = -1;
    KnownVersion m_version; // of the database, when the rows are as stored
    std::vector<Status> m_status;
    std::set<int> m_pending;           // rows New, Modified or Deleted
    std::vector<qint64> m_rowId;       // what a bookmark holds
    int m_readRows = 0;                // the rows read, in the order of their keys
    QHash<qint64, int> m_rowOfAddedId; // the rows added since

    // Bookmarks taken of new rows before they were sent keep naming them
    // by their key, also after the rows are read again.
    QHash<qint64, qint64> m_keyOfNewId;
    qint64 m_nextNewId = -1;
    std::unordered_map<int, std::vector<QVariant>> m_originals;
    std::optional<Edit> m_edit;

    std::vector<int> m_view;    // rows in filtered, sorted order
    bool m_viewAsBuilt = false; // no kept edit since the filter and sort were applied
    int m_pos = -1;             // -1 BOF, size EOF
    bool m_onDeleted = false;   // the current row was just deleted

    QString m_filterText;
    std::unique_ptr<Criteria> m_filter;
    QString m_sortText;
    std::vector<SortKey> m_sortKeys;
};

} // namespace data

Q_DECLARE_METATYPE(data::Bookmark)
