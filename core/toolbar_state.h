#pragma once
// Which commands are available: the toolbar buttons are the record of it and
// the menu items follow them. Groups switch buttons and items together,
// modes switch many groups at once, and a card window keeps its own state
// in a byte per button (0 disabled, 1 enabled, 2 mixed, 4 pressed).

#include "commands.h"

#include <QByteArray>

namespace modGenProcedures {

// A state array is indexed by button index; element 0 is unused.
using TbrState = QByteArray;

void TbrMnuBtns(tovren::Group sBtnsGrps, bool bSwitch);
void DisNoRecBtns(tovren::Mode sMode);
void LetTbrBtns(TbrState& arr);
void GetTbrBtns(TbrState& arr);

} // namespace modGenProcedures
