#pragma once
// Filling, clearing, locking and unlocking the controls of a card window.
// They act on any window by the kind and the name of its controls: text
// boxes, data combos, data lists, rich-text boxes, plain combos and command
// buttons. A control array's members are named "<array>_<index>".

#include <QString>

#include <functional>

class QObject;
class QWidget;

namespace modGenProcedures {

// Shows the current record of the window's record object in its controls.
void AssgnValToCtrls(QWidget* frm);
// Empties every text box and data combo (but "dbcFilter") and disables every
// command button (but the "cmdDt" calendar buttons).
void ControlClear(QWidget* frm);
// Locks or unlocks every text box and data combo; command buttons follow.
void LckCtrls(QWidget* frm, bool bLock);
void EnabCmdBtns(QWidget* frm, bool bSwitch);

} // namespace modGenProcedures

namespace tovren {

// How AssgnValToCtrls fills the window named `formName`; each window that
// shows a record registers its own mapping of properties to controls.
void registerControlFiller(const QString& formName, std::function<void(QWidget&)> filler);

// The name of the control array a control belongs to ("txtFld" for
// "txtFld_3"), or its own name.
QString controlArrayName(const QObject& control);

} // namespace tovren
