#pragma once
// The exit statuses of tovren-book, which scripts rely on; --help and the
// README list them.

#include <QString>

#include <cstdio>

namespace book_tool {

enum Exit : int {
    kDone = 0,
    kNoMatch = 1,     // query: nothing matches
    kUsage = 2,       // a wrong command, option or filter
    kNoBook = 3,      // the address book cannot be opened
    kBookInUse = 4,   // another program holds the address book
    kFileProblem = 5, // a file could not be read (nothing in it to import) or written
    kNotWritten = 6,  // the database refused the import; nothing was stored
    // sync: the server could not be reached, refused the sign-in, or stopped
    // answering; what is left goes at the next sync
    kServerProblem = 7,
    // sync: done, but contacts wait for the person: changed on both sides, or
    // refused by the server
    kNeedsALook = 8,
};

// Tells what went wrong on stderr and gives the exit status to end with.
inline int complain(const QString& message, int status)
{
    std::fprintf(stderr, "tovren-book: %s\n", qUtf8Printable(message));
    return status;
}

} // namespace book_tool
