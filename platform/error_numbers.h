#pragma once
// Run-time error numbers that callers test for. They keep the values of the
// data-access and language errors the program was first written against, so
// that logs and reports stay comparable.

#include <QtGlobal>

namespace platform::err {

constexpr qint32 InvalidCall = 5; // an argument a procedure cannot take
constexpr qint32 Overflow = 6;    // a number does not fit its type
constexpr qint32 OutOfMemory = 7;
constexpr qint32 TypeMismatch = 13;
constexpr qint32 ObjectNotSet = 91;  // no window or object to act on
constexpr qint32 InternalError = 51; // an unexpected failure below us
constexpr qint32 FileNotFound = 53;
constexpr qint32 PathFileAccess = 75; // file exists but cannot be used
constexpr qint32 ObjectRequired = 424;
constexpr qint32 NotSupported = 438; // object lacks the property or method
constexpr qint32 ProviderNotFound = 3706;
constexpr qint32 FindWithoutField = 6160;
constexpr qint32 DocumentOpen = 7867;                // the label document is open elsewhere
constexpr qint32 Unspecified = -2147467259;          // 0x80004005: database cannot be opened
constexpr qint32 BadBookmark = -2147217906;          // 0x80040E0E
constexpr qint32 ConcurrencyViolation = -2147217864; // 0x80040E38
constexpr qint32 DatabaseBusy = -2147217871;         // 0x80040E31: another program holds the book
constexpr qint32 ServerUnreachable = -2147217843;    // 0x80040E4D: no session with the server
constexpr qint32 ReadOnlyBook = -2147217911;         // 0x80040E09: the book may not be written
constexpr qint32 ObjectErrorBase = -2147221504;      // 0x80040000

} // namespace platform::err
