// What a screen reader hears of what changes away from the focus: a move to
// another record, a mode entered or left, a save refused.

#include "card_fixture.h"

#include "platform/qt_prompts.h"
#include "support/screen_reader.h"

#include <QMenu>
#include <QMessageBox>

namespace {

using testing_support::ScreenReader;

class Announcements : public CardTest {};

TEST_F(Announcements, MovesAndModesAreHeard)
{
    frmAddress& card = openCard({"Ada", "Bo", "Cy"});
    ScreenReader reader;
    const struct {
        std::function<void()> act;
        QStringList heard;
    } steps[] = {
        {[&] { trigger("mnuNext"); }, {"2 / 3, Bo"}},
        {[&] { trigger("mnuLast"); }, {"3 / 3, Cy"}},
        {[&] { trigger("mnuNew"); }, {"Adding a new record", "4 / 4"}},
        {[&] { trigger("mnuCancel"); }, {"Adding ended", "3 / 3, Cy"}},
        {[&] { trigger("mnuFilter"); }, {"Query by form: type values to find"}},
        {[&] { trigger("mnuFilter"); }, {"Query by form left", "3 / 3, Cy"}},
        {[&] {
             trigger("mnuFilter");
             type(card.txtFld[0], "Bo");
             trigger("mnuAppFilter");
         },
         {"Query by form: type values to find", "Filter applied", "1 / 1, Bo"}},
        {[&] { trigger("mnuAppFilter"); }, {"Filter removed, all records", "2 / 3, Bo"}},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(reader.take(), step.heard);
    }
}

// A desktop may report the frame active after the focus moved inside it (a
// menu closing as the card opens); the reader is told again where the focus is.
TEST_F(Announcements, TheFocusIsToldAgainWhenAMenuCloses)
{
    frmAddress& card = openCard({"Ada"});
    card.txtFld[0]->setFocus();
    ScreenReader reader(true);
    // The desktop gives the keyboard to the menu, then back to the frame.
    QMenu* masters = m_main->menu(QStringLiteral("mnuMstr"));
    masters->popup(m_main->mapToGlobal(QPoint(10, 10)));
    testing_support::giveKeyboardTo(masters->windowHandle());
    QTest::qWait(10);
    masters->close();
    testing_support::giveKeyboardTo(m_main->windowHandle());
    QTest::qWait(10);
    const QStringList heard = reader.take();
    ASSERT_FALSE(heard.isEmpty());
    EXPECT_EQ(heard.back(), "focus: Name");
}

// The refusal comes as an alert, and the focus goes to the field it names.
TEST_F(Announcements, RefusedSaveIsAnAlertAndFocusesItsField)
{
    frmAddress& card = openCard({"Ada"});
    type(card.txtFld[17], "not an address");
    card.txtFld[5]->setFocus();
    trigger("mnuSave", {platform::Answer::OK});
    ASSERT_EQ(m_prompts.messages().size(), 1u);
    const testing_support::RecordedPrompt refusal = m_prompts.messages().back();
    EXPECT_EQ(refusal.icon, platform::Icon::Critical);
    EXPECT_EQ(QApplication::focusWidget(), card.txtFld[17]);

    ScreenReader reader;
    const auto box = platform::messageBox(
        {refusal.title, refusal.text, refusal.buttons, refusal.icon}, m_main.get());
    box->show();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(box.get())->role(), QAccessible::AlertMessage);
    EXPECT_EQ(reader.take(), QStringList{"alert: Save: " + refusal.text});
}

} // namespace
