#pragma once
// Filter by form: the card becomes a query form (Filter), the values typed
// into it become one filter on the records (Apply Filter), and either
// command ends the filter again. The mode is held in the mixed look of the
// Filter and Apply Filter buttons: off/off normal, on/off query form, on/on
// filter applied.

#include <QString>

class QLineEdit;
class QWidget;

namespace modGenProcedures {

// The applied filter as the record layer took it, or "" when none is
// applied, is kept in sPrintFilter (core/program.h) for the labels.

void Filter(QWidget* frm);
void AppFilter(QWidget* frm);
// Whether the text of `ctrl` may go into a filter; each refusal is told.
bool bChkStr(QLineEdit* ctrl);

} // namespace modGenProcedures
