#include "toolbar_table.h"

namespace tovren {

constexpr ButtonStyle N = ButtonStyle::Normal;
constexpr ButtonStyle S = ButtonStyle::Separator;

const ToolbarRow kToolbarRows[] = {
    {1, N, "New", 1, "Add New Record"},
    {2, N, "Save", 2, "Save record."},
    {3, N, "Cancel", 3, "Cancel."},
    {4, N, "Del", 4, "Delete record."},
    {5, S, "", 0, ""},
    {6, N, "Cut", 5, "Cut"},
    {7, N, "Copy", 6, "Copy"},
    {8, N, "Paste", 7, "Paste"},
    {9, S, "", 0, ""},
    {10, N, "Undo", 8, "Undo changes."},
    {11, S, "", 0, ""},
    {12, N, "Refresh", 9, "Refresh"},
    {13, S, "", 0, ""},
    {14, N, "Asc", 10, "Sort ascending."},
    {15, N, "Desc", 11, "Sort descending."},
    {16, S, "", 0, ""},
    {17, N, "Zoom", 12, "Zoom."},
    {18, S, "", 0, ""},
    {19, N, "Find", 13, "Find record."},
    {20, N, "Filter", 14, "Filter records."},
    {21, N, "AppFilter", 15, "Apply filter."},
    {22, S, "", 0, ""},
    {23, N, "First", 16, "First record."},
    {24, N, "Prev", 17, "Previous record."},
    {25, N, "", 0, ""},
    {26, N, "", 0, ""},
    {27, N, "", 0, ""},
    {28, N, "", 0, ""},
    {29, N, "", 0, ""},
    {30, N, "Next", 18, "Next record."},
    {31, N, "Last", 19, "Last record."},
    {32, S, "", 0, ""},
    {33, N, "Print", 20, "Print"},
    {34, S, "", 0, ""},
    {35, N, "Exit", 23, "Exit"},
};

const int kToolbarRowCount = int(sizeof(kToolbarRows) / sizeof(kToolbarRows[0]));

} // namespace tovren
