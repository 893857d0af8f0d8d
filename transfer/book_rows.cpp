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

} // namespace

PickLists pickListsOf(AddressBook& book)
{
    return {PickList(book.salutations, QStringLiteral("Salutation")),
            PickList(book.religions, QStringLiteral("Religion"))};
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
    interchange::Contact contact;
    for (int i = 0; i < interchange::kColumnCount; ++i) {
        const Column column = Column(i);
        const QVariant value = addresses.value(columns[size_t(i)]);
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
        const QString& value = contact[column];
        QVariant stored;
        if (const PickList* list = listOf(column, lists))
            stored = list->idOf(value);
        else if (interchange::isDate(column))
            stored = value.isEmpty() ? QVariant() : QVariant(QDate::fromString(value, Qt::ISODate));
        else
            stored = value.isNull() ? QStringLiteral("") : value;
        addresses.setValue(fieldName(column), stored);
    }
}

} // namespace transfer
