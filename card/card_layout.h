#pragma once
// Where the address card's fields stand: positions in twips (15 to a
// pixel) within a client area of 11880 by 8595, in tab order.

#include <QRect>

namespace tovren {

enum class CardControl { Combo, Text, Date, CalendarButton };

struct CardField {
    CardControl kind;
    int index;             // within its control array
    const char* dataField; // the column behind the field
    const char* label;     // caption of its label
    const char* tooltip;
    int maxLength;        // 0: none
    int left, top, width; // twips
};

extern const CardField kCardFields[];
extern const int kCardFieldCount;

constexpr int kTwipsPerPixel = 15;
// A rectangle given in twips, in pixels.
inline QRect pixels(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}
constexpr int kCardWidth = 11880 / kTwipsPerPixel;
constexpr int kCardHeight = 8595 / kTwipsPerPixel;
constexpr int kFieldHeight = 360 / kTwipsPerPixel;
constexpr int kFirstColumnLeft = 1815;
constexpr int kLabelLeft = 60;

} // namespace tovren
