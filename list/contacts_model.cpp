#include "contacts_model.h"

#include "data/recordset.h"
#include "records/address.h"

#include <QRegularExpression>

#include <algorithm>

namespace tovren {

namespace {

using records::Address;
using Fld = Address::Fld;

int columnOf(const data::Recordset& rs, Fld field)
{
    return rs.rows().columnIndex(QString::fromLatin1(Address::column(field)));
}

} // namespace

ContactsModel::ContactsModel(QObject* parent) : QAbstractTableModel(parent) {}

ContactsModel::~ContactsModel() = default;

void ContactsModel::setRecordset(std::shared_ptr<data::Recordset> rows)
{
    m_rs = std::move(rows);
    if (m_rs && m_rs->isOpen()) {
        m_textColumns = {columnOf(*m_rs, Fld::Name), columnOf(*m_rs, Fld::Company),
                         columnOf(*m_rs, Fld::City)};
        m_phoneColumns = {columnOf(*m_rs, Fld::PhCell), columnOf(*m_rs, Fld::PhOff1),
                          columnOf(*m_rs, Fld::PhRes1)};
        m_emailColumn = columnOf(*m_rs, Fld::EmlAddr);
    }
    reload();
}

void ContactsModel::reload()
{
    beginResetModel();
    m_all.clear();
    m_changesSeen = m_rs ? m_rs->changeCount() : 0;
    if (m_rs && m_rs->isOpen()) {
        const int rows = m_rs->rows().rowCount();
        m_all.reserve(size_t(rows));
        for (int row = 0; row < rows; ++row)
            if (m_rs->isLive(row))
                m_all.push_back(row);
        sortAll();
    }
    filter(ContactSearch(m_searchText));
    endResetModel();
}

bool ContactsModel::isStale() const
{
    return m_rs && m_rs->changeCount() != m_changesSeen;
}

void ContactsModel::setSearch(const QString& text)
{
    if (text == m_searchText)
        return;
    // A search that only adds to the last one narrows what that one left,
    // unless that one ended in phone punctuation alone ("+", "("): matched
    // as text, which a digit typed after it turns into a phone number.
    static const QRegularExpression punctuationEnd(QStringLiteral("(^|\\s)[+().\\-]+$"));
    const bool narrows = !m_searchText.isEmpty() && text.startsWith(m_searchText)
                         && !m_searchText.contains(punctuationEnd);
    m_searchText = text;
    beginResetModel();
    const ContactSearch search(text);
    if (narrows)
        std::erase_if(m_shown, [&](int row) { return !matches(row, search); });
    else
        filter(search);
    endResetModel();
}

void ContactsModel::filter(const ContactSearch& search)
{
    if (search.isEmpty()) {
        m_shown = m_all;
        return;
    }
    std::vector<int> shown;
    for (const int row : m_all)
        if (matches(row, search))
            shown.push_back(row);
    m_shown = std::move(shown);
}

bool ContactsModel::matches(int row, const ContactSearch& search) const
{
    const data::RecordStore& store = m_rs->rows();
    // Name, company, city, e-mail, then the phones.
    const int columns[] = {m_textColumns[0],  m_textColumns[1],  m_textColumns[2], m_emailColumn,
                           m_phoneColumns[0], m_phoneColumns[1], m_phoneColumns[2]};
    return search.matches(7, 4, [&](int i) {
        return store.key(row, columns[i]); // empty for Null
    });
}

int ContactsModel::indexOf(int storedRow) const
{
    const auto found = std::find(m_shown.begin(), m_shown.end(), storedRow);
    return found == m_shown.end() ? -1 : int(found - m_shown.begin());
}

int ContactsModel::storedColumn(int row, Column column) const
{
    const data::RecordStore& store = m_rs->rows();
    const auto set = [&](int stored) {
        return store.key(row, stored).size() > 0; // empty for Null
    };
    switch (column) {
    case Phone:
        for (const int stored : m_phoneColumns)
            if (set(stored))
                return stored;
        return -1;
    case Email:
        return set(m_emailColumn) ? m_emailColumn : -1;
    default:
        return set(m_textColumns[size_t(column)]) ? m_textColumns[size_t(column)] : -1;
    }
}

std::optional<data::KeyView> ContactsModel::key(int row, Column column) const
{
    const int stored = storedColumn(row, column);
    if (stored < 0)
        return std::nullopt;
    return m_rs->rows().key(row, stored);
}

int ContactsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int ContactsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ContactsModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= int(m_shown.size()))
        return {};
    const int row = m_shown[size_t(index.row())];
    // The recordset may have been read again since: a row it no longer
    // holds shows nothing until the list takes the new rows.
    if (row >= m_rs->rows().rowCount())
        return {};
    const int stored = storedColumn(row, Column(index.column()));
    return stored < 0 ? QVariant() : m_rs->rows().value(row, stored);
}

QVariant ContactsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const kHeadings[ColumnCount] = {"Name", "Company", "City", "Phone",
                                                       "E-mail"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kHeadings[section]);
}

void ContactsModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    beginResetModel();
    sortAll();
    filter(ContactSearch(m_searchText));
    endResetModel();
}

void ContactsModel::sortAll()
{
    if (m_sortColumn < 0 || !m_rs)
        return;
    // The card's order: keys folded for case and accents, empty cells
    // first. The first four key characters, packed in a number, decide
    // most comparisons without reaching into the rows; they are held only
    // while sorting.
    struct Entry {
        quint64 prefix; // 0 for an empty cell: a set one has a first character
        int row;
    };
    const auto column = Column(m_sortColumn);
    std::vector<Entry> entries;
    entries.reserve(m_all.size());
    for (const int row : m_all) {
        quint64 prefix = 0;
        if (const auto cell = key(row, column)) {
            for (qsizetype at = 0; at < 4; ++at)
                prefix = prefix << 16 | (at < cell->size() ? cell->at(at) : 0);
        }
        entries.push_back({prefix, row});
    }
    const auto less = [&](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        if (a.prefix == 0)
            return false;
        return data::compareKeys(*key(a.row, column), *key(b.row, column)) < 0;
    };
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        return descending ? less(b, a) : less(a, b);
    });
    std::transform(entries.begin(), entries.end(), m_all.begin(),
                   [](const Entry& entry) { return entry.row; });
}

} // namespace tovren
