// Sort and refresh on the real card: the order follows the focused field,
// the card keeps its record, and a refresh shows what is stored now.

#include "card_fixture.h"

#include "core/toolbar_button.h"

#include <QInputDialog>
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
    // The next input box answered with `answer` (a null string cancels);
    // what it asked is kept as "title|prompt|default".
    void answerInput(const QString& answer)
    {
        m_prompts.handleModal([this, answer](QDialog& dialog) {
            auto& box = static_cast<QInputDialog&>(dialog);
            m_asked << box.windowTitle() + '|' + box.labelText() + '|' + box.textValue();
            box.setTextValue(answer);
            answer.isNull() ? box.reject() : box.accept();
        });
    }
    QStringList m_asked;
};

TEST_F(SearchCommands, FindFirstNextAndPrevInTheFocusedField)
{
    frmAddress& card = openCard({"Ada", "Abe", "O'Hara", "Abby"});
    card.txtFld[0]->setFocus();
    answerInput("ab*");
    trigger("mnuFind");
    EXPECT_EQ(m_asked.last(), "Searching Name|Find values containing:|Ada");
    EXPECT_EQ(shown(), "Abe 2 / 4");
    trigger("mnuFindNext");
    EXPECT_EQ(shown(), "Abby 4 / 4");
    // Past the last match: told, and back where the search started.
    trigger("mnuFindNext", {Answer::OK});
    EXPECT_EQ(lastMessage(), "Search Completed.");
    EXPECT_EQ(shown(), "Abby 4 / 4");
    trigger("mnuFindPrev");
    EXPECT_EQ(shown(), "Abe 2 / 4");

    // An apostrophe is found as typed; "**" is refused and asked again.
    answerInput("o'h*");
    click("Find");
    EXPECT_EQ(shown(), "O'Hara 3 / 4");
    answerInput("a**");
    m_prompts.answerMessage(Answer::OK);
    answerInput("ada");
    trigger("mnuFind");
    EXPECT_EQ(lastMessage(), " ** is Illegal character.");
    EXPECT_EQ(shown(), "Ada 1 / 4");

    // Other kinds of field: a date written another way than the field shows
    // it, a number in the extension, a combo by its id (offered as default).
    sql("UPDATE Address SET DtBirth = CASE Name WHEN 'Abby' THEN '1990-03-28' END, "
        "PhExt = CASE Name WHEN 'Abe' THEN '12' END, "
        "SalutationId = CASE Name WHEN 'Abby' THEN 2 ELSE 1 END");
    trigger("mnuRefresh");
    const std::tuple<QWidget*, const char*, const char*> rows[] = {
        {card.txtDt[0], "28 March 1990", "Abby 4 / 4"},
        {card.txtFld[11], "12", "Abe 2 / 4"},
        {card.dbcFld[0], "2", "Abby 4 / 4"}};
    for (const auto& [field, answer, found] : rows) {
        field->setFocus();
        answerInput(answer);
        trigger("mnuFind");
        EXPECT_EQ(shown(), found) << answer;
    }
    EXPECT_EQ(m_asked.last(), "Searching Salutation|Find values containing:|1");
}

TEST_F(SearchCommands, FindAsksFirstAndTellsWhatItCannotSearch)
{
    frmAddress& card = openCard({"Ada", "Bo"});
    // Cancelled: nothing is searched, and Next has nothing to repeat.
    card.txtFld[0]->setFocus();
    answerInput(QString());
    trigger("mnuFind");
    trigger("mnuFindNext");
    EXPECT_EQ(shown(), "Ada 1 / 2");

    // A pending change is asked about first; Cancel keeps it.
    type(card.txtFld[0], "Ann");
    trigger("mnuFind", {Answer::Cancel});
    EXPECT_EQ(shown(), "Ann 1 / 2 changed");
    trigger("mnuCancel");

    // A number for a date is told plainly, naming the field, and nothing
    // moves; a calendar button has no column to search.
    trigger("mnuNext");
    card.txtDt[0]->setFocus();
    answerInput("1987");
    m_prompts.answerMessage(Answer::OK);
    trigger("mnuFind");
    EXPECT_TRUE(lastMessage().startsWith("'1987' cannot be looked for in Date of Birth: "))
        << lastMessage().toStdString();
    EXPECT_EQ(shown(), "Bo 2 / 2");
    card.cmdDt[0]->setFocus();
    trigger("mnuFind", {Answer::OK});
    EXPECT_EQ(lastMessage(), "Put the cursor in the field to search, then find again.");
}

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
