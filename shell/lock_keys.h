#pragma once
// The Caps Lock and Num Lock states of the keyboard, where the windowing
// system can tell them.

#include <optional>

namespace tovren {

struct LockKeys {
    bool caps = false;
    bool num = false;
};

// The states as the X server holds them; nothing on other platforms.
std::optional<LockKeys> readLockKeys();

} // namespace tovren
