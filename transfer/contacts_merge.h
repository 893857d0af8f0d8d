#pragma once
// Duplicates made one: the first contact of a group is kept with the values
// the person chose, the others are deleted, all in one transaction; what
// the merge changed is kept so that it can be taken back.

#include "duplicate_groups.h"

#include <array>

namespace transfer {

// For each column, the member of the group (an index into it) whose value
// the kept contact ends with.
using MergeChoices = std::array<int, interchange::kColumnCount>;

// The kept contact's own values, and where it has none the first value the
// others have: nothing is lost that nobody chose against.
MergeChoices defaultChoices(const std::vector<BookContact>& group);

interchange::Contact mergedContact(const std::vector<BookContact>& group,
                                   const MergeChoices& choices);

// What one merge did: the kept row before and after, and the rows it
// deleted as they were.
struct MergeRecord {
    BookContact keptBefore;
    interchange::Contact keptAfter;
    std::vector<BookContact> removed;
};

// Gives the group's first contact the values `merged` and deletes the
// others, in one transaction through `connection`, without reading the
// book: the members are stored rows of `addresses`, and a row is written
// only while the book still holds it as `addresses` does. A row that
// another program changed or deleted since refuses the whole merge with the
// data layer's concurrency violation, and so does any other failure:
// nothing is stored. `addresses` itself is left as it is.
MergeRecord writeMerge(data::Connection& connection, const data::Recordset& addresses,
                       const PickLists& lists, const std::vector<BookContact>& group,
                       const interchange::Contact& merged);

// Takes `merge` back in one transaction: the kept row gets its values
// again and the deleted contacts return (under new ids). Refused with the
// concurrency violation, nothing stored, when the kept row is gone or no
// longer holds what the merge left in it. `book` is read for the purpose.
void undoMerge(AddressBook& book, const MergeRecord& merge);

} // namespace transfer
