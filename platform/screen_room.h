#pragma once
// Windows that fit their screen: a laptop at 150 % or a large desktop font
// leaves less room than a window was drawn for, and a long file name or
// address can ask for more. Such a window shrinks to the screen and scrolls
// rather than lose its edges.

#include <QSize>

class QDialog;
class QLayout;
class QWidget;

namespace platform {

// `wanted`, no larger than the room the screen of `window` leaves a window
// with its frame.
QSize withinScreen(const QWidget& window, QSize wanted);

// Makes `content` the whole of `dialog`, inside an area that scrolls only
// when the dialog, as large as its screen allows, still cannot show it all;
// `below` (the dialog's buttons), when given, stays in sight under it. The
// dialog takes the size its content asks for now, as far as the screen allows.
void layOutScrolling(QDialog& dialog, QLayout* content, QWidget* below = nullptr);

} // namespace platform
