#pragma once
// Every window the program can open, in one table: each row opens its window
// the way a person does (a menu item, a button, an error) on a book of a few
// contacts and hands it, shown, to a check. A new window is one more row.

#include "card/card_fixture.h"

#include <functional>
#include <vector>

class WindowTest : public CardTest {
public:
    using Check = std::function<void(QWidget&)>;

    // The card on a book whose two first contacts share a name.
    frmAddress& card();
    mdiMain& main() { return *m_main; }
    // The next modal window is shown, checked and closed.
    WindowTest& nextModal(const Check& check);
    // The modal window a menu item opens, checked.
    void modal(const char* menuItem, const Check& check);
    // A menu item chosen.
    void choose(const char* menuItem) { trigger(menuItem); }
    testing_support::ScriptedPrompts& prompts() { return m_prompts; }
    QString path(const QString& name) const { return home(name); }
};

struct WindowRow {
    const char* name;
    void (*open)(WindowTest& test, const WindowTest::Check& check);
};
extern const std::vector<WindowRow> kWindows;

inline void PrintTo(const WindowRow& row, std::ostream* out)
{
    *out << row.name;
}

// Test names of the rows, for parameterised tests.
std::string windowName(const ::testing::TestParamInfo<WindowRow>& row);
