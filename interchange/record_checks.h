#pragma once
// A contact made fit for the Address record: the same checks as a typed
// card, their refusals turned into notes instead of message boxes.

#include "contact.h"

namespace interchange {

// Drops each value the record refuses (a pin code that is no number, an
// e-mail address without its '@') and cuts each text longer than the card
// takes, noting what was lost and why. The pick lists' texts are left
// whole: matching them to the lists, or adding them, is the importer's.
// Returns the record's refusal of the contact as a whole (neither a name
// nor a company), or "" when it can be stored.
QString fitToRecord(Contact& contact);

} // namespace interchange
