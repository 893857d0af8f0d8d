#pragma once
// Ending the program at once, without closing any window (the user chose to
// quit from a start-up or database question). Tests replace the ending so
// that they can see it happen.

#include <functional>

namespace platform {

[[noreturn]] void endProgram(int exitCode = 0);

// The replacement must not return (tests throw); nullptr restores the default.
void setProgramEnd(std::function<void()> end);

} // namespace platform
