#pragma once
// Program-wide state shared by the shell, the record layer and the card.

#include <QString>

namespace tovren {

// The folder that holds Address.ini, TND.dbx and the logs: the program's
// own folder unless --home or TOVREN_HOME names another.
QString programFolder();
void setProgramFolder(const QString& folder);
// programFolder() + "/" + name.
QString programFile(const QString& name);

// The connection string that every recordset of the program opens with;
// fixed by start-up.
QString connectionString();
void setConnectionString(const QString& value);

} // namespace tovren

// The program-wide variables the card and the commands share.
namespace modGenProcedures {
extern quint8 nOpenCards;    // open card windows
extern qint16 nLookUpIdx;    // pick list of the lookup commands: 0 salutation, 1 religion
extern QString sZoomText;    // text handed back by the zoom editor
extern QString sPrintFilter; // criteria of the applied filter, read by label printing
} // namespace modGenProcedures
