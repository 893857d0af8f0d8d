// Filters and search criteria: what they match, and what they refuse.

#include "recordset_fixture.h"

#include "platform/criteria.h"
#include "platform/runtime_error.h"

#include <QDate>
#include <QElapsedTimer>
#include <QRandomGenerator>

namespace {

class Filters : public RecordsetTest {
protected:
    void SetUp() override
    {
        insert({{"Name", "\u00c9mile Zola"},
                {"City", "Paris"},
                {"SalutationId", 1},
                {"DtBirth", "1840-04-02"}});
        insert({{"Name", "emile Durkheim"}, {"City", "\u00c9pinal"}, {"SalutationId", 5}});
        insert({{"Name", "Ada Lovelace"},
                {"City", "London"},
                {"SalutationId", 2},
                {"DtBirth", "1815-12-10"}});
        insert({{"Name", "O'Hara"}, {"City", ""}, {"PhExt", "12"}});
        insert({{"Name", "\u0414\u043c\u0438\u0442\u0440\u0438\u0439"},
                {"City", "\u041c\u041e\u0421\u041a\u0412\u0410"}});
        m_rs = open();
    }
    QStringList match(const QString& filter)
    {
        m_rs->setFilter(filter);
        return names(*m_rs);
    }

    std::unique_ptr<platform::Recordset> m_rs;
};

TEST_F(Filters, TextsMatchWithoutRegardToCaseInEveryScript)
{
    EXPECT_EQ(match(QStringLiteral("NAME LIKE '\u00c9MILE*'")), QStringList{"\u00c9mile Zola"});
    EXPECT_EQ(match(QStringLiteral("name like '\u00e9mile*'")), QStringList{"\u00c9mile Zola"});
    EXPECT_EQ(match(QStringLiteral("City = '\u043c\u043e\u0441\u043a\u0432\u0430'")),
              QStringList{"\u0414\u043c\u0438\u0442\u0440\u0438\u0439"});
    EXPECT_EQ(match(QStringLiteral("Name LIKE '*LOVE*'")), QStringList{"Ada Lovelace"});
    EXPECT_EQ(match(QStringLiteral("Name LIKE 'o''hara'")), QStringList{"O'Hara"});
    EXPECT_EQ(match(QStringLiteral("Name LIKE 'ada%'")), QStringList{"Ada Lovelace"});
    EXPECT_EQ(match(QStringLiteral("[Name] = 'ADA LOVELACE'")), QStringList{"Ada Lovelace"});
}

// Texts that differ only in case are equal however the criterion compares
// them, also where a capital spells out differently: "STRAẞE" and
// "STRASSE" are "Straße", "IPEK" is "ıpek".
TEST_F(Filters, TextsEqualApartFromCaseAreEqualToEveryOperator)
{
    insertName(QStringLiteral("STRA\u1e9eE"));
    insertName(QStringLiteral("Stra\u00dfe"));
    insertName(QStringLiteral("\u0131pek"));
    m_rs = open();
    const QStringList street = {"STRA\u1e9eE", "Stra\u00dfe"};
    for (const QString value : {"strasse", "STRASSE", "Stra\u00dfe", "STRA\u1e9eE"}) {
        const QString quoted = QLatin1Char('\'') + value + QLatin1Char('\'');
        EXPECT_EQ(match("Name = " + quoted), street) << value.toStdString();
        EXPECT_EQ(match("Name LIKE " + quoted), street) << value.toStdString();
        EXPECT_EQ(match("Name <= " + quoted + " AND Name >= " + quoted), street)
            << value.toStdString();
    }
    EXPECT_EQ(match(QStringLiteral("Name LIKE 'stra\u1e9e*'")), street);
    for (const QString value : {"IPEK", "ipek", "\u0131PEK"}) {
        const QString quoted = QLatin1Char('\'') + value + QLatin1Char('\'');
        EXPECT_EQ(match("Name = " + quoted), QStringList{"\u0131pek"}) << value.toStdString();
        EXPECT_EQ(match("Name <= " + quoted + " AND Name >= " + quoted), QStringList{"\u0131pek"})
            << value.toStdString();
    }
}

TEST_F(Filters, AndOrParenthesesNullNumbersAndDates)
{
    EXPECT_EQ(match(QStringLiteral("(NAME LIKE 'A*' AND CITY = 'LONDON') OR (NAME LIKE 'O*')")),
              (QStringList{"Ada Lovelace", "O'Hara"}));
    EXPECT_EQ(match(QStringLiteral("SalutationId >= 2 and SalutationId < 5")),
              QStringList{"Ada Lovelace"});
    EXPECT_EQ(match(QStringLiteral("SalutationId = '5'")), QStringList{"emile Durkheim"});
    EXPECT_EQ(match(QStringLiteral("SalutationId = Null")).size(), 2);
    EXPECT_EQ(match(QStringLiteral("City = ''")), QStringList{"O'Hara"});
    EXPECT_EQ(match(QStringLiteral("City <> NULL AND City <> ''")).size(), 4);
    EXPECT_EQ(match(QStringLiteral("DtBirth < #1830-01-01#")), QStringList{"Ada Lovelace"});
    EXPECT_EQ(match(QStringLiteral("DtBirth = '1840-04-02'")), QStringList{"\u00c9mile Zola"});
    EXPECT_EQ(match(QStringLiteral("DtBirth LIKE '1815*'")), QStringList{"Ada Lovelace"});
    EXPECT_EQ(match(QStringLiteral("PhExt = 12")), QStringList{"O'Hara"});
    EXPECT_EQ(match(QString()).size(), 5);
    EXPECT_EQ(m_rs->filter(), QString());
}

TEST_F(Filters, SortIsStableKeepsTheRowAndPutsAccentsWithTheirLetters)
{
    m_rs->setSort(QStringLiteral("City DESC"));
    m_rs->setSort(QStringLiteral("Name asc"));
    EXPECT_EQ(names(*m_rs), (QStringList{"Ada Lovelace", "emile Durkheim", "\u00c9mile Zola",
                                         "O'Hara", "\u0414\u043c\u0438\u0442\u0440\u0438\u0439"}));
    m_rs->MoveFirst();
    m_rs->MoveNext();
    m_rs->setSort(QStringLiteral("SalutationId DESC, Name ASC"));
    EXPECT_EQ(m_rs->value(u"Name").toString(), QStringLiteral("emile Durkheim"));
    EXPECT_EQ(m_rs->AbsolutePosition(), 1);
    // Null goes first ascending, last descending; equal keys keep their order.
    m_rs->setSort(QStringLiteral("DtBirth"));
    EXPECT_EQ(names(*m_rs).mid(0, 3), (QStringList{"emile Durkheim", "O'Hara",
                                                   "\u0414\u043c\u0438\u0442\u0440\u0438\u0439"}));
    m_rs->setSort(QStringLiteral("DtBirth DESC"));
    EXPECT_EQ(names(*m_rs).first(), QStringLiteral("\u00c9mile Zola"));
    m_rs->setSort(QString());
    EXPECT_EQ(names(*m_rs).first(), QStringLiteral("\u00c9mile Zola"));
    EXPECT_RUNTIME_ERROR(m_rs->setSort(QStringLiteral("Name UP")), platform::kInvalidArgument);
    EXPECT_RUNTIME_ERROR(m_rs->setSort(QStringLiteral("Nickname")), platform::kItemNotFound);
    EXPECT_RUNTIME_ERROR(m_rs->setSort(QStringLiteral("Name,")), platform::kInvalidArgument);
}

TEST_F(Filters, MalformedFiltersSayWhatAndWhereAndChangeNothing)
{
    m_rs->setFilter(QStringLiteral("Name LIKE 'A*'"));
    const QStringList bad = {
        "Name = 'unclosed",
        "(Name = 'a'",
        "Name = 'a')",
        "Nickname = 'a'",
        "Name LIKE 'A**'",
        "Name LIKE '*A'",
        "Name LIKE 'A*B'",
        "SalutationId = 'Mr.'",
        "SalutationId LIKE 12",
        "DtBirth = 'yesterday'",
        "DtBirth = 12",
        "Name ==",
        "Name = 'a' AND",
        "AND Name = 'a'",
        "Name 'a'",
        "= 'a'",
        "Name = a",
        "Name = 'a' XOR City = 'b'",
        "Name = '\t' \x01",
        "Name > NULL",
        "Name = 'a' OR OR City = 'b'",
        "[Name = 'a'",
        "Name = 12abc",
    };
    for (const QString& filter : bad) {
        try {
            m_rs->setFilter(filter);
            ADD_FAILURE() << "accepted: " << filter.toStdString();
        } catch (const platform::RunTimeError& error) {
            EXPECT_EQ(error.number(), platform::kInvalidArgument) << filter.toStdString();
            EXPECT_TRUE(error.description().contains(QStringLiteral("at character")))
                << error.description().toStdString();
        }
        EXPECT_EQ(m_rs->filter(), QStringLiteral("Name LIKE 'A*'"));
        EXPECT_EQ(m_rs->RecordCount(), 1);
    }
    // Deep nesting and endless lists are refused, not followed.
    EXPECT_RUNTIME_ERROR(
        m_rs->setFilter(QString(5000, QLatin1Char('(')) + QStringLiteral("Name = 'a'")),
        platform::kInvalidArgument);
    QString many = QStringLiteral("Name = 'a'");
    for (int i = 0; i < 3000; ++i)
        many += QStringLiteral(" OR Name = 'a'");
    EXPECT_RUNTIME_ERROR(m_rs->setFilter(many), platform::kInvalidArgument);
    // A very long value is just a value.
    m_rs->setFilter(QStringLiteral("Name = '") + QString(100000, QLatin1Char('x'))
                    + QLatin1Char('\''));
    EXPECT_EQ(m_rs->RecordCount(), 0);
}

// Random and mutated criteria: the parser answers every one with a result
// or a run-time error, quickly, and never crashes.
TEST_F(Filters, FuzzedCriteriaNeverCrashOrHang)
{
    const QStringList seeds = {
        "NAME LIKE 'A*' OR NAME LIKE 'B*' AND CITY = 'X'",
        "(SalutationId = 3 AND DtBirth < #2000-01-01#) OR (City <> NULL)",
        "[Name] LIKE '*o''h*' AND PhExt >= -1.5e3",
    };
    const QString alphabet = QStringLiteral(
        "()[]'#*%=<> ANDORLIKENULL,.-+e0123456789NameCityPhExtSalutationId\t\x01\u00e9\u0416");
    QRandomGenerator random(20261206);
    QElapsedTimer timer;
    timer.start();
    int accepted = 0;
    for (int i = 0; i < 20000; ++i) {
        QString text = seeds[i % seeds.size()];
        const int mutations = 1 + int(random.bounded(6));
        for (int m = 0; m < mutations; ++m) {
            const int at = int(random.bounded(text.size() + 1));
            switch (random.bounded(3)) {
            case 0:
                text.insert(at, alphabet[int(random.bounded(alphabet.size()))]);
                break;
            case 1:
                text.remove(at, 1 + int(random.bounded(3)));
                break;
            default:
                text.insert(
                    at, text.mid(int(random.bounded(text.size() + 1)), int(random.bounded(12))));
                break;
            }
        }
        if (i % 5 == 0) {
            text.clear();
            for (int n = int(random.bounded(40)); n > 0; --n)
                text += alphabet[int(random.bounded(alphabet.size()))];
        }
        try {
            if (i % 2)
                m_rs->setFilter(text);
            else
                m_rs->Find(text, 0, platform::adSearchForward, QVariant(platform::adBookmarkFirst));
            ++accepted;
        } catch (const platform::RunTimeError& error) {
            ASSERT_EQ(error.number(), platform::kInvalidArgument) << text.toStdString();
        }
    }
    EXPECT_GT(accepted, 0);
    EXPECT_LT(timer.elapsed(), 30000);
}

} // namespace
