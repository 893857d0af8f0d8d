// Every window on a large desktop font and on high-resolution screens (the
// environment gives the screen, its size and its scale).

#include "window_checks.h"
#include "window_table.h"

#include <QApplication>

namespace {

struct Desktop {
    WindowRow window;
    double points; // the desktop font's size; 0 for the one it has
};

void PrintTo(const Desktop& desktop, std::ostream* out)
{
    *out << desktop.window.name;
}

std::vector<Desktop> withFont(double points)
{
    std::vector<Desktop> rows;
    for (const WindowRow& window : kWindows)
        rows.push_back({window, points});
    return rows;
}

class WindowLayout : public WindowTest, public ::testing::WithParamInterface<Desktop> {
protected:
    WindowLayout()
    {
        QFont font = m_desktopFont;
        if (GetParam().points > 0)
            font.setPointSizeF(GetParam().points);
        QApplication::setFont(font);
    }
    ~WindowLayout() override { QApplication::setFont(m_desktopFont); }

    const QFont m_desktopFont = QApplication::font();
};

TEST_P(WindowLayout, NothingIsCutOffOrOverlaps)
{
    int checked = 0;
    GetParam().window.open(*this, [&checked](QWidget& window) {
        QApplication::processEvents(); // laid out as it is shown
        EXPECT_EQ(testing_support::layoutFaults(window), QStringList())
            << window.objectName().toStdString();
        ++checked;
    });
    EXPECT_GT(checked, 0);
}

std::string desktopName(const ::testing::TestParamInfo<Desktop>& row)
{
    return row.param.window.name;
}

INSTANTIATE_TEST_SUITE_P(DesktopFont, WindowLayout, ::testing::ValuesIn(withFont(0)), desktopName);
INSTANTIATE_TEST_SUITE_P(LargeFont, WindowLayout, ::testing::ValuesIn(withFont(20)), desktopName);

} // namespace
