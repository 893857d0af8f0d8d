#pragma once
// A book whose last sync found every contact changed on both sides: the
// server's version as stored, the person's with another City.

#include "sync/synced_book.h"
#include "sync/vcard_patch.h"

#include <vector>

namespace testing_support {

// The ids of the contacts, now each in conflict.
inline std::vector<qint64> changeBothSides(std::shared_ptr<data::Connection> book,
                                           const QString& myCity)
{
    using namespace tovren::sync;
    std::vector<qint64> ids;
    SyncedBook synced(std::move(book));
    SyncedBook::Batch batch(synced);
    for (const qint64 id : synced.ids()) {
        const interchange::Contact theirs = *synced.contact(id);
        interchange::Contact mine = theirs;
        mine[interchange::Column::City] = myCity;
        const QString uid = QString::number(id);
        batch.putState({id, "/book/" + uid, "\"1\"",
                        newVCard(theirs, uid, interchange::VCardVersion::V3), uid,
                        newVCard(mine, uid, interchange::VCardVersion::V3)});
        ids.push_back(id);
    }
    batch.commit();
    return ids;
}

} // namespace testing_support
