#include "vcard_reader.h"

#include "dates.h"
#include "phones.h"
#include "record_checks.h"
#include "text_decoding.h"
#include "vcard_lines.h"
#include "vcard_text.h"

#include <algorithm>

namespace interchange {
namespace {

bool isAny(const QString& name, std::initializer_list<const char*> names)
{
    for (const char* each : names) {
        if (name == QLatin1String(each))
            return true;
    }
    return false;
}

// A property's value with its transfer encoding and character set undone,
// escapes still in place.
QString decodedValue(const Property& property, Contact& contact)
{
    if (property.encoding != QLatin1String("QUOTED-PRINTABLE"))
        return property.value;
    bool known = true;
    // Quoted-printable writes line breaks as CR LF (=0D=0A).
    const QString text =
        decodeCharset(quotedPrintableBytes(property.value), property.charset, &known)
            .replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (!known)
        contact.notes << QStringLiteral("The character set %1 (line %2) is unknown; its text is "
                                        "read as UTF-8 or Windows-1252.")
                             .arg(property.charset)
                             .arg(property.line);
    return text;
}

QString shortened(const QString& text)
{
    const QString line = QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line.size() > 60 ? line.first(57) + QLatin1String("...") : line;
}

// The column whose exact text a Tovren property carries: X-TOVREN- and the
// column's name (X-TOVREN-ADDRESS1), or X-TOVREN-EXTENSION for PhExt.
std::optional<Column> exactColumn(const QString& name)
{
    const QLatin1StringView tovren("X-TOVREN-");
    if (name == QLatin1String("X-TOVREN-EXTENSION"))
        return Column::PhExt;
    if (!name.startsWith(tovren))
        return std::nullopt;
    const std::optional<Column> column = columnOfName(QStringView(name).sliced(tovren.size()));
    if (column && isDate(*column))
        return std::nullopt;
    return column;
}

struct Phone {
    QString number;
    QStringList types;
    QString column;
};

struct Address {
    QStringList parts; // post office box, extended, street, city, region, code, country
    bool preferred = false;
};

// The properties of one card, gathered until its END says where it stops:
// which address and e-mail win, and where the phones go, depends on them all.
class Card {
public:
    explicit Card(qsizetype line) : m_line(line) {}

    qsizetype line() const { return m_line; }
    Contact& contact() { return m_contact; }

    void take(const Property& property);
    Contact finish();
    // Why the card has no name when the line that named it was too long to
    // read, and who it is as far as that line goes; nothing otherwise.
    const std::optional<std::pair<QString, QString>>& longName() const { return m_longName; }

private:
    void takeDate(Column column, const Property& property, const QString& value);
    void placeAddress();
    void placePhones();
    void noteLeftOut(const Property& property, const QString& why);

