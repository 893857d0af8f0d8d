// Duplicates found by each rule and merged on a real book: the chosen
// values kept in one transaction, a merge refused whole when another
// program changed or deleted one of its rows, and a merge taken back.

#include "book_fixture.h"

#include "transfer/book_rows.h"
#include "transfer/contacts_merge.h"

#include "platform/error_numbers.h"
#include "platform/runtime_error.h"

namespace transfer_tests {
namespace {

using interchange::Column;

interchange::Contact contact(std::initializer_list<std::pair<Column, QString>> values)
{
    interchange::Contact made;
    for (const auto& [column, value] : values)
        made[column] = value;
    return made;
}

transfer::BookContact loose(interchange::Contact made)
{
    return {0, std::move(made)};
}

struct PairCase {
    const char* why;
    interchange::Contact a, b;
    bool grouped;
};

TEST(DuplicateGroups, EachRuleGroupsWhatItMustAndNothingElse)
{
    const PairCase cases[] = {
        {"e-mail without regard to case", contact({{Column::EmlAddr, "Asha@Example.org"}}),
         contact({{Column::EmlAddr, " asha@example.ORG"}}), true},
        {"different e-mail", contact({{Column::EmlAddr, "asha@example.org"}}),
         contact({{Column::EmlAddr, "asha@example.com"}}), false},
        {"phone digits across columns", contact({{Column::PhOff1, "+91 (22) 555-0101"}}),
         contact({{Column::PhCell, "9122 5550101"}}), true},
        {"different phone", contact({{Column::PhRes1, "22 555 0101"}}),
         contact({{Column::PhRes1, "22 555 0102"}}), false},
        {"a short code is no phone", contact({{Column::PhOff1, "100"}}),
         contact({{Column::PhOff1, "100"}}), false},
        {"the extension is no phone", contact({{Column::PhExt, "123456"}}),
         contact({{Column::PhExt, "123456"}}), false},
        {"name in any order, case and accents", contact({{Column::Name, "Émile  ZOLA"}}),
         contact({{Column::Name, "zola, emile"}}), true},
        {"sharp s as the card folds it", contact({{Column::Name, "Hans Straße"}}),
         contact({{Column::Name, "STRASSE hans"}}), true},
        {"right-to-left name in any order", contact({{Column::Name, "محمد علي"}}),
         contact({{Column::Name, "علي محمد"}}), true},
        {"a name that only begins alike", contact({{Column::Name, "John Smith"}}),
         contact({{Column::Name, "John Smithson"}}), false},
        {"words joined differently", contact({{Column::Name, "Anne Marie"}}),
         contact({{Column::Name, "Annemarie"}}), false},
        {"no name, no e-mail, no phone", contact({{Column::Company, "Acme"}}),
         contact({{Column::Company, "Acme"}}), false},
        {"a phone never meets a name", contact({{Column::Name, "5550101 22"}}),
         contact({{Column::PhOff1, "22 5550101"}}), false},
    };
    for (const PairCase& c : cases) {
        const auto groups = transfer::duplicateGroups({loose(c.a), loose(c.b)});
        EXPECT_EQ(groups.size(), c.grouped ? 1u : 0u) << c.why;
    }
}

TEST(DuplicateGroups, RulesCarryOverAndGroupsKeepTheBookOrder)
{
    const std::vector<transfer::BookContact> contacts{
        loose(contact({{Column::Name, "Ravi Kumar"}})),
        loose(contact({{Column::Name, "Meera Nair"}, {Column::PhCell, "98450 12345"}})),
        loose(contact({{Column::Name, "kumar ravi"}, {Column::EmlAddr, "ravi@example.org"}})),
        loose(contact({{Column::Name, "M. Nair"}, {Column::PhOff2, "9845012345"}})),
        loose(contact({{Column::Name, "Someone Else"}, {Column::EmlAddr, "RAVI@example.org"}})),
    };
    const std::vector<std::vector<int>> expected{{0, 2, 4}, {1, 3}};
    EXPECT_EQ(transfer::duplicateGroups(contacts), expected);
}

class MergeTest : public BookTest {
protected:
    void SetUp() override
    {
        BookTest::SetUp();
        auto book = openBook();
        const transfer::PickLists lists = transfer::pickListsOf(*book);
        for (const interchange::Contact& made : {m_kept, m_other, m_stranger}) {
            book->addresses.AddNew();
            transfer::fillRow(book->addresses, made, lists);
            book->addresses.Update();
        }
        book->addresses.UpdateBatch();
    }

