// Every window, walked as a screen reader and the Tab key walk it.

#include "window_checks.h"
#include "window_table.h"

#include "support/screen_reader.h"

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>

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

// Every menu command is reached by its own access key within its menu; the
// clipboard's captions stand as they always have, reached by their shortcuts.
TEST_F(WindowTest, EveryMenuCommandHasItsOwnAccessKey)
{
    card();
    const QStringList plain{"Cut", "Copy", "Paste", "Delete", "Select All"};
    QList<QMenu*> menus{main().popupMenu()};
    for (QAction* top : main().menuBar()->actions())
        menus << top->menu();
    QStringList faults;
    for (const QMenu* menu : menus) {
        QSet<QKeySequence> keys;
        for (const QAction* item : menu->actions()) {
            if (item->isSeparator() || plain.contains(item->text()))
                continue;
            const QKeySequence key = QKeySequence::mnemonic(item->text());
            if (key.isEmpty() || keys.contains(key))
                faults << menu->title() + " " + item->text();
            keys << key;
        }
    }
    EXPECT_EQ(faults, QStringList());
}

// A toolbar button is a button to a screen reader, and pressing it there
// does what a click does.
TEST_F(WindowTest, ToolbarButtonsPressAsButtons)
{
    // With a screen reader listening from the start, as on a desktop.
    const testing_support::ScreenReader listening;
    card();
    QStringList faults;
    for (int i = 1; i <= main().buttonCount(); ++i) {
        tovren::TbrButton* button = main().button(i);
        const QAccessible::Role role = QAccessible::queryAccessibleInterface(button)->role();
        if (role != (button->key().isEmpty() ? QAccessible::Separator : QAccessible::Button))
            faults << button->objectName();
    }
    EXPECT_EQ(faults, QStringList());
    QAccessibleInterface* next = QAccessible::queryAccessibleInterface(main().buttonByKey("Next"));
    next->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(main().lblRecCount()->text(), "2 / 3");
}
