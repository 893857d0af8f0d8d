#pragma once
// The text-editing view of a control: whatever kind of text field it is
// (a text box, a data combo's text part, a rich-text box), its selection
// and its text, read and changed the way the edit commands need them.

#include <QString>

#include <optional>

class QWidget;

namespace tovren {

// The control that stands for `widget`: a combo for its own text part.
QWidget* controlOf(QWidget* widget);

// The selected text; nothing when the control has no text selection (a
// button, a calendar, a list).
std::optional<QString> selectedText(const QWidget* control);
std::optional<int> selectionLength(const QWidget* control);
// `text` as one line: line breaks and tabs become blanks.
QString singleLine(QString text);
// Replaces the selection (or inserts at the cursor; a text box gets the text
// as one line); false when the control takes no text.
bool replaceSelection(QWidget* control, const QString& text);
// The control's own undo of its last edit; called again, it redoes.
bool undoLastEdit(QWidget* control);

} // namespace tovren
