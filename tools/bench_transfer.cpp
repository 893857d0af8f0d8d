#include "bench_transfer.h"

#include "data/connection.h"
#include "transfer/import_writer.h"

#include <QFile>

namespace {

transfer::AddressBook openBook(const QString& book)
{
    return transfer::AddressBook(data::Connection::open(QStringLiteral("Data Source=") + book));
}

} // namespace

int importIntoBook(const QString& file, const QString& book)
{
    transfer::AddressBook into = openBook(book);
    const transfer::ImportPlan plan =
        transfer::planImport(transfer::readContactFiles({file}), into);
    transfer::writeImport(plan, into);
    return plan.count(transfer::PlannedContact::Fate::Add);
}

int exportBook(const QString& book, transfer::ExportFormat format, const QString& file)
{
    transfer::AddressBook from = openBook(book);
    const transfer::PickLists lists{
        transfer::PickList(from.salutations, QStringLiteral("Salutation")),
        transfer::PickList(from.religions, QStringLiteral("Religion"))};
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return -1;
    return transfer::exportContacts(from.addresses, lists, format, out);
}
