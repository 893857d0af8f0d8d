#pragma once
// The card the commands act on: the main window's active child window.

class frmAddress;

namespace tovren {

// Raises run-time error 91 when no card is active.
frmAddress& activeCard();

} // namespace tovren
