#pragma once

class QWidget;

namespace modGenProcedures {

// File, Exit: closes the active card, or ends the program when none is open.
void ExitApp(QWidget* frm);

} // namespace modGenProcedures
