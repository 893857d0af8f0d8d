#pragma once
// Writes contacts as vCards: 3.0 by default, the version every address
// book reads, or 4.0. Every column has a place (see vcard_reader.h), so
// that reading a written card gives the same contact back.

#include "contact.h"

#include <QByteArray>

namespace interchange {

enum class VCardVersion { V3, V4 };

// One card, in UTF-8 with CR LF line ends and lines folded at 75 octets.
QByteArray vCard(const Contact& contact, VCardVersion version);

// Appends the lines of `utf8` (each ending in CR LF) folded at 75 octets:
// a longer line goes on in lines that begin with a space, and a fold never
// falls inside a character's UTF-8 sequence.
void appendFolded(QByteArray& out, QByteArrayView utf8);

} // namespace interchange
