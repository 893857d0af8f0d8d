// Sort and refresh on the real card: the order follows the focused field,
// the card keeps its record, and a refresh shows what is stored now.

#include "card_fixture.h"

#include "core/toolbar_button.h"

#include <QPushButton>

namespace {

using platform::Answer;

class SearchCommands : public CardTest {
protected:
    // Ada in Pune, Bo in Agra, Cy in Mumbai; the card on Ada, the cursor in
    // City.
    frmAddress& openOnCities()
    {
        frmAddress& card = openCard({"Ada", "Bo", "Cy"});
        sql("UPDATE Address SET City = CASE Name WHEN 'Bo' THEN 'Agra' WHEN 'Cy' THEN 'Mumbai' "
            "ELSE 'Pune' END, SalutationId = CASE Name WHEN 'Ada' THEN 3 ELSE 1 END");
        trigger("mnuRefresh");
        card.txtFld[5]->setFocus();
        return card;
    }
    // The names in the card's order, browsed from the first; the card is
    // put back on the record it showed.
    QStringList order()
    {
        const QString before = shown();
        QStringList names;
        trigger("mnuFirst");
        for (int i = 0; i < 10 && (names.isEmpty() || names.last() != shown()); ++i) {
            names << shown();
            trigger("mnuNext");
        }
        for (QStringList::size_type i = 0; i < names.size() && shown() != before; ++i)
            trigger("mnuPrev");
        return names;
    }
    void click(const char* key) { m_main->buttonByKey(key)->click(); }
};

TEST_F(SearchCommands, SortOrdersByTheFocusedFieldBothWaysAndKeepsTheRecord)
{
    frmAddress& card = openOnCities();
    EXPECT_EQ(shown(), "Ada 1 / 3");
    trigger("mnuAsc");
    EXPECT_EQ(shown(), "Ada 3 / 3");
    EXPECT_EQ(order(), QStringList({"Bo 1 / 3", "Cy 2 / 3", "Ada 3 / 3"}));
    click("Desc");
    EXPECT_EQ(shown(), "Ada 1 / 3");
    trigger("mnuDesc");
    EXPECT_EQ(order(), QStringList({"Ada 1 / 3", "Cy 2 / 3", "Bo 3 / 3"}));
    click("Asc");
    EXPECT_EQ(shown(), "Ada 3 / 3");
    // A combo orders by its id column: Ada's salutation has the highest id.
    card.dbcFld[0]->setFocus();
    click("Desc");
    EXPECT_EQ(shown(), "Ada 1 / 3");
    EXPECT_TRUE(m_prompts.recorded().empty());
}

TEST_F(SearchCommands, SortAsksAboutAChangeAndNeedsAField)
{
    frmAddress& card = openOnCities();
    type(card.txtFld[5], "Goa");
    trigger("mnuAsc", {Answer::Cancel});
    EXPECT_EQ(lastMessage(), "Record has been changed. Do you want to save the changes?");
    EXPECT_EQ(shown(), "Ada 1 / 3 changed");
    EXPECT_EQ(card.txtFld[5]->text(), "Goa");
    trigger("mnuAsc", {Answer::Yes});
    EXPECT_EQ(shown(), "Ada 2 / 3");
    EXPECT_EQ(sql("SELECT City FROM Address WHERE Name = 'Ada'"), QStringList{"Goa"});

    // With the focus on a calendar button there is no column: the person is
    // told, and the order stays.
    card.cmdDt[0]->setFocus();
    trigger("mnuDesc", {Answer::OK});
    EXPECT_EQ(lastMessage(), "Put the cursor in the field to sort on, then sort again.");
    EXPECT_EQ(shown(), "Ada 2 / 3");
}

TEST_F(SearchCommands, RefreshShowsWhatIsStoredNow)
{
    frmAddress& card = openOnCities();
    trigger("mnuNext");
    sql("UPDATE Address SET Name = 'Bob' WHERE Name = 'Bo'");
    sql("DELETE FROM Address WHERE Name = 'Cy'");
    click("Refresh");
    EXPECT_EQ(shown(), "Bob 2 / 2");

    // Typing is dropped from the fields and the toolbar leaves its edit
    // state, but the card still knows it was changed.
    type(card.txtFld[5], "Goa");
    trigger("mnuRefresh");
    EXPECT_EQ(card.txtFld[5]->text(), "Agra");
    EXPECT_EQ(enabledOf("Save Cancel mnuSave"), "");
    EXPECT_TRUE(card.bEdit());

    // A book emptied elsewhere locks the card, as deleting its last record
    // does, and only New is left.
    sql("DELETE FROM Address");
    trigger("mnuRefresh");
    EXPECT_EQ(counter(), "No Records");
    EXPECT_EQ(card.txtFld[0]->text(), "");
    EXPECT_TRUE(!card.txtFld[0]->isEnabled() || card.txtFld[0]->isReadOnly());
    EXPECT_EQ(enabledOf("New Del Next Refresh Asc Find"), "New");
}

} // namespace
