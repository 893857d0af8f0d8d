#include "csv_headers.h"

#include <QHash>
#include <QRegularExpression>

namespace interchange {
namespace {

using K = HeaderRole::Kind;
using C = Column;
using P = PhoneKind;

struct Alias {
    const char* header;
    HeaderRole role;
};

// Outlook, Google, Thunderbird and the usual spreadsheet headings, but for
// the addresses and the numbered columns, whose names are read below.
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
    {"organization name", {K::Field, C::Company}},
    {"street", {K::Field, C::Address1}},
    {"address", {K::Field, C::Address1}},
    {"street address", {K::Field, C::Address1}},
    {"address 1", {K::Field, C::Address1}},
    {"address line 1", {K::Field, C::Address1}},
    {"street 2", {K::Field, C::Address2}},
    {"address 2", {K::Field, C::Address2}},
    {"address line 2", {K::Field, C::Address2}},
    {"street 3", {K::Field, C::Address3}},
    {"address 3", {K::Field, C::Address3}},
    {"address line 3", {K::Field, C::Address3}},
    {"city", {K::Field, C::City}},
    {"town", {K::Field, C::City}},
    {"locality", {K::Field, C::City}},
    {"postal code", {K::Field, C::PinCode}},
    {"zip", {K::Field, C::PinCode}},
    {"zip code", {K::Field, C::PinCode}},
    {"zipcode", {K::Field, C::PinCode}},
    {"postcode", {K::Field, C::PinCode}},
    {"post code", {K::Field, C::PinCode}},
    {"pin code", {K::Field, C::PinCode}},
    {"pin", {K::Field, C::PinCode}},
    {"state", {K::Field, C::State}},
    {"region", {K::Field, C::State}},
    {"province", {K::Field, C::State}},
    {"county", {K::Field, C::State}},
    {"country", {K::Field, C::Country}},
    {"country/region", {K::Field, C::Country}},
    {"phone", {K::Phone, C::Name, P::Other}},
    {"telephone", {K::Phone, C::Name, P::Other}},
    {"phone number", {K::Phone, C::Name, P::Other}},
    {"primary phone", {K::Phone, C::Name, P::Other}},
    {"other phone", {K::Phone, C::Name, P::Other}},
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

struct Part {
    const char* name;
    AddressPart part;
};

// The parts of an address as Outlook ("Business Street 2", "Home Address PO
// Box"), Thunderbird ("Work ZipCode") and Google ("Address 1 - Extended
// Address") name them after the address.
const Part kParts[] = {
    {"label", AddressPart::Label},
    {"type", AddressPart::Label},
    {"formatted", AddressPart::Formatted},
    {"street", AddressPart::Street},
    {"address", AddressPart::Street},
    {"street 2", AddressPart::Street2},
    {"address 2", AddressPart::Street2},
    {"street 3", AddressPart::Street3},
    {"address 3", AddressPart::Street3},
    {"extended address", AddressPart::Extended},
    {"po box", AddressPart::PoBox},
    {"address po box", AddressPart::PoBox},
    {"city", AddressPart::City},
    {"state", AddressPart::Region},
    {"region", AddressPart::Region},
    {"postal code", AddressPart::PostalCode},
    {"zip code", AddressPart::PostalCode},
    {"zipcode", AddressPart::PostalCode},
    {"zip", AddressPart::PostalCode},
    {"country", AddressPart::Country},
    {"country/region", AddressPart::Country},
};

std::optional<HeaderRole> addressRole(QStringView part, int group, const QString& groupName)
{
    for (const Part& each : kParts) {
        if (part == QLatin1String(each.name))
            return HeaderRole{K::Address, C::Name, P::Other, group, each.part, groupName};
    }
    return std::nullopt;
}

// Outlook's business, home and other address and Thunderbird's work and
// home one, in the order one is taken when a row fills several.
std::optional<HeaderRole> namedAddressRole(QStringView key)
{
    const struct {
        const char* name;
        int group;
    } addresses[] = {{"business", 1}, {"work", 1}, {"home", 2}, {"other", 3}};
    for (const auto& address : addresses) {
        const QLatin1StringView name(address.name);
        if (key.startsWith(name) && key.sliced(name.size()).startsWith(QLatin1Char(' ')))
            return addressRole(key.sliced(name.size() + 1), address.group,
                               QStringLiteral("the %1 address").arg(name));
    }
    return std::nullopt;
}

// Google's numbered columns: "Phone 2 - Label" labels "Phone 2 - Value",
// "Address 1 - City" is a part of its first address.
std::optional<HeaderRole> numberedRole(const QString& key)
{
    static const QRegularExpression numbered(
        QStringLiteral("^(phone|e-mail|address|organization) ([1-9][0-9]{0,3}) - (.+)$"));
    const QRegularExpressionMatch m = numbered.match(key);
    if (!m.hasMatch())
        return std::nullopt;
    const QStringView what = m.capturedView(1);
    const QStringView part = m.capturedView(3);
    const int group = m.capturedView(2).toInt();
    if (what == QLatin1String("address"))
        return addressRole(part, group, QStringLiteral("Address %1").arg(group));
    if (what == QLatin1String("phone") && part == QLatin1String("value"))
        return HeaderRole{K::Phone, C::Name, P::Other, group};
    if (what == QLatin1String("phone")
        && (part == QLatin1String("label") || part == QLatin1String("type")))
        return HeaderRole{K::PhoneLabel, C::Name, P::Other, group};
    if (what == QLatin1String("e-mail") && part == QLatin1String("value"))
        return HeaderRole{K::Email};
    if (what == QLatin1String("organization") && part == QLatin1String("name"))
        return HeaderRole{K::Field, C::Company};
    return std::nullopt;
}

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
    if (const auto alias = aliases.constFind(key); alias != aliases.cend())
        return *alias;
    if (const std::optional<HeaderRole> numbered = numberedRole(key))
        return *numbered;
    return namedAddressRole(key).value_or(HeaderRole());
}

} // namespace interchange
