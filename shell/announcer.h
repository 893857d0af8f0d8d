#pragma once
// Announcer: tells a screen reader what happens away from the focus (another
// record, a mode entered or left, a count). Orca passes over name changes of
// plain labels as noise, but reads a notification the moment it shows, so
// the news is an invisible notification shown anew each time.
//
// It also tells the focus again when its window gets the keyboard back from
// a menu or a dialog: the desktop reports the window active after the focus
// moved inside it, and the reader, following the window, went quiet.

#include <QWidget>

namespace tovren {

class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* frame);

    void say(const QString& text);

private:
    void tellFocus();
};

} // namespace tovren
