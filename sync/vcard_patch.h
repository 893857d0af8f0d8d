#pragma once
// An edit made in the book goes to the server as a change to the server's
// own text of the card: only the properties that carry the changed columns
// (the ones the vCard writer makes of them) and REV are rewritten. Every
// other line (pictures, a second e-mail, other programs' X- properties,
// grouped lines, 2.1's encodings, 4.0's own properties) stays byte for
// byte, and so do folded lines that carry nothing that changed.

#include "interchange/contact.h"
#include "interchange/vcard_writer.h"

#include <QByteArray>
#include <QDateTime>

namespace tovren::sync {

// `server` brought to `now`: the lines that carry a column whose value
// changed take the new value (their group, types and other parameters
// kept), a column that became empty loses its line, a column that gained a
// value gets the writer's line, and REV becomes `revision`. The text
// returned always reads (storedForm) as `now`; should the card's other
// lines read otherwise, the lines Tovren owns are replaced whole, and
// failing that the writer's card takes the server's UID.
QByteArray patchedVCard(const QByteArray& server, const interchange::Contact& now,
                        const QDateTime& revision);

// A card the server does not have yet: the writer's card with `uid` as its UID.
QByteArray newVCard(const interchange::Contact& contact, const QString& uid,
                    interchange::VCardVersion version);

} // namespace tovren::sync
