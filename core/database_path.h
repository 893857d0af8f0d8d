#pragma once
// The question asked when the address book cannot be opened.

namespace tovren {

// "Database path not found." with OK and Cancel; true for OK.
bool askToSelectDatabase();

} // namespace tovren
