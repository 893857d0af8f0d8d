#pragma once
// What a CSV header names: Tovren's own column names and the names that
// spreadsheets and webmail exports use, without regard to case.

#include "contact.h"
#include "phones.h"

namespace interchange {

struct HeaderRole {
    enum Kind { Unknown, Field, GivenName, MiddleName, FamilyName, Phone, Email } kind = Unknown;
    Column column = Column::Name; // for a Field
    PhoneKind phone = PhoneKind::Other;
};

HeaderRole headerRole(QStringView header);

} // namespace interchange
