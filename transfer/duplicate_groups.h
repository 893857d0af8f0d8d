#pragma once
// Contacts that look like one person entered twice: they share an e-mail
// address or a phone number, or their names are the same once case,
// accents and the order of the words are set aside. Nothing here writes;
// the person decides what becomes of each group.

#include "address_book.h"

#include "interchange/contact.h"

#include <vector>

namespace transfer {

// A contact as the book holds it, named by its row's AddressId.
struct BookContact {
    qint64 id = 0;
    interchange::Contact contact;
};

// The groups of duplicates in `book`, each in the book's order, the groups
// in the order of their first contacts; raises the data layer's errors.
std::vector<std::vector<BookContact>> findDuplicates(AddressBook& book);

// The groups of two or more contacts (indexes into `contacts`, in their
// order) joined by any of the rules, a rule carrying over from one pair to
// the next: A shares a phone with B and B a name with C, so A, B and C are
// one group. Groups come in the order of their first contact.
std::vector<std::vector<int>> duplicateGroups(const std::vector<BookContact>& contacts);

} // namespace transfer
