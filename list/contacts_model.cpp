#include "contacts_model.h"

#include "data/recordset.h"
#include "data/row_sort.h"
#include "records/address.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <algorithm>
#include <bit>

namespace tovren {

namespace {

using records::Address;
using Fld = Address::Fld;

int columnOf(const data::Recordset& rs, Fld field)
{
    return rs.rows().columnIndex(QString::fromLatin1(Address::column(field)));
}

} // namespace

// How long a slice of a search may keep the window from the person: well
// inside one frame, with room for the paint that shows what it found.
constexpr qint64 kSliceNanoseconds = 4'000'000;
// The rows a key is answered with at once: a screenful and then some.
constexpr size_t kScreenful = 100;

ContactsModel::ContactsModel(QObject* parent)
    : QAbstractTableModel(parent), m_sliceNanoseconds(kSliceNanoseconds)
{
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &ContactsModel::nextSlice);
}

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
    m_narrowing = false;
    startSearch();
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
    // A search that only adds to the last one narrows what that one kept
    // and what it had not yet turned down, unless that one ended in phone
    // punctuation alone ("+", "("): matched as text, which a digit typed
    // after it turns into a phone number.
    static const QRegularExpression punctuationEnd(QStringLiteral("(^|\\s)[+().\\-]+$"));
    const bool narrows = !m_search.isEmpty() && text.startsWith(m_searchText)
                         && !m_searchText.contains(punctuationEnd);
    beginResetModel();
    if (narrows) {
        std::vector<int> next = std::move(m_shown);
        const std::vector<int>& rows = candidates();
        for (size_t i = m_looked; i < rows.size(); ++i)
            if (m_pending.empty() || pending(rows[i]))
                next.push_back(rows[i]);
        m_candidates = std::move(next);
    }
    m_narrowing = narrows;
    m_searchText = text;
    m_search = ContactSearch(text);
    startSearch();
    endResetModel();
}

bool ContactsModel::pending(int row) const
{
    return m_pending[size_t(row) / 64] >> (row % 64) & 1;
}

void ContactsModel::startSearch()
{
    m_shown.clear();
    m_looked = 0;
    m_pending.clear();
    m_slices.stop();
    if (m_search.isEmpty()) {
        m_narrowing = false;
        m_candidates = {};
    } else {
        firstRows();
    }
    Q_EMIT countChanged();
}

void ContactsModel::firstRows()
{
    // Taken one by one in the shown order, wherever they lie in memory.
    const std::vector<int>& rows = candidates();
    QElapsedTimer slice;
    slice.start();
    do {
        const size_t end = std::min(rows.size(), m_looked + 64);
        for (; m_looked < end; ++m_looked)
            if (matches(rows[m_looked], m_search))
                m_shown.push_back(rows[m_looked]);
    } while (m_looked < rows.size() && m_shown.size() < kScreenful
             && slice.nsecsElapsed() < m_sliceNanoseconds);
    if (m_looked == rows.size())
        return;
    // The rest is looked at in the order the rows are stored, which reads
    // memory front to back, and put in the shown order once all is known.
    m_pending.assign((size_t(m_rs->rows().rowCount()) + 63) / 64, 0);
    for (size_t i = m_looked; i < rows.size(); ++i)
        m_pending[size_t(rows[i]) / 64] |= quint64(1) << (rows[i] % 64);
    m_nextWord = 0;
    m_slices.start();
}

void ContactsModel::nextSlice()
{
    // Rows read again since the search began: it starts over on them.
    if (isStale()) {
        reload();
        return;
    }
    QElapsedTimer slice;
    slice.start();
    // The clock is read every few hundred rows: reading it costs more
    // than looking at a row.
    do {
        const size_t end = std::min(m_pending.size(), m_nextWord + 4);
        for (; m_nextWord < end; ++m_nextWord) {
            quint64& word = m_pending[m_nextWord];
            for (quint64 left = word; left != 0; left &= left - 1) {
                const int bit = std::countr_zero(left);
                if (!matches(int(m_nextWord * 64) + bit, m_search))
                    word &= ~(quint64(1) << bit);
            }
        }
    } while (m_nextWord < m_pending.size() && slice.nsecsElapsed() < m_sliceNanoseconds);
    if (m_nextWord < m_pending.size())
        return;
    m_slices.stop();
    std::vector<int> found;
    const std::vector<int>& rows = candidates();
    for (; m_looked < rows.size(); ++m_looked)
        if (pending(rows[m_looked]))
            found.push_back(rows[m_looked]);
    m_pending = {};
    if (!found.empty()) {
        const int first = int(m_shown.size());
        beginInsertRows({}, first, first + int(found.size()) - 1);
        m_shown.insert(m_shown.end(), found.begin(), found.end());
        endInsertRows();
    }
    Q_EMIT countChanged();
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
    const std::vector<int>& rows = shown();
    const auto found = std::find(rows.begin(), rows.end(), storedRow);
    return found == rows.end() ? -1 : int(found - rows.begin());
}

int ContactsModel::storedColumn(int row, Column column, data::KeyView* key) const
{
    const data::RecordStore& store = m_rs->rows();
    const auto set = [&](int stored) {
        const data::KeyView found = store.key(row, stored); // empty for Null
        if (key)
            *key = found;
        return found.size() > 0;
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
    // One look into the row: a sort asks this of every row.
    data::KeyView found;
    if (storedColumn(row, column, &found) < 0)
        return std::nullopt;
    return found;
}

int ContactsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownCount();
}

int ContactsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ContactsModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shownCount())
        return {};
    const int row = storedRow(index.row());
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
    m_narrowing = false;
    startSearch();
    endResetModel();
}

void ContactsModel::sortAll()
{
    if (m_sortColumn < 0 || !m_rs)
        return;
    // The card's order: keys folded for case and accents, empty cells first.
    const auto column = Column(m_sortColumn);
    data::sortRows(m_all, [&](int row) { return key(row, column); },
                   m_sortOrder == Qt::DescendingOrder);
}

} // namespace tovren
