#pragma once
// The text-editing view of a control: whatever kind of text field it is,
// its selection, read the way the edit commands need it.

#include <optional>

class QWidget;

namespace tovren {

// The length of the control's selected text; nothing when the control has
// no text selection (a button, a calendar, a lookup combo).
std::optional<int> selectionLength(const QWidget* control);

} // namespace tovren
