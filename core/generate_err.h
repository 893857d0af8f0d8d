#pragma once
// The record layer's error classifier: what a failed database step leads to.

#include "platform/runtime_error.h"

#include <QtGlobal>

namespace modGenProcedures {

// Action codes of GenerateErr.
enum ErrAction : quint8 {
    kErrEnd = 0,          // an unexpected error
    kErrReturn = 1,       // the user has been told; return
    kErrRetry = 3,        // a bad bookmark: repair the position and retry
    kErrDatabasePath = 4, // the database is gone; the user has been told
};

// Shows a message for the two errors the user can act on and returns the
// action code for `error`. Cancel in the database-path message ends the
// program.
quint8 GenerateErr(const platform::RunTimeError& error);

} // namespace modGenProcedures
