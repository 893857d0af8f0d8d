#pragma once
// The escapes and encodings of vCard values: backslash escapes (\n, \,,
// \; and \\, and Tovren's own \r), structured values split at their unescaped semicolons, and
// the quoted-printable of version 2.1.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace interchange {

// `value` with its backslash escapes resolved. A backslash before any other
// character stays, as version 2.1 writes backslashes unescaped.
QString unescapeValue(QStringView value);
// The components of a structured value (N, ADR, ORG), each unescaped.
QStringList valueComponents(QStringView value);
// `text` escaped for a value: backslash, comma, semicolon and line breaks,
// each line break (CR LF, LF or a lone CR) as \n.
QString escapeValue(const QString& text);

// Tovren's own properties keep a text exactly: a CR is written \r (vCard
// has no escape for it), so CR LF, LF and a lone CR each come back as they were.
QString escapeExact(const QString& text);
QString unescapeExact(QStringView value);

// The bytes that quoted-printable `text` stands for.
QByteArray quotedPrintableBytes(QStringView text);

} // namespace interchange
