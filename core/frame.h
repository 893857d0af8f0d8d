#pragma once
// The main window as the card and the commands see it: its active child
// window, its menu items and toolbar buttons by command, the combos'
// pop-up menu and the record counter. The frame implements it and
// registers itself, so nothing below the frame includes it, and the frame
// knows its children only as ChildWindows.

#include "commands.h"

class QAction;
class QKeySequence;
class QMenu;
class QWidget;

namespace tovren {

class TbrButton;

class Frame {
public:
    virtual ~Frame() = default;

    // The active child window (the card), or nullptr.
    virtual QWidget* ActiveForm() const = 0;
    // Shows `child` in the frame, or brings it forward when it is shown.
    virtual void showChild(QWidget* child) = 0;

    virtual QAction* menuItem(Cmd command) const = 0; // nullptr for a button alone
    virtual TbrButton* button(Cmd command) const = 0; // nullptr for an item alone
    virtual TbrButton* button(int index) const = 0;   // 1 .. toolbar().size()
    // The pop-up menu of the lookup combos.
    virtual QMenu* popupMenu() const = 0;
    // Whether `keys` is the shortcut of an enabled menu item that does
    // something: such keys belong to the menus before any field sees them.
    virtual bool isMenuShortcut(const QKeySequence& keys) const = 0;
    virtual void setRecordCounter(const QString& text) = 0;
    // Tells a screen reader what changed away from the focus: a move to
    // another record, a mode entered or left.
    virtual void announce(const QString& text) = 0;
};

// A child window of the frame, told when it becomes the active one and
// when another takes its place.
class ChildWindow {
public:
    virtual ~ChildWindow() = default;
    virtual void Form_Activate() = 0;
    virtual void Form_Deactivate() = 0;
};

// The main window, or nullptr while there is none.
Frame* frame();
// The main window; raises run-time error 91 while there is none.
Frame& requireFrame();
void setFrame(Frame* frame);

} // namespace tovren
