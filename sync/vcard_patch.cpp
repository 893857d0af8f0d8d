#include "vcard_patch.h"

#include "stored_card.h"

#include "interchange/phones.h"
#include "interchange/vcard_lines.h"
#include "interchange/vcard_text.h"

#include <QHash>
#include <QRegularExpression>

namespace tovren::sync {
namespace {

using interchange::Column;
using interchange::Property;

// One content line of a card as it stands in the text: its folds, its line
// end and any blank lines after it, so that joining the lines gives the
// text back exactly.
struct Line {
    QString raw;
    Property property;
    QString after; // lines put in after this one
};

struct Lines {
    QString lead; // whatever comes before the first content line
    std::vector<Line> lines;
    bool lf = false; // line ends are LF alone

    QString joined() const
    {
        QString text = lead;
        for (const Line& line : lines)
            text += line.raw + line.after;
        return text;
    }
};

Lines split(const QString& text)
{
    Lines card;
    std::vector<Property> properties;
    interchange::forEachProperty(text, interchange::kLongestLine,
                                 [&](const Property& property) { properties.push_back(property); });
    card.lead = properties.empty() ? text : text.first(properties.front().offset);
    for (size_t i = 0; i < properties.size(); ++i) {
        const qsizetype end = i + 1 < properties.size() ? properties[i + 1].offset : text.size();
        const qsizetype start = properties[i].offset;
        card.lines.push_back({text.sliced(start, end - start), properties[i], QString()});
    }
    const qsizetype firstEnd = text.indexOf(QLatin1Char('\n'));
    card.lf = firstEnd > 0 && text[firstEnd - 1] != QLatin1Char('\r');
    return card;
}

bool isAnniversary(const QString& name)
{
    return name == QLatin1String("ANNIVERSARY") || name == QLatin1String("X-ANNIVERSARY")
           || name == QLatin1String("X-EVOLUTION-ANNIVERSARY")
           || name == QLatin1String("X-MS-ANNIVERSARY");
}

// The family of a column: the properties that carry it, rewritten together.
QString familyOfColumn(Column column)
{
    switch (column) {
    case Column::SalutationId:
    case Column::Name:
        return QStringLiteral("N");
    case Column::Company:
        return QStringLiteral("ORG");
    case Column::ReligionId:
        return QStringLiteral("RELIGION");
    case Column::PhExt:
        return QStringLiteral("EXTENSION");
    case Column::DtBirth:
        return QStringLiteral("BDAY");
    case Column::DtMarriage:
        return QStringLiteral("ANNIVERSARY");
    case Column::DtJoining:
        return QStringLiteral("JOINING");
    case Column::EmlAddr:
        return QStringLiteral("EMAIL");
    default:
        if (interchange::isPhone(column))
            return QLatin1String("TEL:") + interchange::columnName(column);
        return QStringLiteral("ADR");
    }
}

// The family a property carries, "TEL" for a phone that names no column of
// its own, or "" for a property that carries no column.
QString familyOf(const Property& property)
{
    const QString& name = property.name;
    if (name == QLatin1String("FN") || name == QLatin1String("N"))
        return QStringLiteral("N");
    if (isAnniversary(name))
        return QStringLiteral("ANNIVERSARY");
    if (name == QLatin1String("X-TOVREN-JOINING-DATE"))
        return QStringLiteral("JOINING");
    if (name == QLatin1String("X-TOVREN-EXTENSION"))
        return QStringLiteral("EXTENSION");
    if (name == QLatin1String("TEL")) {
        const auto column = interchange::columnOfName(property.column);
        return column && interchange::isPhone(*column) ? familyOfColumn(*column)
                                                       : QStringLiteral("TEL");
    }
    for (const char* own : {"ORG", "ADR", "EMAIL", "BDAY"}) {
        if (name == QLatin1String(own))
            return name;
    }
    if (name.startsWith(QLatin1String("X-TOVREN-"))) {
        if (const auto column = interchange::columnOfName(QStringView(name).sliced(9)))
            return familyOfColumn(*column);
    }
    return QString();
}

// A phone's number as the reader places it: a tel: address without its
// scheme and extension.
QString number(const Property& property)
{
    QString text = interchange::unescapeValue(property.value).trimmed();
    if (text.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        text = text.sliced(4).section(QLatin1Char(';'), 0, 0);
    return text;
}

// The lines of each family that the reader took its columns from: the
// first of a name it keeps once, the preferred (else the first) address
// and e-mail, and for a phone the line naming its column, else the first
// unclaimed line holding its number.
QHash<QString, QList<int>> readerLines(const Lines& card, const interchange::Contact& before)
{
    QHash<QString, QList<int>> families;
    QHash<QString, int> chosen; // ADR and EMAIL
    QList<int> loosePhones;
    QSet<QString> seen;
    for (int i = 0; i < int(card.lines.size()); ++i) {
        const Property& property = card.lines[size_t(i)].property;
        const QString family = familyOf(property);
        if (family.isEmpty())
            continue;
        if (family == QLatin1String("TEL")) {
            loosePhones << i;
        } else if (property.name == QLatin1String("ADR")
                   || property.name == QLatin1String("EMAIL")) {
            const auto was = chosen.constFind(property.name);
            if (was == chosen.cend()
                || (property.preferred && !card.lines[size_t(*was)].property.preferred))
                chosen[property.name] = i;
        } else if (!seen.contains(family + property.name)) {
            seen.insert(family + property.name);
            families[family] << i;
        }
    }
    for (auto it = chosen.cbegin(); it != chosen.cend(); ++it)
        families[it.key()].prepend(it.value());
    for (int c = 0; c < interchange::kColumnCount; ++c) {
        const Column column = Column(c);
        const QString family = familyOfColumn(column);
        if (!interchange::isPhone(column) || before[column].isEmpty() || families.contains(family))
            continue;
        for (int i : loosePhones) {
            // The book keeps as much of a long number as its column takes.
            const QString held =
                number(card.lines[size_t(i)].property).left(interchange::columnWidth(column));
            if (held == before[column]) {
                families[family] << i;
                loosePhones.removeOne(i);
                break;
            }
        }
    }
    return families;
}

// The writer's lines of each family.
QHash<QString, QList<const Line*>> familiesOf(const Lines& written)
{
    QHash<QString, QList<const Line*>> families;
    for (const Line& line : written.lines) {
        const QString family = familyOf(line.property);
        if (!family.isEmpty())
            families[family] << &line;
    }
    return families;
}

QString inStyle(QString text, bool lf)
{
    return lf ? text.replace(QLatin1String("\r\n"), QLatin1String("\n")) : text;
}

// `line` with its value replaced, its name, group and parameters as they were.
QString withValue(const Line& line, const QString& value, bool lf)
{
    static const QRegularExpression folds(QStringLiteral("\r?\n[ \t]"));
    QString logical = QString(line.raw).remove(folds);
    const qsizetype end = logical.indexOf(QLatin1Char('\n'));
    const QString trailing = end < 0 ? QString() : logical.sliced(end + 1);
    logical.truncate(end < 0 ? logical.size() : end);
    if (logical.endsWith(QLatin1Char('\r')))
        logical.chop(1);
    const qsizetype colon = logical.size() - line.property.value.size() - 1;
    QByteArray out;
    interchange::appendFolded(out,
                              (logical.first(colon + 1) + value + QLatin1String("\r\n")).toUtf8());
    return inStyle(QString::fromUtf8(out), lf) + trailing;
}

// The components of a structured value, escapes kept.
QStringList components(const QString& value)
{
    QStringList parts{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char(';')) {
            parts << QString();
        } else {
            parts.last() += value[i];
            if (value[i] == QLatin1Char('\\') && i + 1 < value.size())
                parts.last() += value[++i];
        }
    }
    return parts;
}

// The server's value with the writer's changes: a structured value (N, ADR,
// ORG) changes only in the components that changed, so that what Tovren
// does not keep of it (a suffix, an organisational unit) stays.
QString mergedValue(const Line& server, const QString& was, const QString& now)
{
    const QString& name = server.property.name;
    if (name != QLatin1String("N") && name != QLatin1String("ADR") && name != QLatin1String("ORG"))
        return now;
    QStringList merged = components(server.property.value), before = components(was),
                after = components(now);
    const qsizetype had = merged.size();
    const qsizetype size = std::max({merged.size(), before.size(), after.size()});
    for (QStringList* parts : {&merged, &before, &after}) {
        while (parts->size() < size)
            *parts << QString();
    }
    // The reader puts the post office box and the extended address among
    // the street's lines: a new street replaces all three.
    const bool street = name == QLatin1String("ADR") && before.mid(0, 3) != after.mid(0, 3);
    for (qsizetype i = 0; i < size; ++i) {
        if (before[i] != after[i] || (street && i < 3))
            merged[i] = after[i];
    }
    while (merged.size() > had && merged.last().isEmpty())
        merged.removeLast();
    return merged.join(QLatin1Char(';'));
}

// Whether a line's value may be replaced in place: a plain text, not an
// encoded one, a tel: address or one cut short on reading.
bool takesValue(const Line& line)
{
    const Property& p = line.property;
    return p.encoding.isEmpty() && p.charset.isEmpty() && !p.tooLong
           && !p.value.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive);
}

enum class Mode { Values, Lines };

void rewrite(Lines& card, const QList<int>& members, const QList<const Line*>& had,
             const QList<const Line*>& written, Mode mode, int endLine)
{
    QSet<const Line*> used;
    for (int i : members) {
        Line& line = card.lines[size_t(i)];
        const auto counterpart = std::find_if(written.begin(), written.end(), [&](const Line* w) {
            return w->property.name == line.property.name
                   || (isAnniversary(w->property.name) && isAnniversary(line.property.name));
        });
        if (counterpart == written.end()) {
            line.raw.clear();
            continue;
        }
        used.insert(*counterpart);
        const auto was = std::find_if(had.begin(), had.end(), [&](const Line* h) {
            return h->property.name == (*counterpart)->property.name;
        });
        const QString value = (*counterpart)->property.value;
        line.raw =
            mode == Mode::Values && takesValue(line) ? withValue(
                line, was == had.end() ? value : mergedValue(line, (*was)->property.value, value),
                card.lf)
                                                     : inStyle((*counterpart)->raw, card.lf);
    }
    const int at = members.isEmpty() ? endLine - 1 : members.last();
    for (const Line* w : written) {
        if (!used.contains(w))
            card.lines[size_t(at)].after += inStyle(w->raw, card.lf);
    }
}

// The card's END line, or -1 when the text holds no whole card to patch.
int endLine(const Lines& card)
{
    for (int i = int(card.lines.size()) - 1; i > 0; --i) {
        if (card.lines[size_t(i)].property.name == QLatin1String("END"))
            return i;
    }
    return -1;
}

void setRevision(Lines& card, const QDateTime& revision, int end)
{
    const QString line =
        inStyle(QLatin1String("REV:") + revision.toUTC().toString(u"yyyyMMdd'T'HHmmss'Z'")
                    + QLatin1String("\r\n"),
                card.lf);
    for (Line& each : card.lines) {
        if (each.property.name == QLatin1String("REV")) {
            each.raw = line;
            return;
        }
    }
    card.lines[size_t(end - 1)].after += line;
}

interchange::VCardVersion versionOf(const Lines& card)
{
    for (const Line& line : card.lines) {
        if (line.property.name == QLatin1String("VERSION"))
            return line.property.value.trimmed() == QLatin1String("4.0")
                       ? interchange::VCardVersion::V4
                       : interchange::VCardVersion::V3;
    }
    return interchange::VCardVersion::V3;
}

QString uidLine(const QString& uid)
{
    return QLatin1String("UID:") + uid + QLatin1String("\r\n");
}

// `text` (the writer's card) with its UID line replaced by `uid`.
QString withUidLine(const QString& text, const QString& uid)
{
    Lines card = split(text);
    for (Line& line : card.lines) {
        if (line.property.name == QLatin1String("UID"))
            line.raw = uid;
    }
    return card.joined();
}

bool readsAs(const QString& text, const interchange::Contact& now)
{
    const auto stored = storedForm(text.toUtf8());
    return stored && sameContact(now, *stored);
}

} // namespace

