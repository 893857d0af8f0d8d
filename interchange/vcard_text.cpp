#include "vcard_text.h"

#include <algorithm>

namespace interchange {

namespace {

// `value` with its backslash escapes resolved; \r too when `exact`.
QString unescaped(QStringView value, bool exact)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            text += c;
            continue;
        }
        const QChar next = value[i + 1];
        if (next == QLatin1Char('n') || next == QLatin1Char('N'))
            text += QLatin1Char('\n');
        else if (exact && (next == QLatin1Char('r') || next == QLatin1Char('R')))
            text += QLatin1Char('\r');
        else if (next == QLatin1Char(',') || next == QLatin1Char(';') || next == QLatin1Char('\\'))
            text += next;
        else {
            text += c;
            text += next;
        }
        ++i;
    }
    return text;
}

// `text` escaped; with `exact` each CR and LF has its own escape, else a
// line break of any kind is one \n.
QString escaped(const QString& text, bool exact)
{
    const auto special = [](QChar c) {
        return c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')
               || c == QLatin1Char('\r') || c == QLatin1Char('\n');
    };
    if (std::none_of(text.begin(), text.end(), special))
        return text;
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c == QLatin1Char('\r') && exact) {
            out += QLatin1String("\\r");
        } else if (c == QLatin1Char('\r')) {
            // A CR LF pair is one line break.
            if (i + 1 == text.size() || text[i + 1] != QLatin1Char('\n'))
                out += QLatin1String("\\n");
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("\\n");
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString unescapeValue(QStringView value)
{
    return unescaped(value, false);
}

QString unescapeExact(QStringView value)
{
    return unescaped(value, true);
}

QStringList valueComponents(QStringView value)
{
    QStringList components;
    qsizetype start = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\')) {
            ++i;
        } else if (value[i] == QLatin1Char(';')) {
            components << unescapeValue(value.sliced(start, i - start));
            start = i + 1;
        }
    }
    components << unescapeValue(value.sliced(start));
    return components;
}

QString escapeValue(const QString& text)
{
    return escaped(text, false);
}

QString escapeExact(const QString& text)
{
    return escaped(text, true);
}

QByteArray quotedPrintableBytes(QStringView text)
{
    const auto hex = [](QChar c) {
        const char16_t u = c.unicode();
        if (u >= '0' && u <= '9')
            return u - '0';
        if (u >= 'A' && u <= 'F')
            return u - 'A' + 10;
        if (u >= 'a' && u <= 'f')
            return u - 'a' + 10;
        return -1;
    };
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('=') && i + 2 < text.size() && hex(text[i + 1]) >= 0
            && hex(text[i + 2]) >= 0) {
            bytes += char(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            // Characters outside ASCII should not occur; they go as UTF-8.
            bytes += text.sliced(i, 1).toUtf8();
        }
    }
    return bytes;
}

} // namespace interchange
