#include "vcard_writer.h"

#include "dates.h"
#include "phones.h"
#include "vcard_text.h"

#include <QUuid>

#include <array>

namespace interchange {
namespace {

constexpr qsizetype kFoldAt = 75;

// What each phone column's TEL line begins with, in both versions' type
// spellings; the X-TOVREN-COLUMN parameter puts it back in its column.
const QString& telPrefix(Column column, bool v4)
{
    static const auto prefixes = [] {
        std::array<std::array<QString, 2>, kColumnCount> table;
        for (int i = 0; i < kColumnCount; ++i) {
            const QString types = phoneTypes(Column(i)).join(QLatin1Char(','));
            for (const bool lower : {false, true})
                table[size_t(i)][lower] =
                    QLatin1String("TEL;TYPE=") + (lower ? types.toLower() : types)
                    + QLatin1String(";X-TOVREN-COLUMN=") + columnName(Column(i)) + QLatin1Char(':');
        }
        return table;
    }();
    return prefixes[size_t(column)][v4];
}

// The family name is the last word of the Name, the given name the first
// and the words between are additional names: how most Names split.
QStringList nameParts(const QString& name)
{
    const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {QString(), QString(), QString()};
    if (words.size() == 1)
        return {QString(), words[0], QString()};
    return {words.last(), words.first(), words.mid(1, words.size() - 2).join(QLatin1Char(' '))};
}

QString structured(const QStringList& components)
{
    QStringList escaped;
    for (const QString& component : components)
        escaped << escapeValue(component);
    return escaped.join(QLatin1Char(';'));
}

// The street is the address lines, one to a line, without trailing empty ones.
QString street(const Contact& c)
{
    QStringList lines{c[Column::Address1], c[Column::Address2], c[Column::Address3]};
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(QLatin1Char('\n'));
}

bool isStreetLine(Column column)
{
    return column == Column::Address1 || column == Column::Address2 || column == Column::Address3;
}

bool hasBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// Whether `column`'s text comes back as it is from the standard property
// that carries it. When it does not, it travels beside that property in
// Tovren's own X-TOVREN-<column>, which the reader puts first, while the
// standard property stays what other address books read.
bool travelsExactly(const Contact& c, Column column)
{
    const QString& text = c[column];
    // ADR's street has one address line to a line: a line holding a break
    // of its own would split, so then all three lines travel, empty or not.
    if (isStreetLine(column))
        return !hasBreak(c[Column::Address1]) && !hasBreak(c[Column::Address2])
               && !hasBreak(c[Column::Address3]);
    if (text.isEmpty())
        return true;
    // The religion has no standard property; vCard has no escape for a CR.
    if (column == Column::ReligionId || text.contains(QLatin1Char('\r')))
        return false;
    // Readers trim phones and e-mail addresses, and may take a Name of
    // blanks (N's parts all blank) for a company's card.
    if (isPhone(column) || column == Column::EmlAddr)
        return text == text.trimmed();
    return column != Column::Name || !text.trimmed().isEmpty();
}

// Address books that synchronise (khard among them) pass over a card without
// a UID. The contact has no identity of its own outside the database, so its
// UID is made from its values: the same contact always gets the same one.
QString uid(const Contact& c)
{
    static const QUuid tovren = QUuid::fromString(u"6d1c0f1e-4b1a-4c5e-9a43-7f2d5f1e0b21");
    QByteArray values;
    for (const QString& value : c.values)
        values += value.toUtf8() + '\0';
    return QLatin1String("urn:uuid:")
           + QUuid::createUuidV5(tovren, values).toString(QUuid::WithoutBraces);
}

} // namespace

void appendFolded(QByteArray& out, QByteArrayView utf8)
{
    qsizetype column = 0;
    qsizetype unwritten = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte == '\r' || byte == '\n') {
            column = 0;
            continue;
        }
        if ((byte & 0xC0) != 0x80) {
            const int length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
            if (column + length > kFoldAt) {
                out += utf8.sliced(unwritten, i - unwritten);
                out += "\r\n ";
                unwritten = i;
                column = 1;
            }
        }
        ++column;
    }
    out += utf8.sliced(unwritten);
}

QByteArray vCard(const Contact& c, VCardVersion version)
{
    const bool v4 = version == VCardVersion::V4;
    QString text;
    text.reserve(1024);
    const auto line = [&](QLatin1StringView name, const QString& value) {
        text += name + value + QLatin1String("\r\n");
    };
    const auto property = [&](const char* name, const QString& value) {
        if (!value.isEmpty())
            line(QLatin1StringView(name), value);
    };
    const auto date = [&](const char* name, const QString& iso) {
        property(name, v4 ? basicDate(iso) : iso);
    };

    text += v4 ? QLatin1String("BEGIN:VCARD\r\nVERSION:4.0\r\n")
               : QLatin1String("BEGIN:VCARD\r\nVERSION:3.0\r\n");
    const QString& name = c[Column::Name];
    line(QLatin1String("FN:"), escapeValue(name.isEmpty() ? c[Column::Company] : name));
    line(QLatin1String("N:"), structured(nameParts(name) << c[Column::SalutationId] << QString()));
    property("ORG:", escapeValue(c[Column::Company]));
    const QStringList address{QString(),         QString(),        street(c),
                              c[Column::City],   c[Column::State], c[Column::PinCode],
                              c[Column::Country]};
    if (address.size() != address.count(QString()))
        line(QLatin1String("ADR:"), structured(address));
    for (int i = 0; i < kColumnCount; ++i) {
        const Column column = Column(i);
        if (isPhone(column) && !c[column].isEmpty())
            text += telPrefix(column, v4) + escapeValue(c[column]) + QLatin1String("\r\n");
    }
    property("X-TOVREN-EXTENSION:", escapeExact(c[Column::PhExt]));
    property(v4 ? "EMAIL:" : "EMAIL;TYPE=INTERNET:", escapeValue(c[Column::EmlAddr]));
    date("BDAY:", c[Column::DtBirth]);
    date(v4 ? "ANNIVERSARY:" : "X-ANNIVERSARY:", c[Column::DtMarriage]);
    property("X-TOVREN-JOINING-DATE:", c[Column::DtJoining]);
    for (int i = 0; i < kColumnCount; ++i) {
        const Column column = Column(i);
        if (!isDate(column) && column != Column::PhExt && !travelsExactly(c, column))
            text += QLatin1String("X-TOVREN-") + columnName(column).toString().toUpper()
                    + QLatin1Char(':') + escapeExact(c[column]) + QLatin1String("\r\n");
    }
    line(QLatin1String("UID:"), uid(c));
    text += QLatin1String("END:VCARD\r\n");

    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    out.reserve(utf8.size() + utf8.size() / 32);
    appendFolded(out, utf8);
    return out;
}

} // namespace interchange