    // The book's one duplicate group, read whole.
    std::vector<transfer::BookContact> readGroup(transfer::AddressBook& book)
    {
        const auto groups = transfer::findDuplicates(book);
        EXPECT_EQ(groups.size(), 1u);
        return groups.at(0);
    }

    std::vector<interchange::Contact> stored()
    {
        std::vector<interchange::Contact> contacts;
        auto book = openBook();
        const transfer::PickLists lists = transfer::pickListsOf(*book);
        for (book->addresses.MoveFirst(); !book->addresses.isEOF(); book->addresses.MoveNext())
            contacts.push_back(transfer::contactOfRow(book->addresses, lists));
        return contacts;
    }

    // The salutation and the city differ, the company is only the other's.
    const interchange::Contact m_kept = contact({{Column::SalutationId, "Mr."},
                                                 {Column::Name, "Asha Rao"},
                                                 {Column::City, "Pune"},
                                                 {Column::EmlAddr, "asha@example.org"}});
    const interchange::Contact m_other = contact({{Column::SalutationId, "Dr."},
                                                  {Column::Name, "rao asha"},
                                                  {Column::Company, "Acme"},
                                                  {Column::City, "Goa"},
                                                  {Column::DtBirth, "1947-08-15"}});
    const interchange::Contact m_stranger = contact({{Column::Name, "Vikram Shah"}});
};

TEST_F(MergeTest, KeepsTheChosenValuesFillsTheRestAndDeletesTheOthers)
{
    auto book = openBook();
    const auto group = readGroup(*book);
    transfer::MergeChoices choices = transfer::defaultChoices(group);
    choices[size_t(Column::SalutationId)] = 1;
    transfer::writeMerge(*book, group, transfer::mergedContact(group, choices));

    interchange::Contact expected = m_kept;
    expected[Column::SalutationId] = QStringLiteral("Dr.");
    expected[Column::Company] = QStringLiteral("Acme");
    expected[Column::DtBirth] = QStringLiteral("1947-08-15");
    const auto after = stored();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].values, expected.values);
    EXPECT_EQ(after[1].values, m_stranger.values);
}

class RefusedMergeTest : public MergeTest, public testing::WithParamInterface<const char*> {};

TEST_P(RefusedMergeTest, ARowChangedOrDeletedElsewhereRefusesTheWholeMerge)
{
    auto book = openBook();
    const auto group = readGroup(*book);
    execute(QString::fromLatin1(GetParam()));
    const auto before = stored();
    transfer::MergeChoices choices = transfer::defaultChoices(group);
    choices[size_t(Column::City)] = 1;
    try {
        transfer::writeMerge(*book, group, transfer::mergedContact(group, choices));
        ADD_FAILURE() << "merged";
    } catch (const platform::RunTimeError& error) {
        EXPECT_EQ(error.number(), platform::err::ConcurrencyViolation);
    }
    const auto after = stored();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].values, before[i].values);
}

INSTANTIATE_TEST_SUITE_P(
    Elsewhere, RefusedMergeTest,
    testing::Values("UPDATE Address SET City = 'Delhi' WHERE Name = 'rao asha'",
                    "DELETE FROM Address WHERE Name = 'rao asha'",
                    "UPDATE Address SET City = 'Delhi' WHERE Name = 'Asha Rao'"));

TEST_F(MergeTest, UndoBringsBackTheRowsUnlessTheKeptOneChangedSince)
{
    const auto original = stored();
    auto book = openBook();
    const auto group = readGroup(*book);
    const transfer::MergeRecord merge = transfer::writeMerge(
        *book, group, transfer::mergedContact(group, transfer::defaultChoices(group)));

    execute(QStringLiteral("UPDATE Address SET City = 'Delhi' WHERE Name = 'Asha Rao'"));
    const auto changed = stored();
    EXPECT_THROW(transfer::undoMerge(*openBook(), merge), platform::RunTimeError);
    EXPECT_EQ(stored().size(), changed.size());

    execute(QStringLiteral("UPDATE Address SET City = 'Pune' WHERE Name = 'Asha Rao'"));
    transfer::undoMerge(*openBook(), merge);
    auto after = stored();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].values, original[0].values);
    EXPECT_EQ(after[1].values, original[2].values);
    EXPECT_EQ(after[2].values, original[1].values);
}

} // namespace
} // namespace transfer_tests
