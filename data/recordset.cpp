#include "recordset.h"

#include "connection.h"
#include "criteria.h"
#include "database_io.h"
#include "row_sort.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <algorithm>

namespace data {

namespace {

// A size with room to grow by an eighth.
size_t withRoom(int rows)
{
    return size_t(rows) + size_t(rows) / 8 + 16;
}

[[noreturn]] void noCurrentRecord()
{
    platform::raise(kNoCurrentRecord,
                    QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                   "deleted. Requested operation requires a current record."));
}

} // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::setActiveConnection(const QString& connectionString)
{
    m_connection = Connection::open(connectionString);
}

void Recordset::setActiveConnection(std::shared_ptr<Connection> connection)
{
    m_connection = std::move(connection);
}

void Recordset::disconnect()
{
    m_connection.reset();
}

void Recordset::Open(const QString& source)
{
    if (!m_connection)
        platform::raise(
            kObjectClosed,
            QStringLiteral("The recordset has no connection to open '%1' with.").arg(source));
    m_source = source;
    load();
}

void Recordset::Close()
{
    ++m_changes;
    m_open = false;
    m_store = RecordStore();
    m_version.reset();
    m_status.clear();
    m_pending.clear();
    m_rowId.clear();
    m_readRows = 0;
    m_rowOfAddedId.clear();
    m_originals.clear();
    m_edit.reset();
    m_view.clear();
    m_pos = -1;
    m_onDeleted = false;
}

void Recordset::Requery()
{
    requireOpen();
    if (!m_connection)
        platform::raise(kObjectClosed,
                        QStringLiteral("The recordset is not connected; it cannot read '%1' again.")
                            .arg(m_source));
    if (m_version && m_connection->io().version() == m_version) {
        // Nothing was written since the rows were read: they are what a new
        // read would give, once the changes not sent are dropped.
        if (hasPendingChanges())
            CancelBatch();
        else if (!m_viewAsBuilt && (m_filter || !m_sortKeys.empty()))
            rebuildView();
        m_pos = m_view.empty() ? -1 : 0;
        m_onDeleted = false;
        return;
    }
    load();
}

void Recordset::load()
{
    // The rows held stay until the new ones are all read: a read that fails
    // half-way leaves the person the rows they had.
    LoadedRows rows = m_connection->io().readRows(m_source);
    Close();
    m_store = std::move(rows.store);
    m_keyColumn = rows.keyColumn;
    m_version = rows.version;
    const int count = m_store.rowCount();
    // Room for rows added later, so that the first new row copies nothing.
    m_status.reserve(withRoom(count));
    m_rowId.reserve(withRoom(count));
    m_status.assign(size_t(count), Status::Unchanged);
    m_rowId.resize(size_t(count));
    for (int row = 0; row < count; ++row)
        m_rowId[size_t(row)] = m_keyColumn >= 0 ? m_store.number(row, m_keyColumn) : row + 1;
    m_readRows = count;
    m_open = true;
    // A filter or sort set before the rows changed applies to the new rows;
    // one that no longer fits them is dropped.
    if (!m_filterText.isEmpty()) {
        try {
            m_filter = std::make_unique<Criteria>(Criteria::filter(m_filterText, m_store));
        } catch (const platform::RunTimeError&) {
            m_filter.reset();
            m_filterText.clear();
        }
    }
    rebuildView();
    m_pos = m_view.empty() ? -1 : 0;
}

void Recordset::requireOpen() const
{
    if (!m_open)
        platform::raise(kObjectClosed,
                        QStringLiteral("Operation is not allowed when the object is closed."));
}

bool Recordset::isBOF() const
{
    return m_view.empty() || (!m_onDeleted && m_pos < 0);
}

bool Recordset::isEOF() const
{
    return m_view.empty() || (!m_onDeleted && m_pos >= int(m_view.size()));
}

int Recordset::currentRow() const
{
    requireOpen();
    if (m_onDeleted || m_pos < 0 || m_pos >= int(m_view.size()))
        noCurrentRecord();
    return m_view[size_t(m_pos)];
}

