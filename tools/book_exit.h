#pragma once
// The exit statuses of tovren-book, which scripts rely on; --help and the
// README list them.

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

} // namespace book_tool
