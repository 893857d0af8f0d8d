#pragma once
// The texts a report gives for database failures: driver prefixes shortened,
// and the section that lists each error the connection collected.

#include "Vostrel.h"

namespace Vostrel {

// "[SQL Server]" or "[ODBC Microsoft Access Driver]" and everything before
// it become "Database Error: "; other texts come back unchanged.
QString CleanDbMessage(const QString& message);

// The "DATABASE ERROR MESSAGE(S)" section for every error in `errors`.
QString databaseErrorSection(const DbErrors& errors);

} // namespace Vostrel
