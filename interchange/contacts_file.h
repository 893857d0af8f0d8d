#pragma once
// Reads a contact file of whatever kind it is: vCard when it begins with a
// BEGIN:VCARD, else CSV with a header row Tovren knows; any of the
// encodings of text_decoding.h. What is neither gets a message, never a
// guess.

#include "contact.h"
#include "progress.h"

namespace interchange {

// `progress` is told the characters of the decoded text read so far, and
// may stop the reading (see progress.h).
ContactsRead readContacts(const QByteArray& bytes, const Progress& progress = {});
// The file at `path`; a file that cannot be read gets a message.
ContactsRead readContactsFile(const QString& path, const Progress& progress = {});

} // namespace interchange
