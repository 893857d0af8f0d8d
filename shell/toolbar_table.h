#pragma once
// The 35 buttons of the main toolbar, as data, by index from 1.

namespace tovren {

enum class ButtonStyle { Normal, Separator };

struct ToolbarRow {
    int index;
    ButtonStyle style;
    const char* key; // "" for separators and the blank buttons
    int image;       // 0 for none
    const char* tooltip;
};

extern const ToolbarRow kToolbarRows[];
extern const int kToolbarRowCount;

} // namespace tovren
