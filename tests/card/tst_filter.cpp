// Filter by form on the real card: the card as a query form, the values
// typed becoming one filter, the refusals told, and every way back to all
// records on the right one.

#include "card_fixture.h"

#include "core/program.h"
#include "core/toolbar_button.h"

namespace {

using platform::Answer;

class FilterByForm : public CardTest {
protected:
    // Ada and Cy in Pune, Bo in Agra, O'Hara in Mumbai; the card on Ada.
    frmAddress& openOnCities()
    {
        frmAddress& card = openCard({"Ada", "Bo", "Cy", "O'Hara"});
        sql("UPDATE Address SET City = CASE Name WHEN 'Bo' THEN 'Agra' WHEN 'O''Hara' THEN "
            "'Mumbai' ELSE 'Pune' END, SalutationId = CASE Name WHEN 'Cy' THEN 2 ELSE 1 END");
        trigger("mnuRefresh");
        return card;
    }
    // "FA" for Filter and Apply Filter both on, "F-" for the query form.
    QString looks() const
    {
        return QString(m_main->buttonByKey("Filter")->mixedState() ? "F" : "-")
               + (m_main->buttonByKey("AppFilter")->mixedState() ? "A" : "-");
    }
    // Types the query values into Name and City and applies them.
    void apply(frmAddress& card, const QString& name, const QString& city,
               std::initializer_list<Answer> answers = {})
    {
        card.txtFld[0]->setText(name);
        card.txtFld[5]->setText(city);
        trigger("mnuAppFilter", answers);
    }
};

TEST_F(FilterByForm, BrowsesTheMatchesAndEndsOnTheRecordShown)
{
    frmAddress& card = openOnCities();
    trigger("mnuFilter");
    EXPECT_EQ(looks(), "F-");
    EXPECT_EQ(counter(), " / ");
    EXPECT_EQ(card.txtFld[0]->text(), "");
    EXPECT_EQ(enabledOf("AppFilter mnuAppFilter New Next"), "AppFilter mnuAppFilter");
    // Typing into the query form is no change of the record.
    QTest::keyClicks(card.txtFld[5], "pu");
    EXPECT_FALSE(card.bEdit());
    apply(card, "", "pu*");
    EXPECT_EQ(looks(), "FA");
    EXPECT_EQ(modGenProcedures::sPrintFilter, "City Like 'PU*'");
    EXPECT_EQ(shown(), "Ada 1 / 2");
    trigger("mnuNext");
    EXPECT_EQ(shown(), "Cy 2 / 2");
    trigger("mnuFilter");
    EXPECT_EQ(looks(), "--");
    EXPECT_EQ(shown(), "Cy 3 / 4");
    EXPECT_EQ(modGenProcedures::sPrintFilter, "");

    // Alternatives in one field, a combo's id, and Apply Filter to end it.
    trigger("mnuFilter");
    apply(card, "ad* or o'hara or *y*", "");
    EXPECT_EQ(shown(), "Ada 1 / 3");
    trigger("mnuAppFilter");
    trigger("mnuFilter");
    card.dbcFld[0]->setBoundText("2");
    trigger("mnuAppFilter");
    EXPECT_EQ(modGenProcedures::sPrintFilter, "SalutationId = 2");
    EXPECT_EQ(shown(), "Cy 1 / 1");
    trigger("mnuAppFilter");
    EXPECT_EQ(looks(), "--");
    EXPECT_EQ(shown(), "Cy 3 / 4");
    EXPECT_EQ(enabledOf("AppFilter mnuAppFilter"), "");
}

TEST_F(FilterByForm, RefusalsAndNoMatchesKeepTheQueryForm)
{
    frmAddress& card = openOnCities();
    trigger("mnuFilter");
    const std::pair<const char*, const char*> refused[] = {
        {"*", "Illegal characters are not allowed"},
        {"*pu", "If the filter string starts with '*' then it should terminate with a '*'"},
        {"p*ne", "A '*' may stand only at the end of a value, or at both ends."},
        {"o''hara", "Illegal characters are not allowed"}};
    for (const auto& [value, message] : refused) {
        apply(card, value, "", {Answer::OK});
        EXPECT_EQ(lastMessage(), message) << value;
        EXPECT_EQ(looks(), "F-") << value;
    }
    // One apostrophe is taken as typed, and stays one in the field, so the
    // same query can be applied again after finding nothing.
    for (int round = 0; round < 2; ++round) {
        apply(card, "o'hara", "agra", {Answer::OK});
        EXPECT_EQ(lastMessage(), "No data available for the selected criteria(s)");
        EXPECT_EQ(card.txtFld[0]->text(), "o'hara");
        EXPECT_EQ(looks(), "F-");
    }
    apply(card, "o'hara", "");
    EXPECT_EQ(shown(), "O'Hara 1 / 1");
    trigger("mnuFilter");

    // Leaving the query form after finding nothing returns to all records
    // on the record of before; an empty query applies to all.
    trigger("mnuFilter");
    apply(card, "nobody", "", {Answer::OK});
    trigger("mnuFilter");
    EXPECT_EQ(looks(), "--");
    EXPECT_EQ(shown(), "O'Hara 4 / 4");
    trigger("mnuFilter");
    apply(card, "", "");
    EXPECT_EQ(looks(), "FA");
    EXPECT_EQ(counter(), "1 / 4");
}

TEST_F(FilterByForm, APendingChangeIsAskedAboutFirst)
{
    frmAddress& card = openOnCities();
    type(card.txtFld[5], "Goa");
    trigger("mnuFilter", {Answer::Cancel});
    EXPECT_EQ(looks(), "--");
    EXPECT_EQ(shown(), "Ada 1 / 4 changed");
}

// Closing the card in the query form or with a filter applied leaves the
// main window in its normal look, and the card opens again on all records.
TEST_F(FilterByForm, ClosingTheCardEndsTheFilter)
{
    frmAddress* card = &openOnCities();
    for (const bool applied : {false, true}) {
        SCOPED_TRACE(applied);
        trigger("mnuFilter");
        if (applied)
            apply(*card, "", "pune");
        closeBox();
        EXPECT_EQ(looks(), "--");
        trigger("mnuAddress");
        QApplication::processEvents();
        card = frmAddress::instance();
        EXPECT_EQ(shown(), "Ada 1 / 4");
        EXPECT_EQ(enabledOf("New Next Filter AppFilter"), "New Next Filter");
    }
}

} // namespace
