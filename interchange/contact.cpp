#include "contact.h"

#include <iterator>

namespace interchange {
namespace {

// The card's widths, the Address table's VARCHAR sizes; the pick lists'
// texts are as wide as the Salutation and Religion tables keep them.
const int kWidths[] = {6,  40, 50, 15, 35, 35, 35, 20, 7, 20, 40, 15,
                       15, 5,  15, 15, 15, 15, 15, 0,  0, 0,  150};
static_assert(std::size(kWidths) == size_t(kColumnCount));

} // namespace

QLatin1StringView columnName(Column column)
{
    if (column == Column::SalutationId)
        return QLatin1StringView("Salutation");
    if (column == Column::ReligionId)
        return QLatin1StringView("Religion");
    return QLatin1StringView(records::Address::column(column));
}

std::optional<Column> columnOfName(QStringView name)
{
    for (int i = 0; i < kColumnCount; ++i) {
        if (name.compare(columnName(Column(i)), Qt::CaseInsensitive) == 0)
            return Column(i);
    }
    return std::nullopt;
}

int columnWidth(Column column)
{
    return kWidths[size_t(column)];
}

bool isDate(Column column)
{
    return column == Column::DtBirth || column == Column::DtMarriage || column == Column::DtJoining;
}

void placeStreetLines(Contact& contact, QStringList lines)
{
    if (lines.size() > 3)
        lines = QStringList{lines[0], lines[1], lines.mid(2).join(QLatin1String(", "))};
    const Column street[] = {Column::Address1, Column::Address2, Column::Address3};
    for (qsizetype i = 0; i < lines.size(); ++i)
        contact[street[i]] = lines[i];
}

QString Contact::label() const
{
    for (Column column : {Column::Name, Column::Company, Column::EmlAddr}) {
        if (!(*this)[column].isEmpty())
            return (*this)[column];
    }
    return QStringLiteral("(no name)");
}

} // namespace interchange
