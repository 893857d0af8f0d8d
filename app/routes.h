#pragma once

class mdiMain;

namespace tovren {

// Connects every menu item and toolbar key of the main window to what it does.
void installRoutes(mdiMain& main);

} // namespace tovren
