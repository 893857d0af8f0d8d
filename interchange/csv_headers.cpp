#include "csv_headers.h"

#include <QHash>

namespace interchange {
namespace {

using K = HeaderRole::Kind;
using C = Column;
using P = PhoneKind;

struct Alias {
    const char* header;
    HeaderRole role;
};

// Outlook, Google, Thunderbird and the usual spreadsheet headings. A home
// and a business address both land in the one address Tovren keeps; the
// second that a row fills is reported as having no place.
const Alias kAliases[] = {
    {"name", {K::Field, C::Name}},
    {"full name", {K::Field, C::Name}},
    {"display name", {K::Field, C::Name}},
    {"contact name", {K::Field, C::Name}},
    {"first name", {K::GivenName}},
    {"given name", {K::GivenName}},
    {"forename", {K::GivenName}},
    {"middle name", {K::MiddleName}},
    {"additional name", {K::MiddleName}},
    {"last name", {K::FamilyName}},
    {"family name", {K::FamilyName}},
    {"surname", {K::FamilyName}},
    {"title", {K::Field, C::SalutationId}},
    {"name prefix", {K::Field, C::SalutationId}},
    {"prefix", {K::Field, C::SalutationId}},
    {"company", {K::Field, C::Company}},
    {"company name", {K::Field, C::Company}},
    {"organization", {K::Field, C::Company}},
    {"organisation", {K::Field, C::Company}},
    {"organization 1 - name", {K::Field, C::Company}},
    {"street", {K::Field, C::Address1}},
    {"address", {K::Field, C::Address1}},
    {"street address", {K::Field, C::Address1}},
    {"address 1", {K::Field, C::Address1}},
    {"address line 1", {K::Field, C::Address1}},
    {"business street", {K::Field, C::Address1}},
    {"home street", {K::Field, C::Address1}},
    {"work address", {K::Field, C::Address1}},
    {"home address", {K::Field, C::Address1}},
    {"address 1 - street", {K::Field, C::Address1}},
    {"street 2", {K::Field, C::Address2}},
    {"address 2", {K::Field, C::Address2}},
    {"address line 2", {K::Field, C::Address2}},
    {"business street 2", {K::Field, C::Address2}},
    {"home street 2", {K::Field, C::Address2}},
    {"street 3", {K::Field, C::Address3}},
    {"address 3", {K::Field, C::Address3}},
    {"address line 3", {K::Field, C::Address3}},
    {"business street 3", {K::Field, C::Address3}},
    {"home street 3", {K::Field, C::Address3}},
    {"city", {K::Field, C::City}},
    {"town", {K::Field, C::City}},
    {"locality", {K::Field, C::City}},
    {"business city", {K::Field, C::City}},
    {"home city", {K::Field, C::City}},
    {"work city", {K::Field, C::City}},
    {"address 1 - city", {K::Field, C::City}},
    {"postal code", {K::Field, C::PinCode}},
    {"zip", {K::Field, C::PinCode}},
    {"zip code", {K::Field, C::PinCode}},
    {"zipcode", {K::Field, C::PinCode}},
    {"postcode", {K::Field, C::PinCode}},
    {"post code", {K::Field, C::PinCode}},
    {"pin code", {K::Field, C::PinCode}},
    {"pin", {K::Field, C::PinCode}},
    {"business postal code", {K::Field, C::PinCode}},
    {"home postal code", {K::Field, C::PinCode}},
    {"work zipcode", {K::Field, C::PinCode}},
    {"home zipcode", {K::Field, C::PinCode}},
    {"address 1 - postal code", {K::Field, C::PinCode}},
    {"state", {K::Field, C::State}},
    {"region", {K::Field, C::State}},
    {"province", {K::Field, C::State}},
    {"county", {K::Field, C::State}},
    {"business state", {K::Field, C::State}},
    {"home state", {K::Field, C::State}},
    {"work state", {K::Field, C::State}},
    {"address 1 - region", {K::Field, C::State}},
    {"country", {K::Field, C::Country}},
    {"country/region", {K::Field, C::Country}},
    {"business country/region", {K::Field, C::Country}},
    {"home country/region", {K::Field, C::Country}},
    {"business country", {K::Field, C::Country}},
    {"home country", {K::Field, C::Country}},
    {"work country", {K::Field, C::Country}},
    {"address 1 - country", {K::Field, C::Country}},
    {"phone", {K::Phone, C::Name, P::Other}},
    {"telephone", {K::Phone, C::Name, P::Other}},
    {"phone number", {K::Phone, C::Name, P::Other}},
    {"primary phone", {K::Phone, C::Name, P::Other}},
    {"other phone", {K::Phone, C::Name, P::Other}},
    {"phone 1 - value", {K::Phone, C::Name, P::Other}},
    {"phone 2 - value", {K::Phone, C::Name, P::Other}},
    {"home phone", {K::Phone, C::Name, P::Residence}},
    {"home phone 2", {K::Phone, C::Name, P::Residence}},
    {"business phone", {K::Phone, C::Name, P::Office}},
    {"business phone 2", {K::Phone, C::Name, P::Office}},
    {"work phone", {K::Phone, C::Name, P::Office}},
    {"office phone", {K::Phone, C::Name, P::Office}},
    {"company main phone", {K::Phone, C::Name, P::Office}},
    {"mobile phone", {K::Phone, C::Name, P::Cell}},
    {"mobile", {K::Phone, C::Name, P::Cell}},
    {"mobile number", {K::Phone, C::Name, P::Cell}},
    {"cell phone", {K::Phone, C::Name, P::Cell}},
    {"cell", {K::Phone, C::Name, P::Cell}},
    {"fax", {K::Phone, C::Name, P::Fax}},
    {"fax number", {K::Phone, C::Name, P::Fax}},
    {"business fax", {K::Phone, C::Name, P::Fax}},
    {"home fax", {K::Phone, C::Name, P::Fax}},
    {"pager", {K::Phone, C::Name, P::Pager}},
    {"pager number", {K::Phone, C::Name, P::Pager}},
    {"extension", {K::Field, C::PhExt}},
    {"office extension", {K::Field, C::PhExt}},
    {"e-mail address", {K::Email}},
    {"e-mail", {K::Email}},
    {"email", {K::Email}},
    {"email address", {K::Email}},
    {"primary email", {K::Email}},
    {"e-mail 1 - value", {K::Email}},
    {"e-mail 2 - value", {K::Email}},
    {"e-mail 2 address", {K::Email}},
    {"e-mail 3 address", {K::Email}},
    {"work email", {K::Email}},
    {"home email", {K::Email}},
    {"birthday", {K::Field, C::DtBirth}},
    {"birth date", {K::Field, C::DtBirth}},
    {"date of birth", {K::Field, C::DtBirth}},
    {"anniversary", {K::Field, C::DtMarriage}},
    {"marriage date", {K::Field, C::DtMarriage}},
    {"wedding anniversary", {K::Field, C::DtMarriage}},
    {"marriage anniversary", {K::Field, C::DtMarriage}},
    {"joining date", {K::Field, C::DtJoining}},
    {"date of joining", {K::Field, C::DtJoining}},
};

} // namespace

HeaderRole headerRole(QStringView header)
{
    static const QHash<QString, HeaderRole> aliases = [] {
        QHash<QString, HeaderRole> table;
        for (const Alias& alias : kAliases)
            table.insert(QString::fromLatin1(alias.header), alias.role);
        return table;
    }();
    const QString key = header.trimmed().toString().toCaseFolded();
    if (const std::optional<Column> column = columnOfName(key))
        return {K::Field, *column};
    return aliases.value(key);
}

} // namespace interchange
