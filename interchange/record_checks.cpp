#include "record_checks.h"

#include "platform/characters.h"
#include "records/address.h"

namespace interchange {
namespace {

bool isPickList(Column column)
{
    return column == Column::SalutationId || column == Column::ReligionId;
}

} // namespace

QString fitToRecord(Contact& contact)
{
    for (int i = 0; i < kColumnCount; ++i) {
        const Column column = Column(i);
        QString& value = contact[column];
        if (value.isEmpty() || isPickList(column) || isDate(column))
            continue;
        // The Name's own check is whether the contact can be stored at all.
        const QString problem = column == Column::Name
                                    ? QString()
                                    : records::Address::problem(column, value, QString());
        if (!problem.isEmpty()) {
            contact.notes << QStringLiteral("%1 '%2' is not kept: %3")
                                 .arg(columnName(column), value, problem);
            value.clear();
            continue;
        }
        const int width = columnWidth(column);
        if (platform::characterCount(value) > width) {
            const QString kept = platform::leftCharacters(value, width);
            contact.notes << QStringLiteral("%1 is longer than the %2 characters Tovren keeps: "
                                            "'%3' is lost.")
                                 .arg(columnName(column))
                                 .arg(width)
                                 .arg(value.mid(kept.size()));
            value = kept;
        }
    }
    return records::Address::problem(Column::Name, contact[Column::Name], contact[Column::Company]);
}

} // namespace interchange
