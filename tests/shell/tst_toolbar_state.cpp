// Which commands are available: modes, a card's saved state, the buttons'
// looks. The card's edit commands' test follows the clipboard timer.

#include "shell_fixture.h"

#include "core/toolbar_state.h"

#include <QImage>
#include <QLabel>

namespace {

using namespace modGenProcedures;

class ToolbarState : public ShellTest {
protected:
    void SetUp() override { frame(); }
    tovren::TbrButton* get(const char* key) const { return m_main->buttonByKey(key); }
};

// A mode switches its groups' buttons and menu items, and more: New stays
// for an empty book, Delete goes while adding, the filter buttons take
// their looks, and the counter tells what there is.
TEST_F(ToolbarState, ModesTakeTheirOwnStepsAfterTheirGroups)
{
    const std::tuple<tovren::Mode, const char*, const char*, const char*> rows[] = {
        // mode, of these commands, those enabled, the counter
        {tovren::Mode::NoRecs, "New mnuNew Del Next", "New mnuNew", "No Records"},
        {tovren::Mode::Normal, "New Del", "New Del", "No Records"},
        {tovren::Mode::AddNew, "New Save Del mnuDel Exit", "New Save", "No Records"},
        {tovren::Mode::Filter, "Filter AppFilter mnuAppFilter New", "Filter AppFilter mnuAppFilter",
         "No Records"},
        {tovren::Mode::Normal, "AppFilter mnuAppFilter", "", "No Records"},
        {tovren::Mode::Exit, "New Undo Exit", "Exit", " / "},
    };
    for (const auto& [mode, commands, enabled, counter] : rows) {
        SCOPED_TRACE(int(mode));
        DisNoRecBtns(mode);
        EXPECT_EQ(enabledOf(commands), enabled);
        EXPECT_EQ(m_main->lblRecCount()->text(), counter);
        // Only Filter shows its button mixed, and Apply Filter never is.
        EXPECT_EQ(get("Filter")->mixedState(), mode == tovren::Mode::Filter);
        EXPECT_FALSE(get("AppFilter")->mixedState());
    }
    EXPECT_EQ(tovren::errHandler().ErrNum(), 0);
}

TEST_F(ToolbarState, AStoredStateComesBackWithItsMenus)
{
    DisNoRecBtns(tovren::Mode::Normal);
    get("Filter")->setMixedState(true);
    get("Undo")->setValue(true);
    get("Print")->setEnabled(false);
    TbrState saved;
    LetTbrBtns(saved);

    DisNoRecBtns(tovren::Mode::Exit);
    get("Filter")->setMixedState(false);
    get("Undo")->setValue(false);
    GetTbrBtns(saved);
    TbrState again;
    LetTbrBtns(again);
    EXPECT_EQ(again, saved);
    EXPECT_EQ(enabledOf("mnuNew mnuFind mnuFindNext mnuLast mnuPrint mnuSave"),
              "mnuNew mnuFind mnuFindNext mnuLast");
    EXPECT_TRUE(get("Filter")->mixedState() && get("Undo")->value());

    // A blank button's click does nothing, nor toggles the pressed look.
    m_main->show();
    tovren::TbrButton* blank = m_main->button(26);
    blank->setValue(true);
    blank->click();
    EXPECT_TRUE(blank->value() && m_main->isVisible());
}

TEST_F(ToolbarState, MixedAndPressedLooksAreVisible)
{
    m_main->show();
    tovren::TbrButton* filter = get("Filter");
    filter->setEnabled(true);
    const QImage normal = filter->grab().toImage();
    // The share of the button, in percent, that differs from its normal look.
    const auto changed = [&](bool mixed, bool pressed) {
        filter->setMixedState(mixed);
        filter->setValue(pressed);
        const QImage look = filter->grab().toImage();
        int differing = 0;
        for (int y = 0; y < normal.height(); ++y)
            for (int x = 0; x < normal.width(); ++x)
                differing += normal.pixel(x, y) != look.pixel(x, y);
        return differing * 100 / (normal.width() * normal.height());
    };
    EXPECT_GT(changed(true, false), 20); // a person sees the dotted field at a glance
    EXPECT_GT(changed(false, true), 5);
}

} // namespace
