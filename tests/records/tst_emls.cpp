// The e-mail reader walks the card's own rows, in the card's filter and sort.

#include "records_fixture.h"

#include "records/address.h"
#include "records/emls.h"

namespace {

using EmlsTest = RecordsTest;

TEST_F(EmlsTest, WalksTheCardsFilteredSortedRows)
{
    addContacts();
    exec(QStringLiteral("INSERT INTO Address (City, EmlAddr) VALUES ('Goa', 'x@goa.in')"));
    records::Address card;
    QString filter = QStringLiteral("city = 'pune' or city = 'goa'");
    card.Filter(filter);
    card.sort(QStringLiteral("Name"), QStringLiteral("Desc"));

    records::Emls emls;
    EXPECT_EQ(emls.EmlAddr(), QString());
    emls.setRecs(card.rs);
    ASSERT_EQ(emls.RecCount(), 4);
    QStringList recipients;
    for (emls.MoveFirst(); !emls.isEOF(); emls.MoveNext()) {
        if (!emls.EmlAddr().isEmpty())
            recipients << emls.Name() + QLatin1Char(' ') + emls.EmlAddr();
    }
    EXPECT_EQ(recipients.join(u','),
              QStringLiteral("Cy cy@example.in,Ada ada@example.in, x@goa.in"));

    // A move past the end is refused and reported; the last row's values stay.
    expectErrorReport();
    emls.MoveNext();
    EXPECT_EQ(emls.Name() + emls.EmlAddr(), QStringLiteral("x@goa.in"));

    filter = QStringLiteral("name = 'bo'"); // no address at all
    card.Filter(filter);
    emls.MoveFirst();
    EXPECT_EQ(emls.Name() + emls.EmlAddr(), QStringLiteral("Bo"));
}

} // namespace
