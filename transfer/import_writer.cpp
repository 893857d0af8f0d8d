#include "import_writer.h"

#include "book_rows.h"
#include "pick_list.h"

#include "data/transaction.h"

namespace transfer {
namespace {

// Sending the rows is most of the writing's time, so they go a thousand at
// a time, all in the one transaction, and the progress moves as they go.
constexpr qint64 kRowsABatch = 1000;

void write(const ImportPlan& plan, AddressBook& book, const interchange::Progress& progress)
{
    data::Transaction work(book.connection);
    addPickListEntries(book.salutations, QStringLiteral("Salutation"), plan.newSalutations);
    addPickListEntries(book.religions, QStringLiteral("Religion"), plan.newReligions);
    const PickLists lists = pickListsOf(book);
    const qint64 adding = plan.count(PlannedContact::Fate::Add);
    qint64 added = 0;
    for (const PlannedContact& planned : plan.contacts) {
        if (planned.fate != PlannedContact::Fate::Add)
            continue;
        interchange::report(progress, added, adding);
        book.addresses.AddNew();
        fillRow(book.addresses, planned.contact, lists);
        book.addresses.Update();
        if (++added % kRowsABatch == 0)
            book.addresses.UpdateBatch();
    }
    book.addresses.UpdateBatch();
    // The last word before the commit: a cancel now still stores nothing.
    interchange::report(progress, adding, adding);
    work.commit();
}

} // namespace

void writeImport(const ImportPlan& plan, AddressBook& book, const interchange::Progress& progress)
{
    closedOnFailure(book, [&] { write(plan, book, progress); });
}

} // namespace transfer