    qsizetype m_line;
    Contact m_contact;
    std::optional<QString> m_formatted;
    QStringList m_nameParts; // family, given, additional, prefix, suffix
    std::vector<Address> m_addresses;
    std::vector<Phone> m_phones;
    std::vector<std::pair<QString, bool>> m_emails;
    std::vector<std::pair<Column, QString>> m_exact; // Tovren's own texts, put last
    std::optional<std::pair<QString, QString>> m_longName;
    QStringList m_single; // the names of the one-only properties taken
    int m_strayLines = 0;
};

void Card::noteLeftOut(const Property& property, const QString& why)
{
    m_contact.notes << QStringLiteral("%1 (line %2) is left out: %3")
                           .arg(property.name)
                           .arg(property.line)
                           .arg(why);
}

void Card::takeDate(Column column, const Property& property, const QString& value)
{
    const DateRead date = readDate(value);
    if (!date.problem.isEmpty())
        noteLeftOut(property, date.problem + QLatin1Char('.'));
    else
        m_contact[column] = date.iso;
}

void Card::take(const Property& property)
{
    if (property.malformed) {
        ++m_strayLines;
        return;
    }
    const QString& name = property.name;
    if (isAny(name, {"PHOTO", "LOGO", "SOUND", "KEY"}) || property.encoding == QLatin1String("B")
        || property.encoding == QLatin1String("BASE64")) {
        noteLeftOut(property, QStringLiteral("Tovren keeps no pictures, sounds or other binary "
                                             "data."));
        return;
    }
    if (property.tooLong) {
        noteLeftOut(property,
                    QStringLiteral("its line is longer than %1 characters.").arg(kLongestLine));
        if (isAny(name, {"FN", "N", "ORG"}) && !m_longName)
            m_longName.emplace(shortened(unescapeValue(property.value)),
                               QStringLiteral("its %1 line (line %2) is longer than %3 characters.")
                                   .arg(name)
                                   .arg(property.line)
                                   .arg(kLongestLine));
        return;
    }
    // What describes the card rather than the person, or repeats what
    // other properties say.
    if (isAny(name, {"VERSION", "PRODID", "REV", "UID", "LABEL", "CLIENTPIDMAP", "X-ABSHOWAS",
                     "KIND", "PROFILE", "SOURCE", "NAME", "MAILER"}))
        return;
    // Tovren keeps one of each of these; a second is reported, not let
    // overwrite the first.
    const std::optional<Column> exact = exactColumn(name);
    if (exact
        || isAny(name, {"FN", "N", "ORG", "BDAY", "ANNIVERSARY", "X-ANNIVERSARY",
                        "X-EVOLUTION-ANNIVERSARY", "X-MS-ANNIVERSARY", "X-TOVREN-JOINING-DATE"})) {
        if (m_single.contains(name)) {
            noteLeftOut(property, QStringLiteral("Tovren keeps one, the first."));
            return;
        }
        m_single << name;
    }
    const QString value = decodedValue(property, m_contact);
    if (name == QLatin1String("FN")) {
        m_formatted = unescapeValue(value);
    } else if (name == QLatin1String("N")) {
        m_nameParts = valueComponents(value);
    } else if (name == QLatin1String("ORG")) {
        QStringList units = valueComponents(value);
        units.removeAll(QString());
        m_contact[Column::Company] = units.join(QLatin1String(", "));
    } else if (name == QLatin1String("ADR")) {
        m_addresses.push_back({valueComponents(value), property.preferred});
    } else if (name == QLatin1String("TEL")) {
        m_phones.push_back({unescapeValue(value).trimmed(), property.types, property.column});
    } else if (name == QLatin1String("EMAIL")) {
        m_emails.emplace_back(unescapeValue(value).trimmed(), property.preferred);
    } else if (name == QLatin1String("BDAY")) {
        takeDate(Column::DtBirth, property, value);
    } else if (isAny(name, {"ANNIVERSARY", "X-ANNIVERSARY", "X-EVOLUTION-ANNIVERSARY",
                            "X-MS-ANNIVERSARY"})) {
        takeDate(Column::DtMarriage, property, value);
    } else if (name == QLatin1String("X-TOVREN-JOINING-DATE")) {
        takeDate(Column::DtJoining, property, value);
    } else if (exact) {
        m_exact.emplace_back(*exact, unescapeExact(value));
    } else {
        noteLeftOut(
            property,
            QStringLiteral("Tovren has no place for '%1'.").arg(shortened(unescapeValue(value))));
    }
}

void Card::placeAddress()
{
    if (m_addresses.empty())
        return;
    auto chosen = std::find_if(m_addresses.begin(), m_addresses.end(),
                               [](const Address& a) { return a.preferred; });
    if (chosen == m_addresses.end())
        chosen = m_addresses.begin();
    for (auto it = m_addresses.begin(); it != m_addresses.end(); ++it) {
        if (it != chosen)
            m_contact.notes << QStringLiteral("A second address is left out: Tovren keeps one "
                                              "('%1').")
                                   .arg(shortened(it->parts.join(QLatin1Char(' ')).simplified()));
    }
    QStringList parts = chosen->parts;
    while (parts.size() < 7)
        parts << QString();
    // The street's lines come first, then the extended address (a suite, a
    // block or a locality) and the post office box, as an envelope shows them.
    QStringList lines = parts[2].split(QLatin1Char('\n'));
    for (int i : {1, 0}) {
        if (!parts[i].isEmpty())
            lines << parts[i];
    }
    placeStreetLines(m_contact, lines);
    m_contact[Column::City] = parts[3];
    m_contact[Column::State] = parts[4];
    m_contact[Column::PinCode] = parts[5];
    m_contact[Column::Country] = parts[6];
}

void Card::placePhones()
{
    // Phones that name their Tovren column take it first; the rest fill
    // what is left by type.
    std::vector<const Phone*> byType;
    for (const Phone& phone : m_phones) {
        const std::optional<Column> column = columnOfName(phone.column);
        if (column && isPhone(*column) && m_contact[*column].isEmpty())
            m_contact[*column] = phone.number;
        else
            byType.push_back(&phone);
    }
    for (const Phone* phone : byType) {
        QString number = phone->number;
        // A tel: address (4.0) may carry the office extension.
        if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) {
            number = number.sliced(4);
            const qsizetype ext = number.indexOf(QLatin1String(";ext="), 0, Qt::CaseInsensitive);
            if (ext >= 0) {
                const QString extension = number.sliced(ext + 5).section(QLatin1Char(';'), 0, 0);
                number.truncate(ext);
                if (m_contact[Column::PhExt].isEmpty())
                    m_contact[Column::PhExt] = extension;
                else
                    m_contact.notes << QStringLiteral("The extension %1 of %2 has no place: "
                                                      "Tovren keeps one.")
                                           .arg(extension, number);
            }
        }
        placePhone(m_contact, phoneKind(phone->types), number);
    }
}

Contact Card::finish()
{
    QStringList parts = m_nameParts;
    while (parts.size() < 5)
        parts << QString();
    m_contact[Column::SalutationId] = parts[3];
    QStringList given;
    for (const QString& part : {parts[1], parts[2], parts[0], parts[4]}) {
        if (!part.trimmed().isEmpty())
            given << part;
    }
    const QString fromParts = given.join(QLatin1Char(' '));
    // A company's card names the company in FN and leaves N's parts empty;
    // Tovren leaves the Name empty for it.
    const bool companyCard =
        fromParts.isEmpty() && m_formatted && *m_formatted == m_contact[Column::Company];
    if (m_formatted && !m_formatted->isEmpty() && !companyCard)
        m_contact[Column::Name] = *m_formatted;
    else if (!companyCard)
        m_contact[Column::Name] = fromParts;
    placeAddress();
    placePhones();
    for (size_t i = 0; i < m_emails.size(); ++i) {
        if (m_emails[i].second) {
            std::rotate(m_emails.begin(), m_emails.begin() + i, m_emails.begin() + i + 1);
            break;
        }
    }
    for (const auto& email : m_emails)
        placeEmail(m_contact, email.first);
    for (const auto& [column, text] : m_exact)
        m_contact[column] = text;
    if (m_strayLines > 0)
        m_contact.notes << QStringLiteral("%1 line(s) that are no vCard property are left out.")
                               .arg(m_strayLines);
    return m_contact;
}

} // namespace

