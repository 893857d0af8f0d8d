#pragma once
// What one sync did, for the summary window and tovren-book's report.

#include "carddav_collection.h"

#include <QStringList>

#include <optional>

namespace tovren::sync {

struct SyncSummary {
    struct Side {
        int added = 0;
        int changed = 0;
        int deleted = 0;
        friend bool operator==(const Side&, const Side&) = default;
    };
    Side book;   // what the sync did to the address book
    Side server; // what it did to the address book on the server
    // Contacts both sides changed: the server's version is in the book and
    // the person's waits for the choice.
    QStringList conflicts;
    // Contacts deleted on one side and changed on the other, kept.
    QStringList kept;
    // Contacts the server refused, each with why.
    QStringList refused;
    // Cards on the server the book cannot take (neither a name nor a company).
    QStringList unreadable;
    // Why the sync stopped before its end; what is left goes at the next one.
    std::optional<Failure> stopped;
    bool cancelled = false;

    // The summary as lines, for a window or a terminal.
    QStringList lines() const;
};

} // namespace tovren::sync
