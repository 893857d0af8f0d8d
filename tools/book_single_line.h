#pragma once
// The one rule every field of tovren-book's answers (query, list) keeps:
// a mail program or a script reads one contact a line, its fields split at
// TABs, so a line break or a TAB stored in a name (an imported vCard's \n,
// a CSV's quoted newline) must not start a line or a field of its own: a
// mail program would offer an address that is in no contact.

#include <QString>

namespace book_tool {

// `text` as one field: each line break (LF, CR LF, CR, VT, FF, NEL, the
// Unicode line and paragraph separators) and each TAB becomes a space;
// every other control character is dropped.
QString singleLine(const QString& text);

} // namespace book_tool
