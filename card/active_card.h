#pragma once
// The card the commands act on: the main window's active child window,
// or the window a command was given.

class QWidget;
class frmAddress;

namespace tovren {

// Raises run-time error 91 when no card is active.
frmAddress& activeCard();
// `frm` as a card; raises run-time error 91 when it is none.
frmAddress& cardOf(QWidget* frm);

} // namespace tovren
