#include "vcard_writer.h"

#include "dates.h"
#include "phones.h"
#include "vcard_text.h"

namespace interchange {
namespace {

constexpr qsizetype kFoldAt = 75;

// Appends `line` folded at 75 octets: each further part begins with a
// space and the cut never falls inside a UTF-8 sequence.
void appendFolded(QByteArray& out, const QByteArray& line)
{
    qsizetype start = 0;
    qsizetype room = kFoldAt;
    while (line.size() - start > room) {
        qsizetype cut = start + room;
        while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out += QByteArrayView(line).sliced(start, cut - start);
        out += "\r\n ";
        start = cut;
        room = kFoldAt - 1;
    }
    out += QByteArrayView(line).sliced(start);
    out += "\r\n";
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

} // namespace

QByteArray vCard(const Contact& c, VCardVersion version)
{
    const bool v4 = version == VCardVersion::V4;
    QByteArray out;
    out.reserve(512);
    const auto line = [&](const QString& text) { appendFolded(out, text.toUtf8()); };
    const auto property = [&](const char* name, const QString& value) {
        if (!value.isEmpty())
            line(QLatin1String(name) + QLatin1Char(':') + value);
    };
    const auto date = [&](const char* name, const QString& iso) {
        property(name, v4 ? basicDate(iso) : iso);
    };

    out += v4 ? "BEGIN:VCARD\r\nVERSION:4.0\r\n" : "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    const QString& name = c[Column::Name];
    line(QLatin1String("FN:") + escapeValue(name.isEmpty() ? c[Column::Company] : name));
    line(QLatin1String("N:") + structured(nameParts(name) << c[Column::Salutation] << QString()));
    property("ORG", escapeValue(c[Column::Company]));
    const QStringList address{QString(),         QString(),        street(c),
                              c[Column::City],   c[Column::State], c[Column::PinCode],
                              c[Column::Country]};
    if (!address.join(QString()).isEmpty())
        line(QLatin1String("ADR:") + structured(address));
    for (int i = 0; i < kColumnCount; ++i) {
        const Column column = Column(i);
        if (!isPhone(column) || c[column].isEmpty())
            continue;
        const QString types = phoneTypes(column).join(QLatin1Char(','));
        line(QStringLiteral("TEL;TYPE=%1;X-TOVREN-COLUMN=%2:%3")
                 .arg(v4 ? types.toLower() : types, columnName(column), escapeValue(c[column])));
    }
    property("X-TOVREN-EXTENSION", escapeValue(c[Column::PhExt]));
    property(v4 ? "EMAIL" : "EMAIL;TYPE=INTERNET", escapeValue(c[Column::EmlAddr]));
    date("BDAY", c[Column::DtBirth]);
    date(v4 ? "ANNIVERSARY" : "X-ANNIVERSARY", c[Column::DtMarriage]);
    property("X-TOVREN-JOINING-DATE", c[Column::DtJoining]);
    property("X-TOVREN-RELIGION", escapeValue(c[Column::Religion]));
    out += "END:VCARD\r\n";
    return out;
}

} // namespace interchange
