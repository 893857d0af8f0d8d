#pragma once
// The key codes the card's edit detection reasons in: the classic virtual
// key codes (Tab 9, Escape 27, F1 112, ...) and shift masks (Shift 1,
// Ctrl 2, Alt 4). Qt's keys are mapped to them here and nowhere else.

#include <Qt>

class QKeyEvent;

namespace tovren {

// The virtual key code of a Qt key; 0 for keys without one.
int virtualKeyCode(int qtKey);
// Shift 1, Ctrl 2, Alt 4, added up.
int shiftMask(Qt::KeyboardModifiers modifiers);
// The character code a key press types (Ctrl+C types 3); 0 when it types none.
int keyAscii(const QKeyEvent& event);

} // namespace tovren
