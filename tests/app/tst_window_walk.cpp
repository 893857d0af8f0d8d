// Every window, walked as a screen reader and the Tab key walk it.

#include "window_checks.h"
#include "window_table.h"

class WindowWalk : public WindowTest, public ::testing::WithParamInterface<WindowRow> {};

TEST_P(WindowWalk, EveryControlIsNamedAndTabFollowsTheLayout)
{
    int checked = 0;
    GetParam().open(*this, [&checked](QWidget& window) {
        EXPECT_EQ(testing_support::accessibilityFaults(window), QStringList())
            << window.objectName().toStdString();
        ++checked;
    });
    EXPECT_GT(checked, 0);
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowWalk, ::testing::ValuesIn(kWindows), windowName);
