#pragma once
// Context help in the program's dialogs: a control may carry the topic of
// the help page that explains it, and F1 opens the help at the topic of the
// focused control.

class QWidget;

namespace records {

void setHelpTopic(QWidget& control, int topic);
// The control's own topic, or that of the nearest parent that has one;
// 0 (the beginning of the help) when none has.
int helpTopic(const QWidget* control);
// F1 anywhere in `dialog` shows the topic of its focused control.
void installHelpKey(QWidget& dialog);

} // namespace records
