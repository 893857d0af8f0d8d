#pragma once
// Finding the address book from any URL the person gives: the book itself,
// the server's root or a principal, or a host whose /.well-known/carddav
// leads to one. From there the current-user-principal, its
// addressbook-home-set, and the address books in that home.

#include "sync/carddav_collection.h"

namespace tovren::sync {

struct FoundBook {
    QUrl url; // ends in "/"
    QString displayName;
    bool syncCollection = false; // offers the sync-collection report
    bool vcard4 = false;         // takes vCard 4.0
    QString syncToken;           // as the book was found; "" where it keeps none
};

struct Discovered {
    std::optional<FoundBook> book;
    Failure failure; // why there is none
};

class DavClient;

// The book found from `start`. A book found before (`known`) is asked first,
// in one request; only where it is no longer there does discovery run again.
Discovered findBook(DavClient& client, const QUrl& start, const ChooseBook& choose,
                    const QUrl& known = {});

} // namespace tovren::sync
