#include "book_rows.h"

#include <QDate>

namespace transfer {
namespace {

using interchange::Column;

QString fieldName(Column column)
{
    return QString::fromLatin1(records::Address::column(column));
}

const PickList* listOf(Column column, const PickLists& lists)
{
    if (column == Column::SalutationId)
        return &lists.salutations;
    if (column == Column::ReligionId)
        return &lists.religions;
    return nullptr;
}

// What a row stores for the contact's value of `column`: "" for an empty
// text, Null for no date, 0 for no pick-list entry.
QVariant storedValue(Column column, const QString& value, const PickLists& lists)
{
    if (const PickList* list = listOf(column, lists))
        return list->idOf(value);
    if (interchange::isDate(column))
        return value.isEmpty() ? QVariant() : QVariant(QDate::fromString(value, Qt::ISODate));
    return value.isNull() ? QStringLiteral("") : value;
}

} // namespace

PickLists pickListsOf(AddressBook& book)
{
    return {PickList(book.salutations, QStringLiteral("Salutation")),
            PickList(book.religions, QStringLiteral("Religion"))};
}

PickLists pickListsOf(const std::shared_ptr<data::Connection>& connection)
{
    const auto read = [&connection](const QString& table) {
        data::Recordset rows;
        rows.setActiveConnection(connection);
        rows.Open(table);
        return PickList(rows, table);
    };
    return {read(QStringLiteral("Salutation")), read(QStringLiteral("Religion"))};
}

ColumnIndexes columnIndexes(const data::Recordset& addresses)
{
    ColumnIndexes columns{};
    for (int i = 0; i < interchange::kColumnCount; ++i)
        columns[size_t(i)] = addresses.fieldIndex(fieldName(Column(i)));
    return columns;
}

interchange::Contact contactOfRow(const data::Recordset& addresses, const PickLists& lists)
{
    return contactOfRow(addresses, lists, columnIndexes(addresses));
}

interchange::Contact contactOfRow(const data::Recordset& addresses, const PickLists& lists,
                                  const ColumnIndexes& columns)
{
    return contactOfRow(addresses.rows(), addresses.currentStoredRow(), lists, columns);
}

interchange::Contact contactOfRow(const data::RecordStore& rows, int row, const PickLists& lists,
                                  const ColumnIndexes& columns)
{
    interchange::Contact contact;
    for (int i = 0; i < interchange::kColumnCount; ++i) {
        const Column column = Column(i);
        const QVariant value = rows.value(row, columns[size_t(i)]);
        if (const PickList* list = listOf(column, lists))
            contact[column] = list->textOf(value.toLongLong());
        else if (interchange::isDate(column))
            contact[column] = value.toDate().toString(Qt::ISODate);
        else
            contact[column] = value.toString();
    }
    return contact;
}

void fillRow(data::Recordset& addresses, const interchange::Contact& contact,
             const PickLists& lists)
{
    for (int i = 0; i < interchange::kColumnCount; ++i) {
        const Column column = Column(i);
        addresses.setValue(fieldName(column), storedValue(column, contact[column], lists));
    }
}

void fillRow(data::RecordStore& rows, int row, const ColumnIndexes& columns,
             const interchange::Contact& contact, const PickLists& lists)
{
    for (int i = 0; i < interchange::kColumnCount; ++i) {
        const Column column = Column(i);
        rows.setValue(row, columns[size_t(i)], storedValue(column, contact[column], lists));
    }
}

} // namespace transfer
