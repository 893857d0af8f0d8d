// Tools, Find Duplicates on the real program: a group's values chosen from
// the keyboard and merged after the question, the card showing the result,
// a merge refused whole when another program changed a row, the merge
// taken back from the window opened again, and a group too large to
// compare at a glance shown and merged a part at a time.

#include "card/card_fixture.h"

#include "interchange/contact.h"
#include "support/screen_reader.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

using platform::Answer;

class FindDuplicates : public CardTest {
protected:
    // Asha Rao twice (the second as "rao asha", a doctor in Goa) and Vikram.
    void openOnDuplicates()
    {
        openCard({"Asha Rao", "rao asha", "Vikram"});
        sql("UPDATE Address SET City = 'Goa', SalutationId = 5 WHERE Name = 'rao asha'");
        trigger("mnuRefresh");
    }
    // The window's work, done by `act` on its table, with the heading read first.
    void inWindow(std::function<void(QDialog&, QTableWidget&)> act)
    {
        m_prompts.handleModal([this, act](QDialog& dialog) {
            m_heading = dialog.findChild<QLabel*>("lblGroup")->text();
            act(dialog, *dialog.findChild<QTableWidget*>("tblGroup"));
        });
        trigger("mnuDuplicates");
    }
    static void press(QDialog& dialog, const char* button)
    {
        dialog.findChild<QPushButton*>(button)->click();
    }
    // Checks the value of `field` in the group's contact `member`, as a
    // person does with the arrow keys and Space.
    static void choose(QTableWidget& table, int field, int member)
    {
        table.setFocus();
        table.setCurrentCell(0, 0);
        for (int row = 0; row < field; ++row)
            QTest::keyClick(&table, Qt::Key_Down);
        for (int column = 0; column < member; ++column)
            QTest::keyClick(&table, Qt::Key_Right);
        QTest::keyClick(&table, Qt::Key_Space);
    }
    QString salutations()
    {
        return sql("SELECT SalutationId FROM Address ORDER BY AddressId").join(' ');
    }
    QString m_heading;
};

constexpr int kSalutation = int(interchange::Column::SalutationId);
constexpr int kCity = int(interchange::Column::City);

TEST_F(FindDuplicates, MergesTheChosenValuesAndTakesTheMergeBack)
{
    openOnDuplicates();
    inWindow([this](QDialog& dialog, QTableWidget& table) {
        EXPECT_EQ(table.columnCount(), 2);
        choose(table, kSalutation, 1);
        choose(table, kCity, 1);
        EXPECT_EQ(table.item(kCity, 0)->checkState(), Qt::Unchecked);
        m_prompts.answerMessage(Answer::No);
        press(dialog, "cmdMerge");
        EXPECT_EQ(stored().size(), 3) << "nothing merged without a yes";
        m_prompts.answerMessage(Answer::Yes);
        testing_support::ScreenReader reader;
        press(dialog, "cmdMerge");
        EXPECT_EQ(dialog.findChild<QLabel*>("lblGroup")->text(), "No more duplicate contacts.");
        EXPECT_EQ(reader.take(), QStringList{"1 / 2, Asha Rao"}) << "the card told once";
        dialog.reject();
    });
    EXPECT_TRUE(m_heading.startsWith("&Group 1 of 1: 2 contacts.")) << m_heading.toStdString();
    EXPECT_EQ(stored(), QStringList({"Asha Rao|Asha Rao Ltd|Goa", "Vikram|Vikram Ltd|Pune"}));
    EXPECT_EQ(salutations(), "5 1");
    EXPECT_EQ(counter(), "1 / 2");

    // The window opened again, with no duplicates left, still takes it back.
    inWindow([](QDialog& dialog, QTableWidget&) {
        press(dialog, "cmdUndoMerge");
        EXPECT_FALSE(dialog.findChild<QPushButton*>("cmdUndoMerge")->isEnabled());
        dialog.reject();
    });
    EXPECT_EQ(m_heading, "No more duplicate contacts.");
    EXPECT_EQ(stored(), QStringList({"Asha Rao|Asha Rao Ltd|Pune", "Vikram|Vikram Ltd|Pune",
                                     "rao asha|rao asha Ltd|Goa"}));
    EXPECT_EQ(salutations(), "1 1 5");
    EXPECT_EQ(counter().section(" / ", 1), "3");
}

TEST_F(FindDuplicates, AContactChangedElsewhereRefusesTheMerge)
{
    openOnDuplicates();
    inWindow([this](QDialog& dialog, QTableWidget& table) {
        choose(table, kCity, 1);
        sql("UPDATE Address SET Company = 'Elsewhere' WHERE Name = 'rao asha'");
        m_prompts.answerMessage(Answer::Yes).answerMessage(Answer::OK);
        press(dialog, "cmdMerge");
        dialog.reject();
    });
    const auto told = m_prompts.messages().back();
    EXPECT_EQ(told.text, "This record was changed or deleted by someone else since it was "
                         "read.\r\nNothing was merged.");
    EXPECT_EQ(stored(), QStringList({"Asha Rao|Asha Rao Ltd|Pune", "rao asha|Elsewhere|Goa",
                                     "Vikram|Vikram Ltd|Pune"}));
}

TEST_F(FindDuplicates, ABookWithoutDuplicatesIsToldSo)
{
    openCard({"Ada", "Bela"});
    trigger("mnuDuplicates", {Answer::OK});
    EXPECT_EQ(m_prompts.messages().back().text, "No duplicate contacts were found.");
}

// With the card open the window groups the card's rows, read again first
// when another program wrote the book; with it closed, the book's.
class ALargeGroup : public FindDuplicates, public testing::WithParamInterface<bool> {};

TEST_P(ALargeGroup, ShowsItsFirstMembersSaysSoAndMergesThose)
{
    openCard(QStringList{"Asha Rao"} + QStringList(24, "rao asha") + QStringList{"Vikram"});
    sql("UPDATE Address SET City = 'Goa' WHERE AddressId = 3");
    if (!GetParam())
        closeBox();
    inWindow([this](QDialog& dialog, QTableWidget& table) {
        EXPECT_EQ(table.columnCount(), 20);
        EXPECT_EQ(table.item(kCity, 2)->text(), "Goa");
        m_prompts.answerMessage(Answer::Yes);
        press(dialog, "cmdMerge");
        EXPECT_EQ(m_prompts.messages().back().text.left(31), "Merge these 20 contacts into th");
        EXPECT_TRUE(dialog.findChild<QLabel*>("lblGroup")->text().startsWith(
            "&Group 1 of 1: 6 contacts. The first is kept"));
        EXPECT_EQ(table.columnCount(), 6);
        dialog.reject();
    });
    EXPECT_TRUE(m_heading.startsWith("&Group 1 of 1: 25 contacts. The first 20 are shown; Merge "
                                     "merges them, and the group comes back with its other 5."))
        << m_heading.toStdString();
    EXPECT_EQ(stored().size(), 7);
    EXPECT_EQ(stored().front(), "Asha Rao|Asha Rao Ltd|Pune");
}

INSTANTIATE_TEST_SUITE_P(CardOpenOrClosed, ALargeGroup, testing::Bool());

} // namespace