void Recordset::implicitUpdate()
{
    if (m_edit)
        Update();
}

void Recordset::MoveFirst()
{
    requireOpen();
    implicitUpdate();
    if (m_view.empty())
        noCurrentRecord();
    m_pos = 0;
    m_onDeleted = false;
}

void Recordset::MoveLast()
{
    requireOpen();
    implicitUpdate();
    if (m_view.empty())
        noCurrentRecord();
    m_pos = int(m_view.size()) - 1;
    m_onDeleted = false;
}

void Recordset::MoveNext()
{
    requireOpen();
    implicitUpdate();
    if (m_onDeleted) {
        // The row that followed the deleted one has taken its place.
        m_onDeleted = false;
        m_pos = std::min(m_pos, int(m_view.size()));
        return;
    }
    if (isEOF())
        noCurrentRecord();
    ++m_pos;
}

void Recordset::MovePrevious()
{
    requireOpen();
    implicitUpdate();
    if (m_onDeleted) {
        m_onDeleted = false;
        m_pos = std::max(m_pos - 1, -1);
        return;
    }
    if (isBOF())
        noCurrentRecord();
    --m_pos;
}

qint32 Recordset::AbsolutePosition() const
{
    if (!m_open || m_view.empty() || m_onDeleted)
        return adPosUnknown;
    if (m_pos < 0)
        return adPosBOF;
    if (m_pos >= int(m_view.size()))
        return adPosEOF;
    return m_pos + 1;
}

qint32 Recordset::RecordCount() const
{
    return m_open ? qint32(m_view.size()) : 0;
}

QVariant Recordset::bookmark() const
{
    return bookmarkOf(currentRow());
}

bool Recordset::isLive(int row) const
{
    const Status status = m_status[size_t(row)];
    return status != Status::Deleted && status != Status::Gone;
}

QVariant Recordset::bookmarkOf(int row) const
{
    return QVariant::fromValue(Bookmark{m_rowId[size_t(row)]});
}

void Recordset::badBookmark() const
{
    platform::raise(platform::err::BadBookmark,
                    QStringLiteral("The bookmark does not name a row of this recordset "
                                   "(the row was deleted, filtered out or never read)."));
}

int Recordset::rowOf(const QVariant& bookmark) const
{
    if (bookmark.metaType() != QMetaType::fromType<Bookmark>())
        return -1;
    const qint64 id =
        m_keyOfNewId.value(bookmark.value<Bookmark>().id, bookmark.value<Bookmark>().id);
    if (const auto added = m_rowOfAddedId.constFind(id); added != m_rowOfAddedId.cend())
        return added.value();
    // The rows read come in the order of their keys.
    const auto read = m_rowId.begin() + m_readRows;
    const auto found = std::lower_bound(m_rowId.begin(), read, id);
    return found != read && *found == id ? int(found - m_rowId.begin()) : -1;
}

void Recordset::setBookmark(const QVariant& bookmark)
{
    requireOpen();
    const int row = rowOf(bookmark);
    const int index = row < 0 ? -1 : viewIndexOf(row);
    if (index < 0)
        badBookmark();
    implicitUpdate();
    m_pos = index;
    m_onDeleted = false;
}

int Recordset::viewIndexOf(int row) const
{
    const auto it = std::find(m_view.begin(), m_view.end(), row);
    return it == m_view.end() ? -1 : int(it - m_view.begin());
}

void Recordset::moveToRow(int row)
{
    const int index = row >= 0 ? viewIndexOf(row) : -1;
    m_pos = index >= 0 ? index : (m_view.empty() ? -1 : 0);
    m_onDeleted = false;
}

int Recordset::fieldIndex(QStringView name) const
{
    const int index = m_store.columnIndex(name);
    if (index < 0)
        platform::raise(kItemNotFound,
                        QStringLiteral("Item cannot be found in the collection corresponding to "
                                       "the requested name or ordinal: '%1'.")
                            .arg(name));
    return index;
}

