// Filters and search criteria: what they match, compared with SQLite over
// random rows and criteria, and what they refuse.

#include "recordset_fixture.h"

#include "random_criteria.h"

#include "data/criteria.h"
#include "platform/date_text.h"

#include <QDebug>
#include <QLocale>
#include "data/transaction.h"

#include <algorithm>

namespace {

// Random rows, and random criteria over them: the record layer finds and
// filters the same rows as SQLite does with the criteria written in SQL, and
// answers criteria gone wrong with error 3001 and nothing else.
class RandomCriteria : public RecordsetTest {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        data::Transaction transaction(m_connection);
        for (const QVariantMap& row : m_rows)
            insert(row);
        transaction.commit();
        m_rs = open();
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // The keys of the rows Find and Find-next visit from one end of the
    // recordset to the other, in the recordset's order.
    QStringList found(const QString& criterion, bool backward)
    {
        QStringList keys;
        const qint32 direction = backward ? data::adSearchBackward : data::adSearchForward;
        m_rs->Find(criterion, 0, direction,
                   backward ? data::adBookmarkLast : data::adBookmarkFirst);
        while (backward ? !m_rs->isBOF() : !m_rs->isEOF()) {
            keys.push_back(m_rs->value(u"AddressId").toString());
            m_rs->Find(criterion, 1, direction);
        }
        if (backward)
            std::reverse(keys.begin(), keys.end());
        return keys;
    }

    // The rows only one side selected, for a failure message.
    std::string difference(const QStringList& ours, const QStringList& theirs)
    {
        std::string out;
        for (const QVariantMap& row : m_rows) {
            const QString key = row.value("AddressId").toString();
            if (ours.contains(key) != theirs.contains(key))
                out += QDebug::toString(row).toStdString() + '\n';
        }
        return out;
    }

    QRandomGenerator m_random{20261206};
    std::vector<QVariantMap> m_rows = random_criteria::addresses(m_random, 240);
    random_criteria::CriteriaMaker m_maker{m_random, m_rows};
    std::unique_ptr<data::Recordset> m_rs;
    random_criteria::Sqlite m_sqlite{m_path}; // reads the rows SetUp inserts
};

TEST_F(RandomCriteria, FindAndFilterSelectTheRowsSqliteSelects)
{
    ASSERT_EQ(platform::dateFormat().toStdString(), "dd.MM.yyyy");
    constexpr int kCriteria = 3000; // half searches, half filters
    int refused = 0, mismatches = 0, someButNotAll = 0;
    for (int i = 0; i < kCriteria; ++i) {
        // Every other search runs backward, every fourth within a filter.
        const bool search = i % 2 == 0;
        const random_criteria::Criterion criterion =
            search ? m_maker.comparison() : m_maker.filter();
        const random_criteria::Criterion within =
            search && i % 8 == 0 ? m_maker.filter() : random_criteria::Criterion();
        QStringList ours;
        try {
            m_rs->setFilter(within.text);
            if (search) {
                ours = found(criterion.text, i % 4 == 2);
            } else {
                m_rs->setFilter(criterion.text);
                ours = names(*m_rs, u"AddressId");
            }
        } catch (const platform::RunTimeError& error) {
            if (++refused <= 10)
                ADD_FAILURE() << "refused: " << error.description().toStdString();
            continue;
        }
        const QString where = within.sql.isEmpty()
                                  ? criterion.sql
                                  : QStringLiteral("(%1) AND (%2)").arg(within.sql, criterion.sql);
        const QStringList theirs = m_sqlite.keys(where);
        if (ours != theirs && ++mismatches <= 10)
            ADD_FAILURE() << (search ? "search " : "filter ") << criterion.text.toStdString()
                          << " within filter " << within.text.toStdString() << "\nSQL "
                          << where.toStdString() << "\nfound " << ours.join(' ').toStdString()
                          << "\nSQLite " << theirs.join(' ').toStdString()
                          << "\nselected by one side only:\n"
                          << difference(ours, theirs);
        someButNotAll += !theirs.empty() && theirs.size() < qsizetype(m_rows.size());
    }
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(mismatches, 0);
    // Criteria that select nothing or everything would prove little.
    EXPECT_GT(someButNotAll, kCriteria / 2);
}

// Criteria gone wrong are refused with error 3001 saying where, and leave
// the filter as it was; random ones may also be taken, but nothing else.
TEST_F(RandomCriteria, MalformedCriteriaAreRefusedWith3001OrTaken)
{
    const auto expectRefused = [](const QString& criterion, const platform::RunTimeError& error) {
        EXPECT_EQ(error.number(), data::kInvalidArgument) << criterion.toStdString();
        EXPECT_TRUE(error.description().contains(QStringLiteral("at character")))
            << error.description().toStdString();
    };
    constexpr int kCriteria = 1000; // a quarter of all the criteria these tests send
    int taken = 0;
    for (int i = 0; i < kCriteria && !HasFailure(); ++i) {
        const QString text = m_maker.malformed();
        try {
            if (i % 2)
                m_rs->setFilter(text);
            else
                m_rs->Find(text, 0, data::adSearchForward, QVariant(data::adBookmarkFirst));
            ++taken;
        } catch (const platform::RunTimeError& error) {
            expectRefused(text, error);
        }
    }
    EXPECT_LT(taken, kCriteria / 2);

    m_rs->setFilter(QStringLiteral("Name LIKE 'A*'"));
    const qint32 count = m_rs->RecordCount();
    const QStringList bad =
        QString("Name = 'unclosed|(Name = 'a'|Name = 'a')|Nickname = 'a'|Name LIKE 'A**'|"
                "Name LIKE '*A'|Name LIKE 'A*B'|SalutationId = 'Mr.'|SalutationId LIKE 12|"
                "DtBirth = 'yesterday'|DtBirth = 12|Name ==|Name = 'a' AND|AND Name = 'a'|"
                "Name 'a'|= 'a'|Name = a|Name = 'a' XOR City = 'b'|Name = '\t' \x01|Name > NULL|"
                "Name = 'a' OR OR City = 'b'|[Name = 'a'|Name = 12abc")
            .split('|');
    for (const QString& filter : bad) {
        expectRefused(filter, raised([&] { m_rs->setFilter(filter); }));
        EXPECT_EQ(m_rs->filter(), QStringLiteral("Name LIKE 'A*'"));
        EXPECT_EQ(m_rs->RecordCount(), count);
    }
    // Deep nesting and endless lists are refused, not followed; a very long
    // value is just a value.
    EXPECT_RUNTIME_ERROR(m_rs->setFilter(QString(5000, '(') + "Name = 'a'"),
                         data::kInvalidArgument);
    // Closed levels are what the limit guards against: followed, 100,000 of
    // them would overflow the stack. A depth people write still works.
    const auto nested = [](int levels) -> QString {
        return QString(levels, '(') + "Name LIKE 'A*'" + QString(levels, ')');
    };
    EXPECT_RUNTIME_ERROR(m_rs->setFilter(nested(100000)), data::kInvalidArgument);
    m_rs->setFilter(nested(32));
    EXPECT_EQ(m_rs->RecordCount(), count);
    EXPECT_RUNTIME_ERROR(m_rs->setFilter("Name = 'a'" + QString(" OR Name = 'a'").repeated(3000)),
                         data::kInvalidArgument);
    m_rs->setFilter("Name = '" + QString(100000, 'x') + '\'');
    EXPECT_EQ(m_rs->RecordCount(), 0);
}

} // namespace
