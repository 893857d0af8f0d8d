#pragma once
// What a CSV header names: Tovren's own column names and the names that
// spreadsheets and webmail exports use, without regard to case; and, where
// an export keeps several phones or addresses a contact, which one a column
// is part of.

#include "contact.h"
#include "phones.h"

namespace interchange {

// A part of one of the addresses an export keeps per contact.
enum class AddressPart {
    Label,     // Google's "Home", "Work"; "* " marks the primary one
    Formatted, // the whole address in lines, repeating the other parts
    Street,
    Street2,
    Street3,
    Extended,
    PoBox,
    City,
    Region,
    PostalCode,
    Country,
    Count
};

struct HeaderRole {
    enum Kind {
        Unknown,
        Field,
        GivenName,
        MiddleName,
        FamilyName,
        Phone,
        PhoneLabel,
        Email,
        Address
    } kind = Unknown;
    Column column = Column::Name; // for a Field
    PhoneKind phone = PhoneKind::Other;
    // The phone or address a column is part of: Google's number N ("Phone 2
    // - Label" labels "Phone 2 - Value"), or business 1, home 2, other 3; 0
    // for a phone column that stands alone. Of the addresses a row fills,
    // the lowest number is taken unless another is marked primary.
    int group = 0;
    AddressPart part = AddressPart::Street;
    QString groupName{}; // the address as a note names it: "the home address"

    friend bool operator==(const HeaderRole&, const HeaderRole&) = default;
};

HeaderRole headerRole(QStringView header);

} // namespace interchange
