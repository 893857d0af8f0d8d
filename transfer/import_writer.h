#pragma once
// Stores what a plan adds, in one transaction: the pick lists' new entries
// and the new contacts together, or nothing.

#include "address_book.h"
#include "import_plan.h"

namespace transfer {

// Raises the data layer's error (the book in use by another program, a
// read-only file, a failed write) and then nothing is stored. After a
// failure the book's recordsets are closed, since what they hold in memory
// was never stored; a book that is to be used again is read anew.
void writeImport(const ImportPlan& plan, AddressBook& book);

} // namespace transfer
