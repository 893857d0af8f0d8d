#pragma once
// The contacts of the book as a table: Name, Company, City, a phone (the
// first of cell, office and residence that is set) and e-mail. The model
// reads the rows the card's recordset holds, in place; all it keeps of its
// own is two vectors of row numbers, the live rows in the shown order and
// those of them the search leaves.

#include "contact_search.h"

#include <QAbstractTableModel>

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
    int shownCount() const { return int(m_shown.size()); }
    int allCount() const { return int(m_all.size()); }
    // The stored row shown at `index`, and the shown index of a stored row
    // (-1 when it is not shown).
    int storedRow(int index) const { return m_shown[size_t(index)]; }
    int indexOf(int storedRow) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    // The column of the recordset a cell shows, or -1 when the cell is
    // empty (Null, or a phone with none of its columns set).
    int storedColumn(int row, Column column) const;
    std::optional<data::KeyView> key(int row, Column column) const;
    bool matches(int row, const ContactSearch& search) const;
    void sortAll();
    // The rows of all that `search` keeps, in their order.
    void filter(const ContactSearch& search);

    std::shared_ptr<data::Recordset> m_rs;
    std::array<int, 3> m_textColumns{};  // Name, Company, City
    std::array<int, 3> m_phoneColumns{}; // cell, office, residence
    int m_emailColumn = -1;
    std::vector<int> m_all;   // the live rows, in the shown order
    std::vector<int> m_shown; // those the search leaves
    quint64 m_changesSeen = 0;
    QString m_searchText;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace tovren