int Recordset::fieldType(QStringView name) const
{
    return field(fieldIndex(name)).type;
}

QVariant Recordset::value(QStringView name) const
{
    return value(fieldIndex(name));
}

QVariant Recordset::value(int column) const
{
    return m_store.value(currentRow(), column);
}

void Recordset::setValue(QStringView name, const QVariant& value)
{
    const int column = fieldIndex(name);
    const int row = currentRow();
    if (column == m_keyColumn)
        platform::raise(
            platform::err::NotSupported,
            QStringLiteral("The key column %1 is given by the database and cannot be written.")
                .arg(field(column).name));
    if (!m_edit)
        m_edit = Edit{row, false, m_store.rowValues(row), -1};
    m_store.setValue(row, column, value);
}

void Recordset::AddNew()
{
    requireOpen();
    implicitUpdate();
    const int returnTo =
        (m_onDeleted || m_pos < 0 || m_pos >= int(m_view.size())) ? -1 : m_view[size_t(m_pos)];
    const int row = m_store.appendRow();
    m_status.push_back(Status::Unchanged);
    setStatus(row, Status::New);
    const qint64 id = m_nextNewId--;
    m_rowId.push_back(id);
    m_rowOfAddedId.insert(id, row);
    m_view.push_back(row);
    m_pos = int(m_view.size()) - 1;
    m_onDeleted = false;
    m_edit = Edit{row, true, {}, returnTo};
}

void Recordset::Update()
{
    requireOpen();
    if (!m_edit)
        return;
    const Edit edit = std::move(*m_edit);
    m_edit.reset();
    m_viewAsBuilt = false; // a kept row may no longer pass the filter or keep its place
    ++m_changes;           // an edit of a row already pending changes its values too
    if (edit.adding || m_status[size_t(edit.row)] != Status::Unchanged)
        return;
    if (m_store.rowValues(edit.row) != edit.before) {
        setStatus(edit.row, Status::Modified);
        m_originals[edit.row] = edit.before;
    }
}

void Recordset::CancelUpdate()
{
    requireOpen();
    if (m_edit) {
        const Edit edit = std::move(*m_edit);
        m_edit.reset();
        if (edit.adding) {
            forgetRow(edit.row);
            moveToRow(edit.returnTo);
        } else {
            m_store.setRowValues(edit.row, edit.before);
        }
        return;
    }
    // A change already completed in memory can still be taken back.
    if (m_onDeleted || m_pos < 0 || m_pos >= int(m_view.size()))
        return;
    const int row = m_view[size_t(m_pos)];
    if (m_status[size_t(row)] == Status::New) {
        forgetRow(row);
        moveToRow(-1);
    } else if (m_status[size_t(row)] == Status::Modified) {
        m_store.setRowValues(row, m_originals[row]);
        m_originals.erase(row);
        setStatus(row, Status::Unchanged);
    }
}

void Recordset::forgetRow(int row)
{
    setStatus(row, Status::Gone);
    m_originals.erase(row);
    removeFromView(row);
}

void Recordset::removeFromView(int row)
{
    const int index = viewIndexOf(row);
    if (index < 0)
        return;
    m_view.erase(m_view.begin() + index);
    if (m_pos > index)
        --m_pos;
}

void Recordset::Delete()
{
    const int row = currentRow();
    if (m_edit) {
        // The edit of a row about to go is dropped with it.
        if (!m_edit->adding)
            m_store.setRowValues(m_edit->row, m_edit->before);
        m_edit.reset();
    }
    const Status status = m_status[size_t(row)];
    if (status == Status::New) {
        setStatus(row, Status::Gone);
    } else {
        if (status == Status::Unchanged)
            m_originals[row] = m_store.rowValues(row);
        setStatus(row, Status::Deleted);
    }
    const int index = m_pos;
    m_view.erase(m_view.begin() + index);
    m_pos = index;
    m_onDeleted = true;
}

