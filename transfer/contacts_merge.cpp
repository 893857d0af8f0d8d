#include "contacts_merge.h"

#include "book_rows.h"

#include "data/connection.h"
#include "data/transaction.h"
#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

#include <QHash>

namespace transfer {
namespace {

// The bookmarks of the rows named by `ids`, found in one walk of the rows.
QHash<qint64, QVariant> bookmarksOf(data::Recordset& rows, const QList<qint64>& ids)
{
    QHash<qint64, QVariant> bookmarks;
    if (rows.RecordCount() <= 0)
        return bookmarks;
    for (rows.MoveFirst(); !rows.isEOF() && bookmarks.size() < ids.size(); rows.MoveNext()) {
        const qint64 id = rows.value(u"AddressId").toLongLong();
        if (ids.contains(id))
            bookmarks.insert(id, rows.bookmark());
    }
    return bookmarks;
}

[[noreturn]] void refuse()
{
    throw platform::RunTimeError(platform::err::ConcurrencyViolation,
                                 QStringLiteral("Row cannot be located for updating. Some values "
                                                "may have been changed since it was last read."));
}

} // namespace

MergeChoices defaultChoices(const std::vector<BookContact>& group)
{
    MergeChoices choices{};
    for (int c = 0; c < interchange::kColumnCount; ++c) {
        for (int member = 0; member < int(group.size()); ++member) {
            if (!group[size_t(member)].contact.values[size_t(c)].isEmpty()) {
                choices[size_t(c)] = member;
                break;
            }
        }
    }
    return choices;
}

interchange::Contact mergedContact(const std::vector<BookContact>& group,
                                   const MergeChoices& choices)
{
    interchange::Contact merged;
    for (int c = 0; c < interchange::kColumnCount; ++c)
        merged.values[size_t(c)] = group[size_t(choices[size_t(c)])].contact.values[size_t(c)];
    return merged;
}

MergeRecord writeMerge(data::Connection& connection, const data::Recordset& addresses,
                       const PickLists& lists, const std::vector<BookContact>& group,
                       const interchange::Contact& merged)
{
    // The group's rows as `addresses` holds them, the kept one given the
    // merged values: what the book no longer holds so is not written.
    const data::RecordStore& held = addresses.rows();
    data::RecordStore rows(held.columns());
    std::vector<std::vector<QVariant>> originals;
    originals.reserve(group.size());
    std::vector<data::PendingRow> pending;
    for (const BookContact& member : group) {
        const int row = rows.appendRow();
        rows.setRowValues(row, originals.emplace_back(held.rowValues(member.row)));
        pending.push_back({row, row == 0 ? data::PendingRow::Kind::Update
                                         : data::PendingRow::Kind::Delete,
                           &originals.back()});
    }
    fillRow(rows, 0, columnIndexes(addresses), merged, lists);
    connection.io().writeRows(addresses.source(), rows,
                              addresses.fieldIndex(u"AddressId"), pending, std::nullopt);
    return {group.front(), merged, {group.begin() + 1, group.end()}};
}

void undoMerge(AddressBook& book, const MergeRecord& merge)
{
    closedOnFailure(book, [&] {
        const PickLists lists = pickListsOf(book);
        const QHash<qint64, QVariant> bookmarks =
            bookmarksOf(book.addresses, {merge.keptBefore.id});
        if (bookmarks.isEmpty())
            refuse();
        book.addresses.setBookmark(bookmarks.value(merge.keptBefore.id));
        if (contactOfRow(book.addresses, lists).values != merge.keptAfter.values)
            refuse();
        data::Transaction work(book.connection);
        fillRow(book.addresses, merge.keptBefore.contact, lists);
        book.addresses.Update();
        for (const BookContact& removed : merge.removed) {
            book.addresses.AddNew();
            fillRow(book.addresses, removed.contact, lists);
            book.addresses.Update();
        }
        book.addresses.UpdateBatch();
        work.commit();
    });
}

} // namespace transfer
