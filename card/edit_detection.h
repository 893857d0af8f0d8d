#pragma once
// Whether a key begins a change of the shown record.

namespace modGenProcedures {

// False for the keys that only move or switch (Tab, Escape, arrows, Home,
// End, page keys, F-keys, lock and shift keys); true for everything else.
bool bChkKeys(int nKeyAsc);

// Called for every key typed into a card field: an editing key, unless
// Ctrl or Alt alone is held, switches the toolbar into its edit state and
// marks the active card's record as changed.
void ChkShiftKeyVals(int nKeycode, int nshift);

} // namespace modGenProcedures
