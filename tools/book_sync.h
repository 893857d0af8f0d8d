#pragma once
// tovren-book sync: the book synced with the address book on the CardDAV
// server Address.ini's [Sync] section names, through the same synchronizer
// as Tools, Synchronize. Prints the summary; returns the exit status.

#include <memory>

namespace data {
class Connection;
}

namespace book_tool {

// With `dryRun`, prints what a sync would do and sends and stores nothing.
int syncBook(std::shared_ptr<data::Connection> connection, bool dryRun);

} // namespace book_tool
