#pragma once
// The program-wide slot that holds Vostrel's error handler. The first use
// loads the component library from the program's private parts and creates the
// handler; it lives until the program ends.

#include "errhandler/Vostrel.h"

#include <QString>

namespace tovren {

// The handler, created on first use. When the component cannot be loaded the
// user is told why and the program ends.
Vostrel::clsErrHandler& errHandler();

// Where the component library is looked for (default: the program's private
// parts folder). Tests point it at the build's library folder.
void setComponentFolder(const QString& folder);

// Drops the handler, and with it the connection it holds; the next use
// creates a new one. The program does it at the end of its run, tests
// between their cases.
void resetErrHandler();

} // namespace tovren
