#pragma once
// Writes contacts as CSV in UTF-8: a header of Tovren's column names, then
// a row a contact, cells quoted as RFC 4180 asks and rows ending in CR LF.

#include "contact.h"

#include <QByteArray>

namespace interchange {

QByteArray csvHeader();
QByteArray csvRow(const Contact& contact);

} // namespace interchange
