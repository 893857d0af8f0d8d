#pragma once
// Reads contacts from CSV as RFC 4180 writes it: cells quoted when they hold
// the delimiter, a quote ("" inside) or a line break. The delimiter (comma,
// semicolon or tab) is the one the header row uses most; the header names
// the columns (see csv_headers.h). A row with more or fewer cells than the
// header is read as far as it goes and noted.

#include "contact.h"
#include "progress.h"

namespace interchange {

// Whether the first row of `text` names a column Tovren knows.
bool hasKnownHeader(QStringView text);

// Tells `progress` the characters read, row by row.
ContactsRead readCsv(QStringView text, const Progress& progress = {});

} // namespace interchange
