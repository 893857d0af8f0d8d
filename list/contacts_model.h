#pragma once
// The contacts of the book as a table: Name, Company, City, a phone (the
// first of cell, office and residence that is set) and e-mail. The model
// reads the rows the card's recordset holds, in place; all it keeps of its
// own is row numbers: the live rows in the shown order, those the search
// kept, the rows a narrowing search looks at, and a bit a row while a
// search goes on.
//
// A key is answered at once with the first screenful of rows that match.
// The rest of the search runs from the event loop in slices of a few
// milliseconds over the rows as they are stored, and its rows are added
// once every row was looked at, unless the next key dropped it first.

#include "contact_search.h"

#include <QAbstractTableModel>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace data {
class Recordset;
} // namespace data

namespace tovren {

class ContactsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Company, City, Phone, Email, ColumnCount };

    explicit ContactsModel(QObject* parent = nullptr);
    ~ContactsModel() override;

    // Reads `rows` from now on (nullptr: none), in the order last sorted.
    void setRecordset(std::shared_ptr<data::Recordset> rows);
    const std::shared_ptr<data::Recordset>& recordset() const { return m_rs; }
    // Takes the recordset's rows as they stand now (after a save, a delete,
    // a refresh), keeping the order and the search.
    void reload();
    // Whether the recordset's rows changed since the list took them.
    bool isStale() const;

    // Narrows the shown rows to those that match `text`.
    void setSearch(const QString& text);
    int shownCount() const { return int(shown().size()); }
    int allCount() const { return int(m_all.size()); }
    // The memory the model holds of its own, in bytes.
    size_t ownBytes() const
    {
        return (m_all.capacity() + m_shown.capacity() + m_candidates.capacity()) * sizeof(int)
               + m_pending.capacity() * sizeof(quint64);
    }
    // How long a slice of a search may run before the event loop has its
    // turn; at 0 every slice looks at one step of rows.
    void setSliceNanoseconds(qint64 nanoseconds) { m_sliceNanoseconds = nanoseconds; }
    // Whether the search has rows still to look at.
    bool isCounting() const { return m_slices.isActive(); }
    // The stored row shown at `index`, and the shown index of a stored row
    // (-1 when it is not shown).
    int storedRow(int index) const { return shown()[size_t(index)]; }
    int indexOf(int storedRow) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

Q_SIGNALS:
    // The shown rows grew, or the search finished.
    void countChanged();

private:
    // The column of the recordset a cell shows, or -1 when the cell is
    // empty (Null, or a phone with none of its columns set); its key goes
    // to `key` when one is given.
    int storedColumn(int row, Column column, data::KeyView* key = nullptr) const;
    std::optional<data::KeyView> key(int row, Column column) const;
    bool matches(int row, const ContactSearch& search) const;
    void sortAll();
    const std::vector<int>& shown() const { return m_search.isEmpty() ? m_all : m_shown; }
    const std::vector<int>& candidates() const { return m_narrowing ? m_candidates : m_all; }
    // Starts the search over the candidates.
    void startSearch();
    // Looks at the candidates in the shown order until a screenful is
    // kept; marks the rest pending for the later slices.
    void firstRows();
    // A later slice, run from the event loop: pending rows that do not
    // match are cleared; after the last, the rest join the shown rows.
    void nextSlice();
    bool pending(int row) const;

    std::shared_ptr<data::Recordset> m_rs;
    std::array<int, 3> m_textColumns{};  // Name, Company, City
    std::array<int, 3> m_phoneColumns{}; // cell, office, residence
    int m_emailColumn = -1;
    std::vector<int> m_all;        // the live rows, in the shown order
    std::vector<int> m_shown;      // those the search kept so far
    std::vector<int> m_candidates; // what a narrowing search looks at
    bool m_narrowing = false;      // candidates are m_candidates, not m_all
    size_t m_looked = 0;           // candidates looked at in the shown order
    std::vector<quint64> m_pending; // a bit a stored row: the rest, not yet turned down
    size_t m_nextWord = 0;          // of m_pending, where the next slice begins
    QTimer m_slices;
    qint64 m_sliceNanoseconds;
    quint64 m_changesSeen = 0;
    QString m_searchText;
    ContactSearch m_search;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace tovren
