#pragma once
// The Edit menu, the clipboard buttons and the lookup combos' pop-up menu:
// they act on the focused field of the active card.

class QWidget;

namespace modGenProcedures {

// Maintain the pick list of the combo nLookUpIdx: EditAdd opens the list
// with a new entry begun, EditEdit for browsing; afterwards the combo lists
// the entries as stored.
void EditAdd(QWidget* frm);
void EditEdit(QWidget* frm);

void EditSelAll();
void Undo();
void EditDel();
void Cut();
void Copy();
void Paste();

} // namespace modGenProcedures
