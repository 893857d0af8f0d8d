#include "import_writer.h"

#include "book_rows.h"

#include "data/transaction.h"

namespace transfer {
namespace {

void addEntries(data::Recordset& rows, const QString& table, const QStringList& entries)
{
    for (const QString& entry : entries) {
        rows.AddNew();
        rows.setValue(table, entry);
        rows.Update();
    }
    rows.UpdateBatch();
}

void write(const ImportPlan& plan, AddressBook& book)
{
    data::Transaction work(book.connection);
    addEntries(book.salutations, QStringLiteral("Salutation"), plan.newSalutations);
    addEntries(book.religions, QStringLiteral("Religion"), plan.newReligions);
    const PickLists lists{PickList(book.salutations, QStringLiteral("Salutation")),
                          PickList(book.religions, QStringLiteral("Religion"))};
    for (const PlannedContact& planned : plan.contacts) {
        if (planned.fate != PlannedContact::Fate::Add)
            continue;
        book.addresses.AddNew();
        fillRow(book.addresses, planned.contact, lists);
        book.addresses.Update();
    }
    book.addresses.UpdateBatch();
    work.commit();
}

} // namespace

void writeImport(const ImportPlan& plan, AddressBook& book)
{
    try {
        write(plan, book);
    } catch (...) {
        for (data::Recordset* rows : {&book.addresses, &book.salutations, &book.religions})
            rows->Close();
        throw;
    }
}

} // namespace transfer
