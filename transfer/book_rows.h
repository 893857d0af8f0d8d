#pragma once
// An Address row and a contact, each made from the other: the pick lists'
// ids become their texts and back, dates their ISO form.

#include "address_book.h"
#include "pick_list.h"

#include "interchange/contact.h"

namespace transfer {

struct PickLists {
    PickList salutations;
    PickList religions;
};

// The two pick lists as `book` holds them, or as read through `connection`.
PickLists pickListsOf(AddressBook& book);
PickLists pickListsOf(const std::shared_ptr<data::Connection>& connection);

// The index of each contact column among the recordset's fields.
using ColumnIndexes = std::array<int, interchange::kColumnCount>;
ColumnIndexes columnIndexes(const data::Recordset& addresses);

// The current row of an Address recordset; `columns`, when the caller reads
// many rows, spares looking each field up by its name.
interchange::Contact contactOfRow(const data::Recordset& addresses, const PickLists& lists);
interchange::Contact contactOfRow(const data::Recordset& addresses, const PickLists& lists,
                                  const ColumnIndexes& columns);
// The stored row `row` of an Address recordset's rows.
interchange::Contact contactOfRow(const data::RecordStore& rows, int row, const PickLists& lists,
                                  const ColumnIndexes& columns);

// Fills the current (new) row as the card fills one: "" for an empty text,
// Null for no date, 0 for no pick-list entry. The contact's pick-list texts
// are the lists' entries.
void fillRow(data::Recordset& addresses, const interchange::Contact& contact,
             const PickLists& lists);
// The same for a row of `rows`, whose columns are those of `columns`.
void fillRow(data::RecordStore& rows, int row, const ColumnIndexes& columns,
             const interchange::Contact& contact, const PickLists& lists);

} // namespace transfer
