#pragma once
// Where the program's dialogs appear: in the middle of the main window.

class QWidget;

namespace records {

// Moves `dialog` into the middle of the main window, the outermost window
// above it (a dialog opened over another dialog still centres on the main
// window); a dialog without a parent goes into the middle of its screen.
void centreOverMainWindow(QWidget& dialog);

} // namespace records
