#pragma once
// The card the commands act on: the main window's active child window,
// or the window a command was given.

#include <QString>

class QWidget;
class frmAddress;

namespace tovren {

// Raises run-time error 91 when no card is active.
frmAddress& activeCard();
// `frm` as a card; raises run-time error 91 when it is none.
frmAddress& cardOf(QWidget* frm);

// The card's field that has the focus (a text box or a combo), or null when
// the focus is elsewhere (a calendar button, another window).
QWidget* focusedField(const frmAddress& card);
// Whether `field` is one; when not (the focus on a calendar button), the
// person is told "Put the cursor in the field to <toDo>." under `title`.
bool requireField(const QWidget* field, const char* toDo, const char* title);
// The column behind a field of the card: a combo's is its id column.
QString dataFieldOf(const QWidget& field);

} // namespace tovren
