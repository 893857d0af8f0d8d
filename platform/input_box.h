#pragma once
// The input box: a prompt, a title and a default text, answered with a line
// of text. Shown through the prompt service, so tests answer it as any
// other modal window.

#include <QString>

namespace platform {

// The text typed, or "" when the person cancelled.
QString InputBox(const QString& prompt, const QString& title, const QString& defaultText);

} // namespace platform