ContactsRead readVCards(QStringView text, const Progress& progress)
{
    ContactsRead read;
    std::optional<Card> card;
    int cards = 0;
    qsizetype strayLines = 0;
    qsizetype firstStray = 0;
    const auto finish = [&] {
        Contact contact = card->finish();
        const QString refusal = fitToRecord(contact);
        if (refusal.isEmpty()) {
            read.contacts.push_back(std::move(contact));
        } else {
            // A card left without a name by a line too long to read says so.
            const auto [who, why] =
                card->longName() ? *card->longName() : std::pair(contact.label(), refusal);
            read.problems << QStringLiteral("Card %1 (line %2, %3) is left out: %4")
                                 .arg(cards)
                                 .arg(card->line())
                                 .arg(who, why);
        }
        card.reset();
    };
    const auto truncated = [&] {
        card->contact().notes << QStringLiteral("The card has no END:VCARD; the file may be cut "
                                                "short.");
        read.problems << QStringLiteral("Card %1 (line %2) has no END:VCARD; what it holds is "
                                        "read.")
                             .arg(cards)
                             .arg(card->line());
        finish();
    };
    forEachProperty(text, kLongestLine, [&](const Property& property) {
        const bool vcard =
            property.value.trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) == 0;
        if (property.name == QLatin1String("BEGIN") && vcard) {
            report(progress, property.offset, text.size());
            if (card)
                truncated();
            card.emplace(property.line);
            ++cards;
        } else if (property.name == QLatin1String("END") && vcard && card) {
            finish();
        } else if (card) {
            card->take(property);
        } else if (strayLines++ == 0) {
            firstStray = property.line;
        }
    });
    if (card)
        truncated();
    if (strayLines > 0)
        read.problems << QStringLiteral("%1 line(s) outside any card are left out, the first at "
                                        "line %2.")
                             .arg(strayLines)
                             .arg(firstStray);
    report(progress, text.size(), text.size());
    return read;
}

} // namespace interchange
