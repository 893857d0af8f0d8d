#pragma once
// Stores what a plan adds, in one transaction: the pick lists' new entries
// and the new contacts together, or nothing.

#include "address_book.h"
#include "import_plan.h"

#include "interchange/progress.h"

namespace transfer {

// Raises the data layer's error (the book in use by another program, a
// read-only file, a failed write) and then nothing is stored. After a
// failure the book's recordsets are closed, since what they hold in memory
// was never stored; a book that is to be used again is read anew.
// `progress` is told the contacts written so far; when it stops the work,
// Cancelled is raised the same way and nothing is stored.
void writeImport(const ImportPlan& plan, AddressBook& book,
                 const interchange::Progress& progress = {});

} // namespace transfer
