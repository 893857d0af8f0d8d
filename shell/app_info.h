#pragma once
// Who the program is: its descriptor for error reports, its support
// address and where its help lives.

#include "errhandler/Vostrel.h"

#include <QString>

namespace tovren {

inline const QString kSupportAddress = QStringLiteral("support@belvane.example");
inline const QString kWebSite = QStringLiteral("https://www.belvane.example/tovren");

Vostrel::AppDescriptor appDescriptor();

// The help is part of the program, so it lives with the executable's shared
// files even when --home moves the address book elsewhere.
QString helpFilePath();

} // namespace tovren
