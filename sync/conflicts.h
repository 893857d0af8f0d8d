#pragma once
// Contacts both sides changed: the book holds the server's version, and the
// person's version waits beside it until they choose. The choice is stored
// at once and goes to the server at the next sync.

#include "synced_book.h"

namespace tovren::sync {

struct Conflict {
    qint64 id = 0;
    interchange::Contact book; // the server's version, as the book holds it now
    interchange::Contact mine; // the person's version, set aside
};

std::vector<Conflict> conflicts(SyncedBook& book);

// Keeps the person's version (its values go into the book, to be sent) or
// the server's (already in the book); either way the conflict is settled.
void choose(SyncedBook& book, qint64 id, bool keepMine);

} // namespace tovren::sync