bool Recordset::hasPendingChanges() const
{
    return m_edit || !m_pending.empty();
}

bool Recordset::isNewRow() const
{
    return m_status[size_t(currentRow())] == Status::New;
}

void Recordset::UpdateBatch()
{
    requireOpen();
    implicitUpdate();
    std::vector<PendingRow> pending;
    for (const int row : m_pending) {
        const Status status = m_status[size_t(row)];
        if (status == Status::New)
            pending.push_back({row, PendingRow::Kind::Insert, nullptr});
        else if (status == Status::Modified)
            pending.push_back({row, PendingRow::Kind::Update, &m_originals[row]});
        else if (status == Status::Deleted)
            pending.push_back({row, PendingRow::Kind::Delete, &m_originals[row]});
    }
    if (pending.empty())
        return;
    if (!m_connection)
        platform::raise(
            kObjectClosed,
            QStringLiteral("The recordset is not connected; its changes cannot be sent."));

    // Nothing in memory changes until the database has taken every row.
    const WrittenRows written =
        m_connection->io().writeRows(m_source, m_store, m_keyColumn, pending, m_version);
    m_version = written.version;
    size_t nextKey = 0;
    for (const PendingRow& p : pending) {
        if (p.kind == PendingRow::Kind::Insert) {
            const qint64 key = written.keys[nextKey++];
            m_store.setNumber(p.row, m_keyColumn, key);
            m_keyOfNewId.insert(m_rowId[size_t(p.row)], key);
            m_rowId[size_t(p.row)] = key;
            m_rowOfAddedId.insert(key, p.row);
        }
        setStatus(p.row, p.kind == PendingRow::Kind::Delete ? Status::Gone : Status::Unchanged);
    }
    m_originals.clear();
}

void Recordset::CancelBatch()
{
    requireOpen();
    if (m_edit)
        CancelUpdate();
    const int current =
        (m_onDeleted || m_pos < 0 || m_pos >= int(m_view.size())) ? -1 : m_view[size_t(m_pos)];
    for (const int row : std::set<int>(m_pending)) {
        if (m_status[size_t(row)] == Status::New) {
            setStatus(row, Status::Gone);
        } else {
            m_store.setRowValues(row, m_originals[row]);
            setStatus(row, Status::Unchanged);
        }
    }
    m_originals.clear();
    rebuildView();
    moveToRow(current);
}

std::optional<QString> Recordset::refusal(const QString& criteria, bool asFilter) const
{
    if (asFilter && criteria.trimmed().isEmpty())
        return std::nullopt; // shows every row
    try {
        asFilter ? Criteria::filter(criteria, m_store) : Criteria::search(criteria, m_store);
    } catch (const platform::RunTimeError& error) {
        return error.description();
    }
    return std::nullopt;
}

void Recordset::Find(const QString& criteria, qint32 skipRecords, qint32 direction,
                     const QVariant& start)
{
    requireOpen();
    const Criteria search = Criteria::search(criteria, m_store);
    implicitUpdate();
    const int size = int(m_view.size());
    const int step = direction == adSearchBackward ? -1 : 1;

    int from = m_pos;
    if (start.metaType() == QMetaType::fromType<Bookmark>()) {
        const int row = rowOf(start);
        from = row < 0 ? -1 : viewIndexOf(row);
        if (from < 0)
            badBookmark();
    } else if (start.isValid()) {
        const qint32 standard = start.toInt();
        from = standard == adBookmarkFirst ? 0 : standard == adBookmarkLast ? size - 1 : m_pos;
    } else if (from < 0 && step > 0) {
        from = 0; // from before the first row, a forward search begins at it
    }
    for (qint64 i = qint64(from) + qint64(skipRecords) * step; i >= 0 && i < size; i += step) {
        if (search.matches(m_store, m_view[size_t(i)])) {
            m_pos = int(i);
            m_onDeleted = false;
            return;
        }
    }
    m_pos = step > 0 ? size : -1;
    m_onDeleted = false;
}

