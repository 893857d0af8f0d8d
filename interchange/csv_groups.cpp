#include "csv_groups.h"

#include <QRegularExpression>

#include <algorithm>

namespace interchange {
namespace {

// Google marks the primary of several phones or addresses by a "* " before
// its label.
const QLatin1StringView kPrimary("* ");

QStringList labelsOf(const QString& cell)
{
    QStringList labels = joinedValues(cell);
    for (QString& label : labels) {
        if (label.startsWith(kPrimary))
            label = label.sliced(kPrimary.size()).trimmed();
    }
    return labels;
}

} // namespace

QStringList joinedValues(const QString& cell)
{
    QStringList values;
    for (const QString& value : cell.split(QLatin1String(" ::: "))) {
        if (!value.trimmed().isEmpty())
            values << value.trimmed();
    }
    return values;
}

void CsvGroups::take(const HeaderRole& role, const QString& cell)
{
    if (role.kind == HeaderRole::Phone) {
        m_phones.push_back({role.group, role.phone, cell});
    } else if (role.kind == HeaderRole::PhoneLabel) {
        m_phoneLabels.insert(role.group, cell);
    } else if (role.kind == HeaderRole::Address) {
        auto address = std::find_if(m_addresses.begin(), m_addresses.end(),
                                    [&](const Address& a) { return a.name == role.groupName; });
        if (address == m_addresses.end())
            address = m_addresses.insert(m_addresses.end(), {role.group, role.groupName, {}});
        address->parts[size_t(role.part)] = cell;
    }
}

void CsvGroups::place(Contact& contact) const
{
    placePhones(contact);
    placeAddress(contact);
}

void CsvGroups::placePhones(Contact& contact) const
{
    for (const Phone& phone : m_phones) {
        const QStringList numbers = joinedValues(phone.cell);
        const auto label = m_phoneLabels.constFind(phone.group);
        if (label == m_phoneLabels.cend()) {
            for (const QString& number : numbers)
                placePhone(contact, phone.kind, number);
            continue;
        }
        // Several numbers under as many labels pair up; otherwise each
        // number carries every label.
        const QStringList labels = labelsOf(*label);
        for (qsizetype i = 0; i < numbers.size(); ++i)
            placeLabelledPhone(contact, labels.size() == numbers.size() ? labels.mid(i, 1) : labels,
                               numbers[i]);
    }
}

QStringList CsvGroups::Address::streetLines() const
{
    using P = AddressPart;
    QStringList lines;
    for (const P part : {P::Street, P::Street2, P::Street3, P::Extended, P::PoBox})
        lines << (*this)[part].split(lineBreaks());
    // The formatted address repeats the parts; it stands for them only when
    // they are missing.
    if (std::all_of(lines.begin(), lines.end(), [](const QString& l) { return l.isEmpty(); })
        && (*this)[P::City].isEmpty() && (*this)[P::Region].isEmpty()
        && (*this)[P::PostalCode].isEmpty() && (*this)[P::Country].isEmpty())
        lines = (*this)[P::Formatted].split(lineBreaks());
    lines.removeAll(QString());
    return lines;
}

QString CsvGroups::Address::text() const
{
    using P = AddressPart;
    QStringList parts = streetLines();
    for (const P part : {P::City, P::Region, P::PostalCode, P::Country})
        parts << (*this)[part];
    parts.removeAll(QString());
    return parts.join(QLatin1String(", "));
}

QString CsvGroups::Address::label() const
{
    const QStringList labels = labelsOf((*this)[AddressPart::Label]);
    return labels.isEmpty() ? name
                            : QStringLiteral("%1 (%2)").arg(name, labels.join(QLatin1String(", ")));
}

bool CsvGroups::Address::filled() const
{
    return !text().isEmpty();
}

void CsvGroups::placeAddress(Contact& contact) const
{
    std::vector<const Address*> filled;
    for (const Address& address : m_addresses) {
        if (address.filled())
            filled.push_back(&address);
    }
    if (filled.empty())
        return;
    auto chosen = std::find_if(filled.begin(), filled.end(), [](const Address* a) {
        return (*a)[AddressPart::Label].startsWith(kPrimary);
    });
    if (chosen == filled.end())
        chosen =
            std::min_element(filled.begin(), filled.end(), [](const Address* a, const Address* b) {
                return a->group < b->group;
            });
    const Address& kept = **chosen;
    for (const Address* address : filled) {
        if (address == &kept)
            continue;
        QString name = address->label();
        name[0] = name[0].toUpper();
        contact.notes << QStringLiteral("%1 '%2' is left out: Tovren keeps one, %3.")
                             .arg(name, address->text(), kept.label());
    }
    placeStreetLines(contact, kept.streetLines());
    using P = AddressPart;
    const std::pair<P, Column> places[] = {{P::City, Column::City},
                                           {P::Region, Column::State},
                                           {P::PostalCode, Column::PinCode},
                                           {P::Country, Column::Country}};
    for (const auto& [part, column] : places) {
        if (!kept[part].isEmpty())
            contact[column] = kept[part];
    }
}

} // namespace interchange
