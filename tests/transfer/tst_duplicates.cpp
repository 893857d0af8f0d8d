// Duplicates found by each rule among a real book's rows and merged: the
// chosen values kept in one transaction, a merge refused whole when another
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

class DuplicatesTest : public BookTest {
protected:
    void SetUp() override
    {
        BookTest::SetUp();
        for (int i = 0; i < 2000; ++i) {
            m_longName += QStringLiteral("Word%1 ").arg(i);
            m_longNameReversed.prepend(QStringLiteral(" WORD%1").arg(i));
        }
    }

    void write(const std::vector<interchange::Contact>& contacts)
    {
        auto book = openBook();
        const transfer::PickLists lists = transfer::pickListsOf(*book);
        for (const interchange::Contact& made : contacts) {
            book->addresses.AddNew();
            transfer::fillRow(book->addresses, made, lists);
            book->addresses.Update();
        }
        book->addresses.UpdateBatch();
    }
    // The groups of `contacts` alone in the book, by their places in it.
    std::vector<std::vector<int>> groupsOf(const std::vector<interchange::Contact>& contacts)
    {
        execute(QStringLiteral("DELETE FROM Address"));
        write(contacts);
        return transfer::duplicateRows(openBook()->addresses);
    }
    QString m_longName, m_longNameReversed;
};

struct PairCase {
    const char* why;
    interchange::Contact a, b;
    bool grouped;
};

TEST_F(DuplicatesTest, EachRuleGroupsWhatItMustAndNothingElse)
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
        {"e-mail beyond ASCII without regard to case", contact({{Column::EmlAddr, " ÅSA@Exämple.org"}}),
         contact({{Column::EmlAddr, "åsa@exämple.ORG\t"}}), true},
        {"phone digits of another script", contact({{Column::PhCell, "९८४५० १२३४५"}}),
         contact({{Column::PhRes1, "98450-12345"}}), true},
        {"a tab and a character beyond 16 bits part words",
         contact({{Column::Name, "Asha\t𝒜 Rao"}}), contact({{Column::Name, "rao 𝒜 ASHA"}}), true},
        {"a name of marks only is no name", contact({{Column::Name, "--- ***"}}),
         contact({{Column::Name, "--- ***"}}), false},
        {"a very long name in any order", contact({{Column::Name, m_longName}}),
         contact({{Column::Name, m_longNameReversed}}), true},
        {"very long names that differ at the end", contact({{Column::Name, m_longName + "x"}}),
         contact({{Column::Name, m_longName + "y"}}), false},
    };
    for (const PairCase& c : cases) {
        EXPECT_EQ(groupsOf({c.a, c.b}).size(), c.grouped ? 1u : 0u) << c.why;
    }
}

TEST_F(DuplicatesTest, RulesCarryOverAndGroupsKeepTheBookOrder)
{
    const std::vector<std::vector<int>> expected{{0, 2, 4}, {1, 3}};
    EXPECT_EQ(groupsOf({
                  contact({{Column::Name, "Ravi Kumar"}}),
                  contact({{Column::Name, "Meera Nair"}, {Column::PhCell, "98450 12345"}}),
                  contact({{Column::Name, "kumar ravi"}, {Column::EmlAddr, "ravi@example.org"}}),
                  contact({{Column::Name, "M. Nair"}, {Column::PhOff2, "9845012345"}}),
                  contact({{Column::Name, "Someone Else"}, {Column::EmlAddr, "RAVI@example.org"}}),
              }),
              expected);
}

// Thousands of rows, their phones more keys than rows, make the table of
// keys grow; only rows that share a key meet, and a row deleted but not yet
// sent joins none.
TEST_F(DuplicatesTest, OnlyRowsThatShareAKeyMeetAmongThousands)
{
    execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
        "INSERT INTO Address (Name, EmlAddr, PhOff1, PhCell, SalutationId, ReligionId) "
        "SELECT 'Person ' || i, 'p' || i || '@example.org', 1000000 + i, 2000000 + i, 1, 1 "
        "FROM n"));
    write({contact({{Column::Name, "Someone"}, {Column::PhRes2, "200-0001"}}),
           contact({{Column::EmlAddr, "P2@example.org"}})});
    auto book = openBook();
    book->addresses.MoveLast();
    book->addresses.Delete();
    EXPECT_EQ(transfer::duplicateRows(book->addresses),
              (std::vector<std::vector<int>>{{0, 5000}}));
}

class MergeTest : public DuplicatesTest {
protected:
    void SetUp() override
    {
        DuplicatesTest::SetUp();
        write({m_kept, m_other, m_stranger});
    }

    // The book's one duplicate group, read whole.
    std::vector<transfer::BookContact> readGroup(transfer::AddressBook& book)
    {
        const auto groups = transfer::duplicateRows(book.addresses);
        EXPECT_EQ(groups.size(), 1u);
        return transfer::contactsOfRows(book.addresses, transfer::pickListsOf(book), groups.at(0));
    }
    transfer::MergeRecord merge(transfer::AddressBook& book,
                                const std::vector<transfer::BookContact>& group,
                                const transfer::MergeChoices& choices)
    {
        return transfer::writeMerge(*book.connection, book.addresses, transfer::pickListsOf(book),
                                    group, transfer::mergedContact(group, choices));
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
    merge(*book, group, choices);

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
        merge(*book, group, choices);
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
    const transfer::MergeRecord merged = merge(*book, group, transfer::defaultChoices(group));

    execute(QStringLiteral("UPDATE Address SET City = 'Delhi' WHERE Name = 'Asha Rao'"));
    const auto changed = stored();
    EXPECT_THROW(transfer::undoMerge(*openBook(), merged), platform::RunTimeError);
    EXPECT_EQ(stored().size(), changed.size());

    execute(QStringLiteral("UPDATE Address SET City = 'Pune' WHERE Name = 'Asha Rao'"));
    transfer::undoMerge(*openBook(), merged);
    auto after = stored();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0].values, original[0].values);
    EXPECT_EQ(after[1].values, original[2].values);
    EXPECT_EQ(after[2].values, original[1].values);
}

} // namespace
} // namespace transfer_tests
