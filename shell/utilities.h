#pragma once
// Small services: the desktop's text editor and reading a text file for a
// message body.

#include <QString>

namespace tovren {
// Takes the [Programs] choices of Address.ini (Calculator=, TextEditor=).
void applyProgramChoices(const QString& iniPath);
} // namespace tovren

namespace modGenProcedures {

void OpenNotepad();

// The text of `sFileName`, each line ended by CR LF. A name holding a double
// quote is literal text instead: its first and last characters are dropped,
// in the result and in `sFileName`. A name without a folder is taken from
// the program folder. A missing file is reported and gives "".
QString OpenFile(QString& sFileName);

} // namespace modGenProcedures
