#pragma once
// The cells of a CSV row that are read together: a phone with its label,
// the parts of each address. They are gathered while the row is read and
// placed once it is whole, since a label may stand after its number.

#include "csv_headers.h"

#include <QHash>

#include <array>
#include <vector>

namespace interchange {

// The values of a cell in which Google joins several with " ::: ".
QStringList joinedValues(const QString& cell);

class CsvGroups {
public:
    // Takes the cell of a Phone, PhoneLabel or Address column.
    void take(const HeaderRole& role, const QString& cell);

    // Places the phones, each by its label when it has one, else by its
    // column; then the one address Tovren keeps: the one labelled primary,
    // else the filled one the file prefers (business before home, Address 1
    // before Address 2). Each other filled address is noted as left out.
    void place(Contact& contact) const;

private:
    struct Phone {
        int group;
        PhoneKind kind;
        QString cell;
    };
    struct Address {
        int group;
        QString name;
        std::array<QString, size_t(AddressPart::Count)> parts;

        const QString& operator[](AddressPart part) const { return parts[size_t(part)]; }
        QStringList streetLines() const;
        QString text() const;
        QString label() const;
        bool filled() const;
    };

    void placePhones(Contact& contact) const;
    void placeAddress(Contact& contact) const;

    std::vector<Phone> m_phones;
    QHash<int, QString> m_phoneLabels;
    std::vector<Address> m_addresses;
};

} // namespace interchange
