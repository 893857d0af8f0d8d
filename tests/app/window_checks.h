#pragma once
// What a person who cannot see the screen, uses no mouse or reads a large
// font would find wrong with a window, each fault one readable line naming
// the control ("txtFld_3: no name"), so a failing test says what to mend.

#include <QStringList>

class QWidget;

namespace testing_support {

// Controls a screen reader cannot name or tell the kind of, Tab stepping
// through the controls other than top to bottom, left to right, and a
// control that keeps the focus when Tab is pressed.
QStringList accessibilityFaults(QWidget& window);

// Controls cut short, lying outside their window or over a sibling, and a
// window that does not fit on its screen.
QStringList layoutFaults(QWidget& window);

// Text that does not stand out 4.5:1 from what lies behind it: a control's
// colours, the colours a document in it gives its words. Disabled controls
// may fade.
QStringList contrastFaults(QWidget& window);

} // namespace testing_support