void Recordset::setFilter(const QString& filter)
{
    requireOpen();
    std::unique_ptr<Criteria> parsed;
    if (!filter.trimmed().isEmpty())
        parsed = std::make_unique<Criteria>(Criteria::filter(filter, m_store));
    implicitUpdate();
    m_filter = std::move(parsed);
    m_filterText = m_filter ? filter : QString();
    rebuildView();
    m_pos = m_view.empty() ? -1 : 0;
    m_onDeleted = false;
}

void Recordset::setSort(const QString& sort)
{
    requireOpen();
    std::vector<SortKey> keys;
    for (const QString& part : sort.split(QLatin1Char(','))) {
        const QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty()) {
            if (sort.trimmed().isEmpty())
                break;
            platform::raise(
                kInvalidArgument,
                QStringLiteral("The sort order \"%1\" is not valid: a column name is missing.")
                    .arg(sort.left(80)));
        }
        const QString direction = words.size() > 1 ? words[1].toUpper() : QStringLiteral("ASC");
        if (words.size() > 2
            || (direction != QLatin1String("ASC") && direction != QLatin1String("DESC")))
            platform::raise(kInvalidArgument,
                            QStringLiteral("The sort order \"%1\" is not valid: write a column "
                                           "name followed by ASC or DESC.")
                                .arg(sort.left(80)));
        keys.push_back({fieldIndex(words[0]), direction == QLatin1String("DESC")});
    }
    implicitUpdate();
    const int current =
        (m_onDeleted || m_pos < 0 || m_pos >= int(m_view.size())) ? -1 : m_view[size_t(m_pos)];
    m_sortKeys = std::move(keys);
    m_sortText = m_sortKeys.empty() ? QString() : sort;
    rebuildView();
    moveToRow(current);
}

void Recordset::rebuildView()
{
    m_view.clear();
    m_view.reserve(withRoom(m_store.rowCount()));
    for (int row = 0; row < m_store.rowCount(); ++row) {
        if (!isLive(row))
            continue;
        if (m_filter && !m_filter->matches(m_store, row))
            continue;
        m_view.push_back(row);
    }
    applySort();
    m_viewAsBuilt = true;
}

void Recordset::applySort()
{
    if (m_sortKeys.empty())
        return;
    // The keys after the first, each in its own direction.
    const auto tie = [this](int a, int b) {
        for (size_t k = 1; k < m_sortKeys.size(); ++k) {
            const SortKey& key = m_sortKeys[k];
            const bool nullA = m_store.isNull(a, key.column);
            const bool nullB = m_store.isNull(b, key.column);
            int order;
            if (nullA || nullB) {
                order = nullA == nullB ? 0 : (nullA ? -1 : 1);
            } else if (field(key.column).kind == ColumnKind::Text) {
                order = compareKeys(m_store.key(a, key.column), m_store.key(b, key.column));
            } else {
                const qint64 numberA = m_store.number(a, key.column);
                const qint64 numberB = m_store.number(b, key.column);
                order = numberA < numberB ? -1 : numberA > numberB ? 1 : 0;
            }
            if (order != 0)
                return key.descending ? -order : order;
        }
        return 0;
    };
    const SortKey first = m_sortKeys.front();
    // The first key as a text's key or a number; no key for Null.
    const auto sortBy = [&](const auto& valueOf) {
        sortRows(
            m_view,
            [&](int row) {
                return m_store.isNull(row, first.column) ? std::nullopt
                                                         : std::optional(valueOf(row));
            },
            first.descending, tie);
    };
    if (field(first.column).kind == ColumnKind::Text)
        sortBy([&](int row) { return m_store.key(row, first.column); });
    else
        sortBy([&](int row) { return m_store.number(row, first.column); });
}

void Recordset::setStatus(int row, Status status)
{
    ++m_changes;
    m_status[size_t(row)] = status;
    if (status == Status::New || status == Status::Modified || status == Status::Deleted)
        m_pending.insert(row);
    else
        m_pending.erase(row);
}

} // namespace data
