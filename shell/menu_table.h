#pragma once
// The menu tree of the main window, as data: one row per menu or item, in
// the order they stand. Depth 0 rows are the menus of the bar (or, when not
// visible, a pop-up menu); depth 1 rows are their items; "-" is a separator.

namespace tovren {

struct MenuRow {
    int depth;
    const char* name;
    const char* caption;
    const char* shortcut; // in QKeySequence's portable text form
    bool enabled;
    bool visible;
};

extern const MenuRow kMenuRows[];
extern const int kMenuRowCount;

} // namespace tovren
