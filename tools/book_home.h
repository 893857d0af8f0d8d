#pragma once
// The address book tovren-book works on, found as the program finds it:
// in the folder --home or TOVREN_HOME names, else the program's folders
// (core/program_folders.h), Address.ini's DatabasePath section, else TND.dbx.

#include <QString>

namespace book_tool {

// The connection string, or a message in `problem` (the folder is missing
// or could not be made).
QString bookConnectionString(const QString& home, QString& problem);

} // namespace book_tool
