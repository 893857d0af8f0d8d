#pragma once
// The sheet of address labels as every document form of it lays it out:
// one borderless table of two labels a row, records filling the rows left
// to right, top to bottom. Lengths are in points.

#include <QString>

#include <functional>
#include <vector>

namespace output {

inline constexpr int kColumns = 2;
inline constexpr double kTableWidth = 444;
inline constexpr double kColumnWidth = kTableWidth / kColumns;
// Rows are at least this high and grow with a label that needs more.
inline constexpr double kRowHeight = 100;
// The word processor's own space between a cell's edge and its text.
inline constexpr double kCellPadding = 5.4;

// One label a record, its paragraphs separated by kParagraphMark.
using Labels = std::vector<QString>;
inline constexpr QChar kParagraphMark = u'\r';

inline int rowCount(const Labels& labels)
{
    return int((labels.size() + kColumns - 1) / kColumns);
}

// Told how many labels are written so far.
using Progress = std::function<void(int written)>;

} // namespace output
