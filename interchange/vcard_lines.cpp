#include "vcard_lines.h"

namespace interchange {
namespace {

// Where `text` splits at `separator` outside double quotes.
QList<QStringView> splitOutsideQuotes(QStringView text, QChar separator)
{
    QList<QStringView> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('"'))
            quoted = !quoted;
        else if (text[i] == separator && !quoted) {
            parts << text.sliced(start, i - start);
            start = i + 1;
        }
    }
    parts << text.sliced(start);
    return parts;
}

qsizetype colonOutsideQuotes(QStringView text)
{
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('"'))
            quoted = !quoted;
        else if (text[i] == QLatin1Char(':') && !quoted)
            return i;
    }
    return -1;
}

QString unquoted(QStringView text)
{
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        return text.sliced(1, text.size() - 2).toString();
    return text.toString();
}

void addParameter(Property& property, QStringView parameter)
{
    const qsizetype equals = parameter.indexOf(QLatin1Char('='));
    const QString key =
        parameter.first(equals < 0 ? parameter.size() : equals).trimmed().toString().toUpper();
    if (equals < 0) {
        // 2.1 names encodings and types alone.
        if (key == QLatin1String("QUOTED-PRINTABLE") || key == QLatin1String("BASE64"))
            property.encoding = key;
        else if (key == QLatin1String("PREF"))
            property.preferred = true;
        else if (!key.isEmpty())
            property.types << key;
        return;
    }
    const QStringView value = parameter.sliced(equals + 1);
    if (key == QLatin1String("TYPE")) {
        for (QStringView type : splitOutsideQuotes(value, QLatin1Char(','))) {
            const QString name = unquoted(type.trimmed()).toUpper();
            for (const QString& each : name.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                if (each == QLatin1String("PREF"))
                    property.preferred = true;
                else
                    property.types << each;
            }
        }
    } else if (key == QLatin1String("ENCODING")) {
        property.encoding = unquoted(value).toUpper();
    } else if (key == QLatin1String("CHARSET")) {
        property.charset = unquoted(value);
    } else if (key == QLatin1String("PREF")) {
        property.preferred = true;
    } else if (key == QLatin1String("X-TOVREN-COLUMN")) {
        property.column = unquoted(value);
    }
}

Property parse(QStringView line, qsizetype number, bool tooLong)
{
    Property property;
    property.line = number;
    property.tooLong = tooLong;
    const qsizetype colon = colonOutsideQuotes(line);
    if (colon < 0) {
        property.malformed = true;
        property.value = line.toString();
        return property;
    }
    const QList<QStringView> head = splitOutsideQuotes(line.first(colon), QLatin1Char(';'));
    QStringView name = head.first().trimmed();
    if (const qsizetype dot = name.lastIndexOf(QLatin1Char('.')); dot >= 0)
        name = name.sliced(dot + 1);
    property.name = name.toString().toUpper();
    for (qsizetype i = 1; i < head.size(); ++i)
        addParameter(property, head[i]);
    property.value = line.sliced(colon + 1).toString();
    return property;
}

bool isQuotedPrintable(QStringView line)
{
    const qsizetype colon = colonOutsideQuotes(line);
    return colon > 0
           && line.first(colon).contains(QLatin1String("QUOTED-PRINTABLE"), Qt::CaseInsensitive);
}

} // namespace

void forEachProperty(QStringView text, qsizetype longest,
                     const std::function<void(const Property&)>& take)
{
    QString pending;
    qsizetype pendingLine = 0;
    qsizetype pendingOffset = 0;
    bool pendingTooLong = false;
    bool pendingQuotedPrintable = false;
    const auto flush = [&] {
        if (!pending.trimmed().isEmpty()) {
            Property property = parse(pending, pendingLine, pendingTooLong);
            property.offset = pendingOffset;
            take(property);
        }
        pending.clear();
        pendingTooLong = false;
    };
    // A line too long is kept only to its first `longest` characters, so
    // that memory and time stay in proportion to what is read.
    const auto append = [&](QStringView part) {
        const qsizetype room = longest - pending.size();
        if (part.size() > room) {
            pendingTooLong = true;
            part = part.first(std::max<qsizetype>(room, 0));
        }
        pending += part;
    };
    qsizetype number = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        QStringView line = text.sliced(start, end - start);
        const qsizetype lineStart = start;
        start = end + 1;
        ++number;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const bool folded =
            !line.isEmpty() && (line[0] == QLatin1Char(' ') || line[0] == QLatin1Char('\t'));
        if (folded && !pending.isEmpty()) {
            append(line.sliced(1));
            continue;
        }
        // A quoted-printable value ending in '=' goes on in the next line.
        if (pendingQuotedPrintable && pending.endsWith(QLatin1Char('=')) && !pendingTooLong) {
            pending.chop(1);
            append(line);
            continue;
        }
        flush();
        pendingLine = number;
        pendingOffset = lineStart;
        append(line);
        pendingQuotedPrintable = isQuotedPrintable(pending);
    }
    flush();
}

} // namespace interchange
