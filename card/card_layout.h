#pragma once
// Where the address card's fields stand: positions in twips (15 to a
// pixel) within a client area of 11880 by 8595, in tab order.

#include <QFont>
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
constexpr int kCardWidth = 11880;
constexpr int kCardHeight = 8595;
constexpr int kFieldHeight = 360;
constexpr int kFirstColumnLeft = 1815;
constexpr int kLabelLeft = 60;

// The card's twips in pixels. Up to the text size desktops ship with the
// card stands as drawn, 15 twips to a pixel; a larger desktop font makes
// every place, size and font grow in proportion, so that nothing is cut.
class Twips {
public:
    explicit Twips(const QFont& desktopFont);
    qreal factor() const { return m_factor; }
    int px(int twips) const { return int(twips * m_factor / kTwipsPerPixel); }
    QRect rect(int left, int top, int width, int height) const
    {
        return QRect(px(left), px(top), px(width), px(height));
    }
    // A font of the card, its size grown with the desktop's.
    QFont font(QFont font) const;

private:
    qreal m_factor;
};

} // namespace tovren
