#pragma once
// A server's vCard as the book would hold it: read as an import reads it,
// held to the Address record's checks, its pick-list texts trimmed and
// dropped where the list could not take them. A contact whose row differs
// from the stored form of its last synced card was changed in the book.

#include "interchange/contact.h"

#include <QByteArray>

#include <optional>

namespace tovren::sync {

// The first card of `vcard` in the book's form, or nothing when it holds no
// card the record takes (neither a name nor a company).
std::optional<interchange::Contact> storedForm(QByteArrayView vcard);

// Whether a row and a card's stored form hold the same contact: pick-list
// texts compare without regard to case, as the lists match them.
bool sameContact(const interchange::Contact& row, const interchange::Contact& card);

// The UID of the card `vcard`, however its line is folded or grouped;
// empty when it has none.
QString uidOf(QByteArrayView vcard);

} // namespace tovren::sync
