#include "contact.h"

#include <QRegularExpression>

namespace interchange {

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
    return records::Address::width(column);
}

bool isDate(Column column)
{
    return records::Address::isDate(column);
}

const QRegularExpression& lineBreaks()
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return breaks;
}

void placeStreetLines(Contact& contact, QStringList lines)
{
    if (lines.size() > 3)
        lines = QStringList{lines[0], lines[1], lines.mid(2).join(QLatin1String(", "))};
    const Column street[] = {Column::Address1, Column::Address2, Column::Address3};
    for (qsizetype i = 0; i < lines.size(); ++i)
        contact[street[i]] = lines[i];
}

void placeEmail(Contact& contact, const QString& address)
{
    if (contact[Column::EmlAddr].isEmpty())
        contact[Column::EmlAddr] = address;
    else
        contact.notes
            << QStringLiteral("The e-mail address %1 is left out: Tovren keeps one.").arg(address);
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
