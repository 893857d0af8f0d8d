#pragma once
// How a long reading or writing of contacts tells how far it has come, and
// learns that the person wants it stopped. A window on screen is the
// caller's business; the engines only call back.

#include <QtGlobal>

#include <exception>
#include <functional>

namespace interchange {

// Called with the work done so far and the whole of it, in the units the
// work counts (characters read, contacts written); the last call of work
// that ends has done == total. Answers false to stop the work.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Raised when a Progress answered false. The work stops where it is, and
// its caller drops what it did: a transaction is rolled back, a file is
// not saved.
class Cancelled : public std::exception {
public:
    const char* what() const noexcept override { return "The work was cancelled."; }
};

// Tells `progress`, when there is one; raises Cancelled when it answers false.
void report(const Progress& progress, qint64 done, qint64 total);

} // namespace interchange