QByteArray patchedVCard(const QByteArray& server, const interchange::Contact& now,
                        const QDateTime& revision)
{
    const QString text = QString::fromUtf8(server);
    const std::optional<interchange::Contact> before = storedForm(server);
    if (before && sameContact(now, *before))
        return server;
    const Lines original = split(text);
    const interchange::VCardVersion version = versionOf(original);
    const QString whole = QString::fromUtf8(interchange::vCard(now, version));
    const Lines written = split(whole);
    const QHash<QString, QList<const Line*>> wanted = familiesOf(written);
    const QHash<QString, QList<int>> members = readerLines(original, before.value_or(now));

    // The families whose writer's lines differ between before and now.
    QSet<QString> changed;
    const Lines was = split(
        QString::fromUtf8(interchange::vCard(before.value_or(interchange::Contact{}), version)));
    const QHash<QString, QList<const Line*>> had = familiesOf(was);
    for (int c = 0; c < interchange::kColumnCount; ++c) {
        const QString family = familyOfColumn(Column(c));
        QStringList a, b;
        for (const Line* line : had.value(family))
            a << line->raw;
        for (const Line* line : wanted.value(family))
            b << line->raw;
        if (a != b || !before)
            changed.insert(family);
    }

    // Values changed in place; failing that, the changed families' lines
    // replaced whole; failing that, every line Tovren owns.
    const std::vector<std::pair<Mode, QSet<QString>>> attempts{
        {Mode::Values, changed},
        {Mode::Lines, changed},
        {Mode::Lines, QSet<QString>(wanted.keyBegin(), wanted.keyEnd())
                          + QSet<QString>(members.keyBegin(), members.keyEnd())}};
    const int end = endLine(original);
    for (const auto& [mode, families] : end < 0 ? decltype(attempts){} : attempts) {
        Lines card = original;
        for (const QString& family : families)
            rewrite(card, members.value(family), had.value(family), wanted.value(family), mode,
                    end);
        setRevision(card, revision, end);
        const QString patched = card.joined();
        if (readsAs(patched, now))
            return patched.toUtf8();
    }
    QString uid;
    for (const Line& line : original.lines) {
        if (line.property.name == QLatin1String("UID") && uid.isEmpty())
            uid = line.raw;
    }
    return (uid.isEmpty() ? whole : withUidLine(whole, uid)).toUtf8();
}

QByteArray newVCard(const interchange::Contact& contact, const QString& uid,
                    interchange::VCardVersion version)
{
    return withUidLine(QString::fromUtf8(interchange::vCard(contact, version)), uidLine(uid))
        .toUtf8();
}

} // namespace tovren::sync
