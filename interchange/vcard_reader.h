#pragma once
// Reads the cards of a vCard file, versions 2.1, 3.0 and 4.0 alike.
//
// What goes where: FN (or N's parts) is the Name and N's prefix the
// Salutation; ORG is the Company; the preferred (else the first) ADR gives
// Address1 to Address3 (its street's lines), City, State, PinCode and
// Country; TEL goes by type (see phones.h) unless an X-TOVREN-COLUMN
// parameter names its column; the preferred (else the first) EMAIL is
// EmlAddr; BDAY is DtBirth; ANNIVERSARY (X-ANNIVERSARY in 3.0) is
// DtMarriage. Tovren's columns without a standard property travel as
// X-TOVREN-RELIGION, X-TOVREN-JOINING-DATE and X-TOVREN-EXTENSION. A text
// that its standard property cannot give back as it is (a CR, an address
// line of two lines, a phone with spaces at its ends) travels beside it as
// X-TOVREN- and its column's name (X-TOVREN-ADDRESS1), which comes first.
// Every other property, a second address or e-mail, and every picture or
// sound is noted on its contact and left out.

#include "contact.h"
#include "progress.h"

namespace interchange {

// Tells `progress` the characters read, card by card.
ContactsRead readVCards(QStringView text, const Progress& progress = {});

} // namespace interchange
