#pragma once
// Program-wide state shared by the shell, the record layer and the card.

#include "platform/profile_file.h"

#include <QString>

namespace tovren {

// Where the program keeps the person's files: one folder (the program's
// own, or the one --home or TOVREN_HOME names) or the person's own folders,
// as program_folders.h chooses them. Until they are chosen, the folder of
// the executable holds everything.
struct ProgramFolders {
    QString executable; // the folder of the running executable
    QString settings;   // Address.ini
    QString book;       // TND.dbx, and files named without a folder
    QString logs;       // Error.log and Trace.log
    // An Address.ini beside an installed program belongs to whoever put it
    // there: it is read, never written.
    bool settingsReadOnly = false;
};
const ProgramFolders& programFolders();
void setProgramFolders(const ProgramFolders& folders);
// Everything in `folder`.
void setProgramFolder(const QString& folder);

// The book's folder, and programFolder() + "/" + name.
QString programFolder();
QString programFile(const QString& name);
// The path of Address.ini.
QString settingsFile();
// Writes `key` of `section` in Address.ini, unless that file is only read;
// false when nothing was written.
bool writeSetting(const QString& section, const QString& key, const QString& value);
// The same for several keys of `section`, Address.ini replaced once.
bool writeSettings(const QString& section, const platform::ProfileEntries& entries);

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
