#include "active_control.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace tovren {
namespace {

QLineEdit* lineEditOf(const QWidget* control)
{
    if (auto* line = qobject_cast<QLineEdit*>(const_cast<QWidget*>(control)))
        return line;
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->lineEdit();
    return nullptr;
}

// A text edit's undo: on the second call after an undo it redoes, so one
// command toggles the last change as a single-level undo does.
constexpr char kUndone[] = "tovrenUndone";

} // namespace

QString singleLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (const QChar breaking : {QLatin1Char('\n'), QLatin1Char('\r'), QLatin1Char('\t')})
        text.replace(breaking, QLatin1Char(' '));
    return text;
}

QWidget* controlOf(QWidget* widget)
{
    if (widget && qobject_cast<QComboBox*>(widget->parentWidget()))
        return widget->parentWidget();
    return widget;
}

std::optional<QString> selectedText(const QWidget* control)
{
    if (const QLineEdit* line = lineEditOf(control))
        return line->selectedText();
    if (const auto* rich = qobject_cast<const QTextEdit*>(control))
        return rich->textCursor().selectedText();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(control))
        return plain->textCursor().selectedText();
    return std::nullopt;
}

std::optional<int> selectionLength(const QWidget* control)
{
    // A data combo's text part has no selection of its own to watch.
    if (qobject_cast<const QComboBox*>(control))
        return std::nullopt;
    const std::optional<QString> text = selectedText(control);
    return text ? std::optional<int>(int(text->size())) : std::nullopt;
}

bool replaceSelection(QWidget* control, const QString& text)
{
    if (QLineEdit* line = lineEditOf(control)) {
        // Breaks become blanks before the field's limit is applied.
        line->insert(singleLine(text));
        return true;
    }
    if (auto* rich = qobject_cast<QTextEdit*>(control)) {
        rich->textCursor().insertText(text);
        return true;
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        plain->textCursor().insertText(text);
        return true;
    }
    return false;
}

bool undoLastEdit(QWidget* control)
{
    QLineEdit* line = lineEditOf(control);
    if (!line)
        return false;
    if (line->property(kUndone).toBool() && line->isRedoAvailable()) {
        line->redo();
        line->setProperty(kUndone, false);
    } else {
        line->undo();
        line->setProperty(kUndone, true);
        // Typing afterwards starts a new change to undo.
        QObject::connect(
            line, &QLineEdit::textEdited, line, [line] { line->setProperty(kUndone, false); },
            Qt::SingleShotConnection);
    }
    return true;
}

} // namespace tovren
