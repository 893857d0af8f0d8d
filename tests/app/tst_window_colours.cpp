// Every window on a dark and on a high-contrast desktop: its text reads on
// what lies behind it wherever the desktop's colours reach.

#include "window_checks.h"
#include "window_table.h"

#include "support/desktop_colours.h"

namespace {

using testing_support::DesktopColours;
using ColouredWindow = std::tuple<WindowRow, DesktopColours>;

class WindowColours : public WindowTest, public ::testing::WithParamInterface<ColouredWindow> {
protected:
    const testing_support::DesktopPalette m_desktop{std::get<1>(GetParam())};
};

TEST_P(WindowColours, TextReadsOnItsBackground)
{
    int checked = 0;
    std::get<0>(GetParam()).open(*this, [&checked](QWidget& window) {
        EXPECT_EQ(testing_support::contrastFaults(window), QStringList())
            << window.objectName().toStdString();
        ++checked;
    });
    EXPECT_GT(checked, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, WindowColours,
    ::testing::Combine(::testing::ValuesIn(kWindows),
                       ::testing::Values(testing_support::kDarkDesktop,
                                         testing_support::kHighContrastDesktop)),
    [](const ::testing::TestParamInfo<ColouredWindow>& row) {
        return std::string(std::get<0>(row.param).name) + "_" + std::get<1>(row.param).name;
    });

} // namespace
