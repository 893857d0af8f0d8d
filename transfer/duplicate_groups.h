#pragma once
// Contacts that look like one person entered twice: they share an e-mail
// address or a phone number, or their names are the same once case,
// accents and the order of the words are set aside (duplicate_keys.h).
// Nothing here writes; the person decides what becomes of each group.

#include "book_rows.h"

#include "interchange/contact.h"

#include <span>
#include <vector>

namespace transfer {

// A contact as the book holds it, named by its row's AddressId; `row` is
// its stored row in the recordset it was read from.
struct BookContact {
    qint64 id = 0;
    interchange::Contact contact;
    int row = -1;
};

// The groups of two or more live rows of the Address recordset `addresses`
// (stored rows, as its rows() counts them) joined by any of the rules, a
// rule carrying over from one pair to the next: A shares a phone with B and
// B a name with C, so A, B and C are one group. Each group keeps the stored
// order, the groups come in the order of their first rows. The rows are
// read in place and each key is hashed once: no contact is built, and only
// rows whose keys hash alike are compared.
std::vector<std::vector<int>> duplicateRows(const data::Recordset& addresses);

// The contacts of the stored rows `rows` of `addresses`, whole.
std::vector<BookContact> contactsOfRows(const data::Recordset& addresses, const PickLists& lists,
                                        std::span<const int> rows);

} // namespace transfer
