#include "active_control.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace tovren {

std::optional<int> selectionLength(const QWidget* control)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(control))
        return int(line->selectedText().size());
    if (const auto* rich = qobject_cast<const QTextEdit*>(control))
        return int(rich->textCursor().selectedText().size());
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(control))
        return int(plain->textCursor().selectedText().size());
    return std::nullopt;
}

} // namespace tovren
