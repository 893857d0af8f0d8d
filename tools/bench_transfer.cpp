#include "bench_transfer.h"

#include "data/connection.h"
#include "transfer/import_writer.h"

#include <QFile>

int importIntoBook(const QString& file, const QString& connectionString)
{
    transfer::AddressBook into(data::Connection::open(connectionString));
    const transfer::ImportPlan plan =
        transfer::planImport(transfer::readContactFiles({file}), into);
    transfer::writeImport(plan, into);
    return plan.count(transfer::PlannedContact::Fate::Add);
}

int exportBook(const QString& connectionString, transfer::ExportFormat format, const QString& file)
{
    transfer::AddressBook from(data::Connection::open(connectionString));
    const transfer::PickLists lists = transfer::pickListsOf(from);
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return -1;
    return transfer::exportContacts(from.addresses, lists, format, out);
}
