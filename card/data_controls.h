#pragma once
// Binding a window's hidden data controls to the address book and its
// lookup combos to them.

class QWidget;

namespace modGenProcedures {

// Every data control of `frm` gets the program's connection string and its
// own table; the combo of the same index lists that table's rows.
void SetActConn(QWidget* frm);
// Detaches the data controls' rows from the database; the combos keep them.
void SetActConnNot(QWidget* frm);

} // namespace modGenProcedures
