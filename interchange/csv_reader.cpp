#include "csv_reader.h"

#include "csv_groups.h"
#include "csv_rows.h"
#include "dates.h"
#include "record_checks.h"

#include <QRegularExpression>

#include <algorithm>

namespace interchange {
namespace {

bool isBlank(const QStringList& cells)
{
    return cells.size() == 1 && cells[0].trimmed().isEmpty();
}

// The roles of a header row. A column named twice keeps the first; the
// second is read as a column without a place, so its values are reported.
// Phones and e-mail addresses may come in any number.
std::vector<HeaderRole> rolesOf(const QStringList& header)
{
    std::vector<HeaderRole> roles;
    for (const QString& name : header) {
        HeaderRole role = headerRole(name);
        const bool many = role.kind == HeaderRole::Phone || role.kind == HeaderRole::Email;
        if (!many && std::find(roles.begin(), roles.end(), role) != roles.end())
            role = HeaderRole();
        roles.push_back(role);
    }
    return roles;
}

// Whether the Address1 column is another program's street heading (Street,
// Address), whose one cell holds a street of several lines; under Tovren's
// own Address1 the cell is one address line, its line breaks its own.
bool streetInOneCell(const QStringList& header, const std::vector<HeaderRole>& roles)
{
    for (size_t i = 0; i < roles.size(); ++i) {
        if (roles[i].kind == HeaderRole::Field && roles[i].column == Column::Address1)
            return !columnOfName(header[qsizetype(i)].trimmed());
    }
    return false;
}

Contact contactOf(const QStringList& header, const std::vector<HeaderRole>& roles,
                  bool streetInOneCell, const QStringList& cells)
{
    Contact contact;
    CsvGroups groups;
    QString given, middle, family;
    for (qsizetype i = 0; i < cells.size() && i < header.size(); ++i) {
        const QString& cell = cells[i];
        if (cell.isEmpty())
            continue;
        const HeaderRole& role = roles[size_t(i)];
        switch (role.kind) {
        case HeaderRole::Field:
            if (isDate(role.column)) {
                const DateRead date = readDate(cell);
                if (date.problem.isEmpty())
                    contact[role.column] = date.iso;
                else
                    contact.notes
                        << QStringLiteral("%1 is left out: %2.").arg(header[i], date.problem);
            } else {
                contact[role.column] = cell;
            }
            break;
        case HeaderRole::GivenName:
            given = cell;
            break;
        case HeaderRole::MiddleName:
            middle = cell;
            break;
        case HeaderRole::FamilyName:
            family = cell;
            break;
        case HeaderRole::Phone:
        case HeaderRole::PhoneLabel:
        case HeaderRole::Address:
            groups.take(role, cell);
            break;
        case HeaderRole::Email:
            for (const QString& address : joinedValues(cell))
                placeEmail(contact, address);
            break;
        case HeaderRole::Unknown:
            contact.notes << QStringLiteral("%1 '%2' is left out: Tovren has no place for it.")
                                 .arg(header[i], cell);
            break;
        }
    }
    groups.place(contact);
    if (streetInOneCell && contact[Column::Address1].contains(lineBreaks())
        && contact[Column::Address2].isEmpty() && contact[Column::Address3].isEmpty())
        placeStreetLines(contact, contact[Column::Address1].split(lineBreaks()));
    if (contact[Column::Name].isEmpty()) {
        QStringList parts{given, middle, family};
        parts.removeAll(QString());
        contact[Column::Name] = parts.join(QLatin1Char(' '));
    }
    return contact;
}

} // namespace

bool hasKnownHeader(QStringView text)
{
    CsvRows rows(text, kLongestLine);
    QStringList header;
    if (!rows.next(header) || rows.tooLong())
        return false;
    for (const QString& name : header) {
        if (headerRole(name).kind != HeaderRole::Unknown)
            return true;
    }
    return false;
}

ContactsRead readCsv(QStringView text, const Progress& progress)
{
    ContactsRead read;
    CsvRows rows(text, kLongestLine);
    QStringList header;
    if (!hasKnownHeader(text) || !rows.next(header)) {
        read.problems << QStringLiteral("The first row names none of the columns Tovren knows "
                                        "(such as Name, Company or E-mail Address).");
        return read;
    }
    const std::vector<HeaderRole> roles = rolesOf(header);
    const bool street = streetInOneCell(header, roles);
    QStringList cells;
    while (rows.next(cells)) {
        report(progress, rows.position(), text.size());
        if (isBlank(cells))
            continue;
        if (rows.tooLong()) {
            read.problems << QStringLiteral("Row %1 is left out: it is longer than %2 characters.")
                                 .arg(rows.row())
                                 .arg(kLongestLine);
            continue;
        }
        Contact contact = contactOf(header, roles, street, cells);
        if (cells.size() != header.size()) {
            QString note = QStringLiteral("Row %1 has %2 cells where the header has %3")
                               .arg(rows.row())
                               .arg(cells.size())
                               .arg(header.size());
            if (cells.size() > header.size())
                note += QStringLiteral("; '%1' is left out")
                            .arg(cells.mid(header.size()).join(QLatin1String("', '")));
            contact.notes << note + QLatin1Char('.');
        }
        if (rows.unclosedQuote())
            contact.notes << QStringLiteral("Row %1 opens a quote that runs to the end of the "
                                            "file; the file may be cut short.")
                                 .arg(rows.row());
        const QString refusal = fitToRecord(contact);
        if (refusal.isEmpty())
            read.contacts.push_back(std::move(contact));
        else
            read.problems << QStringLiteral("Row %1 (%2) is left out: %3")
                                 .arg(rows.row())
                                 .arg(contact.label(), refusal);
    }
    report(progress, text.size(), text.size());
    return read;
}

} // namespace interchange
