#include "contact.h"

#include <iterator>

namespace interchange {
namespace {

// The card's widths are the Address table's VARCHAR sizes; the pick lists'
// texts are those of the Salutation and Religion tables.
struct ColumnInfo {
    const char* name;
    int width;
};

const ColumnInfo kColumns[] = {
    {"Salutation", 6}, {"Name", 40},     {"Company", 50},  {"Religion", 15}, {"Address1", 35},
    {"Address2", 35},  {"Address3", 35}, {"City", 20},     {"PinCode", 7},   {"State", 20},
    {"Country", 40},   {"PhOff1", 15},   {"PhOff2", 15},   {"PhExt", 5},     {"PhFax", 15},
    {"PhRes1", 15},    {"PhRes2", 15},   {"PhCell", 15},   {"PhPager", 15},  {"DtBirth", 0},
    {"DtMarriage", 0}, {"DtJoining", 0}, {"EmlAddr", 150},
};
static_assert(std::size(kColumns) == size_t(kColumnCount));

} // namespace

QLatin1StringView columnName(Column column)
{
    return QLatin1StringView(kColumns[size_t(column)].name);
}

std::optional<Column> columnOfName(QStringView name)
{
    for (int i = 0; i < kColumnCount; ++i) {
        if (name.compare(QLatin1StringView(kColumns[i].name), Qt::CaseInsensitive) == 0)
            return Column(i);
    }
    return std::nullopt;
}

int columnWidth(Column column)
{
    return kColumns[size_t(column)].width;
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
