#pragma once
// The colours of the desktops a person may choose: light, dark and high
// contrast, each given to the whole program for the life of a test.

#include <QApplication>
#include <QPalette>

#include <ostream>
#include <string>

namespace testing_support {

struct DesktopColours {
    const char* name;
    QColor window, text, tip, highlight, link;
    bool blueFields; // the card's own blue field text reads there

    // Fields and buttons take the window's colour, as dark themes have them.
    QPalette palette() const
    {
        QPalette colours(window);
        for (const auto role : {QPalette::Base, QPalette::Button, QPalette::AlternateBase})
            colours.setColor(role, window);
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                QPalette::ToolTipText, QPalette::BrightText})
            colours.setColor(role, text);
        colours.setColor(QPalette::ToolTipBase, tip);
        colours.setColor(QPalette::Highlight, highlight);
        colours.setColor(QPalette::Link, link);
        return colours;
    }
};

inline const DesktopColours kLightDesktop{"Light",
                                          QColor(239, 239, 239),
                                          Qt::black,
                                          QColor(255, 255, 220),
                                          QColor(48, 140, 198),
                                          Qt::blue,
                                          true};
inline const DesktopColours kDarkDesktop{"Dark",
                                         QColor(53, 53, 53),
                                         QColor(238, 238, 238),
                                         QColor(40, 40, 40),
                                         QColor(42, 130, 218),
                                         QColor(138, 180, 248),
                                         false};
inline const DesktopColours kHighContrastDesktop{"HighContrast", Qt::black, Qt::white, Qt::black,
                                                 Qt::yellow,     Qt::cyan,  false};

inline void PrintTo(const DesktopColours& colours, std::ostream* out)
{
    *out << colours.name;
}

// The desktop's colours for the program until destroyed.
class DesktopPalette {
public:
    explicit DesktopPalette(const DesktopColours& colours)
    {
        QApplication::setPalette(colours.palette());
    }
    ~DesktopPalette() { QApplication::setPalette(m_previous); }
    DesktopPalette(const DesktopPalette&) = delete;
    DesktopPalette& operator=(const DesktopPalette&) = delete;

private:
    const QPalette m_previous = QApplication::palette();
};

} // namespace testing_support
