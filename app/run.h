#pragma once
// The program's whole run: command line, main window, event loop, and a
// teardown in which nothing outlives what it uses.

#include <functional>

class mdiMain;

namespace tovren {

// Runs Tovren with the program's own command line and returns its exit
// code. `started`, when given, is called once the main window shows; the
// exit tests drive the real program through it.
int run(int argc, char** argv, const std::function<void(mdiMain&)>& started = {});

} // namespace tovren
