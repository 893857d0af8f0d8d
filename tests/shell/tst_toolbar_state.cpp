// Which commands are available: groups, modes, a card's saved state, and the
// clipboard timer on the real clipboard.

#include "shell_fixture.h"

#include "core/toolbar_button.h"
#include "core/toolbar_state.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace {

using namespace modGenProcedures;

class ToolbarState : public ShellTest {
protected:
    void SetUp() override { m_frame = &frame(); }

    bool button(const char* key) const
    {
        return m_frame->buttonByKey(QString::fromLatin1(key))->isEnabled();
    }
    bool item(const char* name) const
    {
        return m_frame->menuItem(QString::fromLatin1(name))->isEnabled();
    }
    tovren::TbrButton* get(const char* key) const
    {
        return m_frame->buttonByKey(QString::fromLatin1(key));
    }

    // A stand-in card window with a text field and a lookup combo.
    QLineEdit* openCard()
    {
        auto* card = new QWidget;
        auto* layout = new QVBoxLayout(card);
        auto* field = new QLineEdit(QStringLiteral("Ada Lovelace"), card);
        auto* combo = new QComboBox(card);
        combo->setObjectName(QStringLiteral("combo"));
        layout->addWidget(field);
        layout->addWidget(combo);
        m_frame->show();
        m_frame->mdiArea()->addSubWindow(card)->show();
        field->setFocus();
        nOpenCards = 1;
        return field;
    }

    mdiMain* m_frame = nullptr;
};

TEST_F(ToolbarState, GroupsSwitchButtonsAndMenusTogether)
{
    TbrMnuBtns(tovren::Group::Find, true);
    EXPECT_TRUE(button("Find"));
    EXPECT_TRUE(item("mnuFind") && item("mnuFindPrev") && item("mnuFindNext"));
    TbrMnuBtns(tovren::Group::Edit, false);
    EXPECT_FALSE(button("New") || button("Save") || button("Cancel") || button("Del"));
    EXPECT_FALSE(item("mnuNew") || item("mnuSave") || item("mnuCancel") || item("mnuDel"));
}

TEST_F(ToolbarState, ModesSetTheirGroupsAndExtraSteps)
{
    DisNoRecBtns(tovren::Mode::Normal);
    EXPECT_TRUE(button("New") && button("Refresh") && button("Asc") && button("Find")
                && button("First"));
    EXPECT_FALSE(button("Save") || button("AppFilter") || item("mnuSave") || item("mnuAppFilter"));

    DisNoRecBtns(tovren::Mode::NoRecs);
    EXPECT_TRUE(button("New") && item("mnuNew"));
    EXPECT_FALSE(button("Del") || button("Find") || button("Next") || button("Print"));
    EXPECT_TRUE(button("Undo") && button("Zoom") && button("Exit"));
    EXPECT_EQ(m_frame->lblRecCount()->text(), QStringLiteral("No Records"));

    DisNoRecBtns(tovren::Mode::Normal);
    DisNoRecBtns(tovren::Mode::AddNew);
    EXPECT_TRUE(button("New") && button("Save") && button("Cancel"));
    EXPECT_FALSE(button("Del") || item("mnuDel") || button("Exit") || item("mnuExit"));

    DisNoRecBtns(tovren::Mode::Filter);
    EXPECT_TRUE(get("Filter")->mixedState());
    EXPECT_TRUE(button("Filter") && button("AppFilter") && item("mnuAppFilter"));
    EXPECT_FALSE(button("New") || button("Next"));

    DisNoRecBtns(tovren::Mode::Normal);
    EXPECT_FALSE(get("Filter")->mixedState());
    EXPECT_FALSE(button("AppFilter") || item("mnuAppFilter") || get("AppFilter")->mixedState());

    DisNoRecBtns(tovren::Mode::NoScroll);
    EXPECT_FALSE(button("First") || item("mnuLast"));
    EXPECT_TRUE(button("Find"));

    DisNoRecBtns(tovren::Mode::Exit);
    EXPECT_FALSE(button("New") || button("Undo") || button("Zoom") || button("Print"));
    EXPECT_TRUE(button("Exit"));
    EXPECT_EQ(m_frame->lblRecCount()->text(), QStringLiteral(" / "));
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
    ASSERT_EQ(saved.size(), 36);
    EXPECT_EQ(saved[m_frame->buttonByKey(QStringLiteral("Filter"))->index()], 2);
    EXPECT_EQ(saved[m_frame->buttonByKey(QStringLiteral("Undo"))->index()], 4);
    EXPECT_EQ(saved[m_frame->buttonByKey(QStringLiteral("Print"))->index()], 0);
    EXPECT_EQ(saved[m_frame->buttonByKey(QStringLiteral("New"))->index()], 1);

    DisNoRecBtns(tovren::Mode::Exit);
    get("Filter")->setMixedState(false);
    get("Undo")->setValue(false);
    GetTbrBtns(saved);

    TbrState again;
    LetTbrBtns(again);
    EXPECT_EQ(again, saved);
    EXPECT_TRUE(item("mnuNew") && item("mnuFind") && item("mnuFindNext") && item("mnuLast"));
    EXPECT_FALSE(item("mnuPrint") || item("mnuSave"));
    EXPECT_TRUE(get("Filter")->mixedState());
    EXPECT_TRUE(get("Undo")->value());

    // A click never toggles the pressed look by itself.
    tovren::TbrButton* blank = m_frame->button(26);
    blank->setValue(true);
    blank->click();
    EXPECT_TRUE(blank->value());
}

