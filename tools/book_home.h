#pragma once
// The address book tovren-book works on, found as the program finds it:
// the folder --home or TOVREN_HOME names (else the program's own), its
// Address.ini's DatabasePath section, else TND.dbx in that folder.

#include <QString>

namespace book_tool {

// The connection string, or a message in `problem` (the folder is missing).
QString bookConnectionString(const QString& home, QString& problem);

} // namespace book_tool
