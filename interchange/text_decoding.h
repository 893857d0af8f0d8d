#pragma once
// The characters of a contact file, whatever wrote it: UTF-8 with or
// without a byte-order mark, UTF-16 with one, and Windows-1252 (what a
// spreadsheet saves on Windows) when the bytes are not UTF-8.

#include <QByteArray>
#include <QString>

namespace interchange {

struct DecodedText {
    QString text;
    QString encoding;    // "UTF-8", "UTF-16LE", "UTF-16BE" or "Windows-1252"
    bool binary = false; // no text at all: `text` is left empty
};

DecodedText decodeText(const QByteArray& bytes);

// `bytes` in the character set a vCard 2.1 CHARSET parameter names; UTF-8,
// or Windows-1252 when they are not UTF-8, where it names none. A name this
// build does not know reads as that fallback too, and clears `known`.
QString decodeCharset(const QByteArray& bytes, const QString& charset, bool* known);

} // namespace interchange