TEST_F(ToolbarState, MixedAndPressedLooksAreVisible)
{
    m_frame->show();
    tovren::TbrButton* filter = get("Filter");
    filter->setEnabled(true);
    const QImage normal = filter->grab().toImage();
    filter->setMixedState(true);
    const QImage mixed = filter->grab().toImage();
    filter->setMixedState(false);
    filter->setValue(true);
    const QImage pressed = filter->grab().toImage();
    ASSERT_EQ(normal.size(), mixed.size());
    const auto changed = [&normal](const QImage& other) {
        int differing = 0;
        for (int y = 0; y < normal.height(); ++y)
            for (int x = 0; x < normal.width(); ++x)
                differing += normal.pixel(x, y) != other.pixel(x, y);
        return differing * 100 / (normal.width() * normal.height());
    };
    EXPECT_GT(changed(mixed), 20); // a person sees the dotted field at a glance
    EXPECT_GT(changed(pressed), 5);
}

TEST_F(ToolbarState, TimerFollowsTheClipboardAndTheSelection)
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText(QStringLiteral("something"));
    m_frame->tmrTbr_Timer();
    EXPECT_FALSE(button("Cut") || button("Copy") || button("Paste"));
    EXPECT_FALSE(item("mnuCut") || item("mnuEditCopy") || item("mnuPaste") || item("mnuEditPaste"));

    QLineEdit* field = openCard();
    clipboard->clear();
    m_frame->tmrTbr_Timer();
    EXPECT_FALSE(button("Paste"));
    EXPECT_FALSE(button("Cut") || button("Copy"));

    clipboard->setText(QStringLiteral("to paste"));
    field->setSelection(0, 3);
    m_frame->tmrTbr_Timer();
    EXPECT_TRUE(button("Paste") && item("mnuPaste") && item("mnuEditPaste"));
    EXPECT_TRUE(button("Cut") && button("Copy") && item("mnuCut") && item("mnuEditCut")
                && item("mnuCopy"));

    field->deselect();
    clipboard->clear();
    m_frame->tmrTbr_Timer();
    EXPECT_FALSE(button("Cut") || item("mnuEditCopy"));
    EXPECT_TRUE(button("Paste")); // an open card never loses Paste to the timer

    // A combo has no text selection: Cut and Copy stay as they were.
    field->setSelection(0, 2);
    m_frame->tmrTbr_Timer();
    m_frame->ActiveForm()->findChild<QComboBox*>(QStringLiteral("combo"))->setFocus();
    field->deselect();
    m_frame->tmrTbr_Timer();
    EXPECT_TRUE(button("Cut") && button("Copy"));

    nOpenCards = 0;
    m_frame->tmrTbr_Timer();
    EXPECT_FALSE(button("Cut") || button("Copy") || button("Paste") || item("mnuEditPaste"));
}

} // namespace
