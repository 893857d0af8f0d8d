#include "phones.h"

#include <QRegularExpression>

#include <span>

namespace interchange {

PhoneKind phoneKind(const QStringList& types)
{
    const auto has = [&](const char* type) { return types.contains(QLatin1String(type)); };
    if (has("FAX"))
        return PhoneKind::Fax;
    if (has("PAGER"))
        return PhoneKind::Pager;
    if (has("CELL") || has("MOBILE") || has("IPHONE"))
        return PhoneKind::Cell;
    if (has("WORK"))
        return PhoneKind::Office;
    if (has("HOME"))
        return PhoneKind::Residence;
    return PhoneKind::Other;
}

namespace {

// The columns of each kind, in the order they fill.
std::span<const Column> columnsOf(PhoneKind kind)
{
    using C = Column;
    static const Column office[] = {C::PhOff1, C::PhOff2};
    static const Column residence[] = {C::PhRes1, C::PhRes2};
    static const Column cell[] = {C::PhCell};
    static const Column fax[] = {C::PhFax};
    static const Column pager[] = {C::PhPager};
    static const Column other[] = {C::PhRes1, C::PhRes2, C::PhOff1, C::PhOff2};
    switch (kind) {
    case PhoneKind::Office:
        return office;
    case PhoneKind::Residence:
        return residence;
    case PhoneKind::Cell:
        return cell;
    case PhoneKind::Fax:
        return fax;
    case PhoneKind::Pager:
        return pager;
    case PhoneKind::Other:
        break;
    }
    return other;
}

} // namespace

std::optional<Column> placePhone(Contact& contact, PhoneKind kind, const QString& number)
{
    for (Column column : columnsOf(kind)) {
        if (contact[column].isEmpty()) {
            contact[column] = number;
            return column;
        }
    }
    contact.notes
        << QStringLiteral("The phone %1 has no free place: its columns are taken.").arg(number);
    return std::nullopt;
}

void placeLabelledPhone(Contact& contact, const QStringList& labels, const QString& number)
{
    static const QRegularExpression between(QStringLiteral("[\\s,]+"));
    const QString label = labels.join(QLatin1String(", "));
    const PhoneKind kind = phoneKind(label.toUpper().split(between, Qt::SkipEmptyParts));
    const std::optional<Column> column = placePhone(contact, kind, number);
    if (kind == PhoneKind::Other && column && !label.isEmpty())
        contact.notes << QStringLiteral("The label '%1' of the phone %2 is left out: Tovren keeps "
                                        "the number in %3.")
                             .arg(label, number, columnName(*column));
}

bool isPhone(Column column)
{
    return column >= Column::PhOff1 && column <= Column::PhPager && column != Column::PhExt;
}

QStringList phoneTypes(Column column)
{
    switch (column) {
    case Column::PhOff1:
    case Column::PhOff2:
        return {QStringLiteral("WORK"), QStringLiteral("VOICE")};
    case Column::PhRes1:
    case Column::PhRes2:
        return {QStringLiteral("HOME"), QStringLiteral("VOICE")};
    case Column::PhFax:
        return {QStringLiteral("FAX")};
    case Column::PhCell:
        return {QStringLiteral("CELL")};
    case Column::PhPager:
        return {QStringLiteral("PAGER")};
    default:
        return {};
    }
}

} // namespace interchange
