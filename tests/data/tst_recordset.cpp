// The disconnected recordset: positions, bookmarks, editing and sending the
// pending rows, on real address books; reading and saving on each backend.

#include "recordset_fixture.h"

#include "data/criteria.h"
#include "data/transaction.h"
#include "platform/error_numbers.h"

#include <QDate>
#include <QFile>

namespace {

using data::Recordset;
namespace err = platform::err;

class RecordsetPositions : public RecordsetTest {};
class RecordsetEditing : public RecordsetTest {};
class RecordsetReading : public BackendTest {};
class RecordsetSaving : public BackendTest {};
INSTANTIATE_TEST_SUITE_P(Backends, RecordsetReading, bothBackends(), backendName);
INSTANTIATE_TEST_SUITE_P(Backends, RecordsetSaving, bothBackends(), backendName);

TEST_F(RecordsetPositions, NoneOneAndManyRowsWalkToTheEdges)
{
    auto rs = open();
    EXPECT_TRUE(rs->isBOF() && rs->isEOF());
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_EQ(rs->AbsolutePosition(), data::adPosUnknown);
    for (const auto move : {&Recordset::MoveFirst, &Recordset::MoveNext, &Recordset::MovePrevious})
        EXPECT_RUNTIME_ERROR(((*rs).*move)(), data::kNoCurrentRecord);
    EXPECT_RUNTIME_ERROR(rs->value(u"Name"), data::kNoCurrentRecord);
    EXPECT_RUNTIME_ERROR(rs->bookmark(), data::kNoCurrentRecord);
    EXPECT_FALSE(rs->isConnected());

    insertNames({"Only"});
    rs = open();
    EXPECT_FALSE(rs->isBOF() || rs->isEOF());
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    rs->MoveNext();
    EXPECT_TRUE(rs->isEOF() && !rs->isBOF());
    EXPECT_EQ(rs->AbsolutePosition(), data::adPosEOF);
    EXPECT_RUNTIME_ERROR(rs->MoveNext(), data::kNoCurrentRecord);
    rs->MovePrevious();
    EXPECT_EQ(rs->value(u"NAME").toString(), QStringLiteral("Only"));
    rs->MovePrevious();
    EXPECT_TRUE(rs->isBOF());
    EXPECT_EQ(rs->AbsolutePosition(), data::adPosBOF);

    insertNames({"B", "C", "D"});
    rs = open();
    EXPECT_EQ(rs->RecordCount(), 4);
    rs->MoveLast();
    EXPECT_EQ(rs->AbsolutePosition(), 4);
    EXPECT_EQ(rs->value(u"name").toString(), QStringLiteral("D"));
    rs->MovePrevious();
    EXPECT_EQ(rs->AbsolutePosition(), 3);
    EXPECT_EQ(names(*rs), (QStringList{"Only", "B", "C", "D"}));
    EXPECT_RUNTIME_ERROR(rs->value(u"Nickname"), data::kItemNotFound);
}

TEST_P(RecordsetReading, ValuesAreTypedAndNullIsNotEmpty)
{
    insert({{"Name", "Ada"}, {"Company", ""}, {"SalutationId", 3}, {"DtBirth", "1815-12-10"}});
    auto rs = open();
    EXPECT_EQ(rs->value(u"SalutationId"), QVariant(qint64(3)));
    EXPECT_EQ(rs->value(u"DtBirth"), QVariant(QDate(1815, 12, 10)));
    EXPECT_EQ(rs->value(u"Company"), QVariant(QString("")));
    EXPECT_FALSE(rs->value(u"City").isValid() || rs->value(u"ReligionId").isValid());
    EXPECT_EQ(rs->fieldType(u"SalutationId"), data::adType::Integer);
    EXPECT_EQ(rs->fieldType(u"DtBirth"), data::adType::Date);
    EXPECT_EQ(rs->fieldType(u"Name"), data::adType::VarWChar);
    EXPECT_EQ(rs->field(rs->fieldIndex(u"Name")).definedSize, 40);
}

TEST_F(RecordsetPositions, BookmarksSurviveFilterSortAndRequery)
{
    insertNames({"Delta", "alpha", "Charlie", "bravo"});
    auto rs = open();
    rs->MoveLast();
    rs->MovePrevious(); // Charlie
    const QVariant charlie = rs->bookmark();

    rs->setSort(QStringLiteral("Name asc"));
    EXPECT_EQ(current(*rs), "Charlie"); // the current row stays
    EXPECT_EQ(rs->AbsolutePosition(), 3);
    rs->MoveFirst();
    rs->setBookmark(charlie);
    EXPECT_EQ(rs->AbsolutePosition(), 3);

    rs->setFilter(QStringLiteral("Name LIKE 'C*' OR Name LIKE 'D*'"));
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    rs->setBookmark(charlie);
    EXPECT_EQ(current(*rs), "Charlie");

    connected(*rs, &Recordset::Requery);
    EXPECT_EQ(rs->RecordCount(), 2); // filter and sort apply to the rows read again
    rs->setBookmark(charlie);
    EXPECT_EQ(current(*rs), "Charlie");

    // A row filtered out, another recordset's value or a non-bookmark: the
    // position stays where it was.
    rs->MoveLast();
    const QVariant delta = rs->bookmark();
    rs->setFilter(QStringLiteral("Name = 'ALPHA'"));
    for (const QVariant& bad :
         {delta, QVariant::fromValue(data::Bookmark{999999}), QVariant(3), QVariant()})
        EXPECT_RUNTIME_ERROR(rs->setBookmark(bad), err::BadBookmark);
    EXPECT_EQ(current(*rs), "alpha");
}

// Integers sort by value, negatives first, over the whole 64-bit range; Null
// is below every number: first ascending, last descending. Equal keys keep
// their order either way, and a new row without a value counts as Null.
TEST_F(RecordsetPositions, NumbersSortBySignWithNullsAtOneEnd)
{
    // Each row is named after the number it holds, "null" for none.
    for (const QString name :
         {"7", "null", "-3", "0", "-3 again", "12345", "null again", "-100", "2", "0 again",
          "-9223372036854775807", "9223372036854775807", "-2147483649", "3"}) {
        const QString number = name.section(QLatin1Char(' '), 0, 0);
        insert({{"Name", name},
                {"SalutationId", number == "null" ? QVariant() : QVariant(number.toLongLong())}});
    }
    auto rs = open();
    rs->AddNew();
    rs->setValue(u"Name", QStringLiteral("new, null"));
    rs->Update();

    rs->setSort(QStringLiteral("SalutationId"));
    EXPECT_EQ(names(*rs), (QStringList{"null", "null again", "new, null", "-9223372036854775807",
                                       "-2147483649", "-100", "-3", "-3 again", "0", "0 again", "2",
                                       "3", "7", "12345", "9223372036854775807"}));
    rs->setSort(QStringLiteral("SalutationId DESC"));
    EXPECT_EQ(names(*rs), (QStringList{"9223372036854775807", "12345", "7", "3", "2", "0",
                                       "0 again", "-3", "-3 again", "-100", "-2147483649",
                                       "-9223372036854775807", "null", "null again", "new, null"}));
}

// Texts, several keys, and the current row; Null placement is the test above.
TEST_F(RecordsetPositions, SortIsStableKeepsTheRowAndPutsAccentsWithTheirLetters)
{
    const QString zola = "\u00c9mile Zola", durkheim = "emile Durkheim", ada = "Ada Lovelace",
                  hara = "O'Hara", dmitri = "\u0414\u043c\u0438\u0442\u0440\u0438\u0439";
    insert({{"Name", zola}, {"City", "Paris"}, {"SalutationId", 1}, {"DtBirth", "1840-04-02"}});
    insert({{"Name", durkheim}, {"City", "\u00c9pinal"}, {"SalutationId", 5}});
    insert({{"Name", ada}, {"City", "London"}, {"SalutationId", 2}, {"DtBirth", "1815-12-10"}});
    insert({{"Name", hara}, {"City", ""}});
    insert({{"Name", dmitri}, {"City", "\u041c\u041e\u0421\u041a\u0412\u0410"}});
    auto rs = open();
    rs->setSort(QStringLiteral("City DESC"));
    rs->setSort(QStringLiteral("Name asc"));
    EXPECT_EQ(names(*rs), (QStringList{ada, durkheim, zola, hara, dmitri}));
    rs->MoveFirst();
    rs->MoveNext();
    rs->setSort(QStringLiteral("SalutationId DESC, Name ASC"));
    EXPECT_EQ(current(*rs), durkheim);
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    rs->setSort(QStringLiteral("DtBirth DESC"));
    EXPECT_EQ(names(*rs), (QStringList{zola, ada, durkheim, hara, dmitri}));
    rs->setSort(QString());
    EXPECT_EQ(names(*rs), (QStringList{zola, durkheim, ada, hara, dmitri}));
    EXPECT_RUNTIME_ERROR(rs->setSort(QStringLiteral("Name UP")), data::kInvalidArgument);
    EXPECT_RUNTIME_ERROR(rs->setSort(QStringLiteral("Nickname")), data::kItemNotFound);
    EXPECT_RUNTIME_ERROR(rs->setSort(QStringLiteral("Name,")), data::kInvalidArgument);
}

// Texts that share a long start, and differ only in letter case or after
// it, are ordered by what follows; Null comes first.
TEST_F(RecordsetPositions, TextsSharingALongStartSortByWhatFollows)
{
    // The sort reads what every value shares ("Company "), then the next
    // sixteen characters at once; the branches differ only after those.
    const QStringList stored = {"Company 10 Pvt Lzd",   "company 10 pvt ltd a",
                                "Company 10 Pvt Ltd",   "Company 9",
                                "COMPANY 10 PVT LTD A", "Company 10 Pvt Ltd Branch Pune",
                                "Company 10 Pvt Lad",   "Company 10 Pvt Ltd Branch Goa"};
    for (const QString& company : stored)
        insert({{"Name", company}, {"Company", company}});
    insert({{"Name", "none"}});
    auto rs = open();
    rs->setSort(QStringLiteral("Company"));
    EXPECT_EQ(names(*rs), (QStringList{"none", "Company 10 Pvt Lad", "Company 10 Pvt Ltd",
                                       "company 10 pvt ltd a", "COMPANY 10 PVT LTD A",
                                       "Company 10 Pvt Ltd Branch Goa",
                                       "Company 10 Pvt Ltd Branch Pune", "Company 10 Pvt Lzd",
                                       "Company 9"}));
    rs->setSort(QStringLiteral("Company DESC"));
    EXPECT_EQ(names(*rs).first(), QStringLiteral("Company 9"));
    EXPECT_EQ(names(*rs).last(), QStringLiteral("none"));
}

// Find-next from end to end, both ways, is compared with SQLite in
// tst_criteria.cpp; here a search starts elsewhere than at an end.
TEST_F(RecordsetPositions, FindStartsAtTheCurrentRowOrTheBookmarkGiven)
{
    insertNames({"Ann", "Bob", "Anna", "Cid", "Andy"});
    auto rs = open();
    rs->MoveLast();
    rs->Find(QStringLiteral("Name = 'ann'"), 0, data::adSearchBackward);
    EXPECT_EQ(current(*rs), "Ann");
    rs->Find(QStringLiteral("Name = 'ann'"), 0, data::adSearchBackward); // the current row counts
    EXPECT_EQ(current(*rs), "Ann");
    rs->Find(QStringLiteral("Name = 'ann'"), 1, data::adSearchBackward);
    EXPECT_TRUE(rs->isBOF());
    rs->MoveFirst();
    rs->MoveNext();
    rs->Find(QStringLiteral("Name LIKE '*n*'"), 0, data::adSearchForward, rs->bookmark()); // Bob
    EXPECT_EQ(current(*rs), "Anna");

    // A search holds one comparison; a bad one changes nothing.
    EXPECT_RUNTIME_ERROR(rs->Find(QStringLiteral("Name = 'a' AND City = 'b'")),
                         data::kInvalidArgument);
    EXPECT_RUNTIME_ERROR(rs->Find(QStringLiteral("Nickname = 'a'")), data::kInvalidArgument);
    EXPECT_EQ(current(*rs), "Anna");
}

TEST_P(RecordsetSaving, NewChangedAndDeletedRowsGoInOneBatch)
{
    const QString irish = "O'Brien \u00c9lo\u00efse \u0395\u03bb\u03ad\u03bd\u03b7 \u674e";
    const qint64 keep = insertNames({"Keep"});
    insertNames({"Change", "Remove"});
    auto rs = open();

    rs->MoveNext();
    rs->setValue(u"Name", QStringLiteral("Changed"));
    rs->setValue(u"DtBirth", QStringLiteral("2001-02-03"));
    rs->Update();
    rs->MoveNext();
    rs->Delete();
    rs->MovePrevious();
    EXPECT_EQ(current(*rs), "Changed");
    rs->AddNew();
    const QVariant newRow = rs->bookmark();
    rs->setValue(u"Name", irish);
    rs->setValue(u"EmlAddr", QStringLiteral("o@example.in"));
    rs->setValue(u"SalutationId", 2);
    rs->Update();
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_TRUE(rs->hasPendingChanges());
    // Nothing reaches the file before the batch is sent.
    EXPECT_EQ(stored(), "Keep|Change|Remove");

    connected(*rs, &Recordset::UpdateBatch);
    EXPECT_FALSE(rs->hasPendingChanges());
    EXPECT_EQ(stored({"Name", "DtBirth", "EmlAddr"}),
              "Keep/-/-|Changed/2001-02-03/-|" + irish + "/-/o@example.in");

    // The new row got its key and still answers to its bookmark, also when
    // sent again after a change and when read again.
    rs->setBookmark(newRow);
    EXPECT_GT(rs->value(u"AddressId").toLongLong(), keep);
    rs->setValue(u"City", QStringLiteral("Pune"));
    connected(*rs, &Recordset::UpdateBatch);
    EXPECT_EQ(stored({"City"}), "-|-|Pune");
    connected(*rs, &Recordset::Requery);
    rs->setBookmark(newRow);
    EXPECT_EQ(rs->value(u"City").toString(), QStringLiteral("Pune"));
    EXPECT_EQ(rs->value(u"Name").toString(), irish);
}

TEST_F(RecordsetEditing, CancellingTakesBackEditsAndNewRows)
{
    insertNames({"First", "Second"});
    auto rs = open();
    rs->MoveLast();
    rs->AddNew();
    rs->setValue(u"Name", QStringLiteral("Draft"));
    rs->CancelUpdate();
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(current(*rs), "Second"); // back where it was

    rs->setValue(u"Name", QStringLiteral("Typo"));
    rs->CancelUpdate();
    EXPECT_EQ(current(*rs), "Second");
    EXPECT_FALSE(rs->hasPendingChanges());

    rs->setValue(u"Name", QStringLiteral("Edited"));
    rs->MoveFirst(); // moving off completes the edit
    rs->Delete();
    rs->MoveNext();
    rs->AddNew();
    rs->setValue(u"Name", QStringLiteral("Added"));
    rs->Update();
    EXPECT_TRUE(rs->hasPendingChanges());
    rs->CancelBatch();
    EXPECT_FALSE(rs->hasPendingChanges());
    EXPECT_EQ(names(*rs), (QStringList{"First", "Second"}));

    // A type the column cannot hold changes nothing.
    rs->MoveFirst();
    EXPECT_RUNTIME_ERROR(rs->setValue(u"DtBirth", QStringLiteral("31/02/2020")), err::TypeMismatch);
    EXPECT_RUNTIME_ERROR(rs->setValue(u"SalutationId", QStringLiteral("Mr.")), err::TypeMismatch);
    EXPECT_FALSE(rs->value(u"DtBirth").isValid());
}

TEST_P(RecordsetSaving, DeletingKeepsTheNeighboursInReach)
{
    insertNames({"A", "B", "C"});
    auto rs = open();
    rs->MoveNext();
    rs->Delete();
    EXPECT_FALSE(rs->isBOF() || rs->isEOF());
    EXPECT_RUNTIME_ERROR(rs->value(u"Name"), data::kNoCurrentRecord);
    rs->MovePrevious();
    EXPECT_EQ(current(*rs), "A");
    rs->MoveFirst();
    rs->Delete();
    rs->MoveNext();
    EXPECT_EQ(current(*rs), "C");
    rs->Delete();
    EXPECT_TRUE(rs->isBOF() && rs->isEOF());
    connected(*rs, &Recordset::UpdateBatch);
    EXPECT_EQ(stored(), "");
}

TEST_P(RecordsetSaving, AChangeMadeElsewhereStopsTheWholeBatch)
{
    const qint64 theirs = insertNames({"Mine", "Theirs"});
    auto rs = open();
    rs->setValue(u"Name", QStringLiteral("Mine, edited"));
    rs->MoveNext();
    rs->setValue(u"Name", QStringLiteral("Theirs, edited"));
    rs->Update();

    exec(QString(R"(UPDATE "Address" SET "Name" = 'Changed elsewhere' WHERE "AddressId" = %1)")
             .arg(theirs));
    rs->setActiveConnection(connectionString());
    EXPECT_RUNTIME_ERROR(rs->UpdateBatch(), err::ConcurrencyViolation);
    // Nothing was half-written, and nothing typed was lost.
    EXPECT_EQ(stored(), "Mine|Changed elsewhere");
    EXPECT_TRUE(rs->hasPendingChanges());
    EXPECT_EQ(current(*rs), "Theirs, edited");

    // A row deleted elsewhere cannot be deleted here either.
    exec(QString(R"(DELETE FROM "Address" WHERE "AddressId" = %1)").arg(theirs));
    rs->CancelBatch();
    rs->MoveLast();
    rs->Delete();
    EXPECT_RUNTIME_ERROR(rs->UpdateBatch(), err::ConcurrencyViolation);

    // A change elsewhere to another column does not stand in the way.
    connected(*rs, &Recordset::Requery);
    rs->setValue(u"Name", QStringLiteral("Mine again"));
    exec(R"(UPDATE "Address" SET "City" = 'Goa')");
    connected(*rs, &Recordset::UpdateBatch);
    EXPECT_EQ(stored({"Name", "City"}), "Mine again/Goa");
}

TEST_F(RecordsetEditing, AReadOnlyBookRefusesClearlyAndKeepsTheChanges)
{
    insertNames({"Ada"});
    auto rs = open();
    m_connection.reset();
    ASSERT_TRUE(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadOther));
    rs->setValue(u"Name", QStringLiteral("Ada L."));
    rs->setActiveConnection(connectionString());
    const platform::RunTimeError error = raised([&] { rs->UpdateBatch(); });
    EXPECT_EQ(error.number(), err::ReadOnlyBook);
    EXPECT_TRUE(error.description().contains(QStringLiteral("read-only")))
        << error.description().toStdString();
    EXPECT_TRUE(rs->hasPendingChanges());
    // The driver's own words are kept for the error report.
    Vostrel::DbErrors& errors = rs->activeConnection()->Errors();
    ASSERT_EQ(errors.Count(), 1);
    EXPECT_EQ(errors.Item(0).Number, err::ReadOnlyBook);
    EXPECT_TRUE(errors.Item(0).Description.contains(QStringLiteral("readonly")))
        << errors.Item(0).Description.toStdString();
    errors.Clear();
    EXPECT_EQ(errors.Count(), 0);
}

TEST_P(RecordsetReading, ViewsOpenForReadingOnly)
{
    insert({{"Name", "Ada"}, {"SalutationId", 5}, {"PinCode", "40001"}});
    auto rs = open(QStringLiteral("qrylabel"));
    EXPECT_EQ(rs->value(u"Salutation").toString(), QStringLiteral("Dr."));
    EXPECT_EQ(rs->value(u"Pincode").toString(), QStringLiteral("40001"));
    rs->setFilter(QStringLiteral("NAME LIKE 'A*'"));
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_RUNTIME_ERROR(open(QStringLiteral("NoSuchTable")), data::kNoSuchTable);
}

// Quotes, separators, placeholders, escapes, control characters, any script
// and emoji come back exactly,
// and so do dates across the calendar: each row is then found again by the
// check of every value it was read with.
TEST_P(RecordsetSaving, TextsAndDatesComeBackExactly)
{
    const QStringList texts = {
        "O'Brien \"Jr\" `x`",
        "a;b=c; Password='x'",
        "\u00c6r\u00f8 \u00dcnal \u0394\u03b7\u03bc\u03ae\u03c4\u03c1\u03b7\u03c2 \u674e",
        "\U0001F642\U0001F44D\U0001F3FD \u200d\u2764\ufe0f",
        "back\\slash ?, $1, %1",
        "  two  spaces  ",
        "\\N",
        "t\tab\nnl\r\\x41\\101"};
    const QStringList dates = {"0001-01-01", "1582-10-04", "1900-02-28", "2000-02-29",
                               "9999-12-31", "1970-01-01", "2024-02-29", "1999-12-31"};
    auto rs = open();
    for (qsizetype i = 0; i < texts.size(); ++i) {
        rs->AddNew();
        rs->setValue(u"Name", texts[i]);
        rs->setValue(u"Company", texts[i]);
        rs->setValue(u"DtBirth", QDate::fromString(dates[i], Qt::ISODate));
        rs->Update();
    }
    connected(*rs, &Recordset::UpdateBatch);

    rs = open();
    EXPECT_EQ(names(*rs), texts);
    EXPECT_EQ(names(*rs, u"Company"), texts);
    EXPECT_EQ(names(*rs, u"DtBirth"), dates);
    for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext())
        rs->setValue(u"City", rs->value(u"Name"));
    connected(*rs, &Recordset::UpdateBatch);
    while (rs->RecordCount() > 0) {
        rs->MoveFirst();
        rs->Delete();
    }
    connected(*rs, &Recordset::UpdateBatch);
    EXPECT_EQ(stored(), "");
}

// The embedded file stores a longer text than its column's width unchanged
// (the card keeps to the widths); the server refuses it, names the reason
// and writes nothing of the batch.
TEST_P(RecordsetSaving, ATextLongerThanItsColumn)
{
    insertNames({"Ada"});
    auto rs = open();
    const QString longText(rs->field(rs->fieldIndex(u"Name")).definedSize + 1, QLatin1Char('x'));
    rs->setValue(u"City", QStringLiteral("Pune"));
    rs->AddNew();
    rs->setValue(u"Name", longText);
    rs->Update();
    rs->setActiveConnection(connectionString());
    if (GetParam() == Backend::Sqlite) {
        rs->UpdateBatch();
        EXPECT_EQ(stored({"Name", "City"}), "Ada/Pune|" + longText + "/-");
        return;
    }
    const platform::RunTimeError error = raised([&] { rs->UpdateBatch(); });
    EXPECT_EQ(error.number(), err::Unspecified);
    EXPECT_TRUE(error.description().contains(QStringLiteral("could not be saved"))
                && error.description().contains(QStringLiteral("too long")))
        << error.description().toStdString();
    EXPECT_EQ(stored({"Name", "City"}), "Ada/-");
    EXPECT_TRUE(rs->hasPendingChanges());
}

// A pick list's new entry and the address that names it are stored
// together or not at all.
TEST_P(RecordsetSaving, ATransactionStoresSeveralTablesTogetherOrNotAtAll)
{
    insertNames({"Ada"});
    // Adds "Sir" to the salutations and gives it to Ada in one transaction,
    // `meanwhile` run after the rows were read; returns the new key.
    const auto save = [this](const QString& meanwhile) {
        auto salutations = open(QStringLiteral("Salutation"));
        auto addresses = open();
        if (!meanwhile.isEmpty())
            exec(meanwhile);
        salutations->setActiveConnection(m_connection);
        addresses->setActiveConnection(m_connection);
        data::Transaction work(m_connection);
        salutations->AddNew();
        salutations->setValue(u"Salutation", QStringLiteral("Sir"));
        salutations->UpdateBatch();
        addresses->setValue(u"Name", QStringLiteral("Ada L."));
        addresses->setValue(u"SalutationId", salutations->value(u"SalutationId"));
        addresses->UpdateBatch();
        work.commit();
        return salutations->value(u"SalutationId").toString();
    };
    const auto sirs = [this] {
        return m_connection->io()
            .execute(R"(SELECT count(*) FROM "Salutation" WHERE "Salutation" = 'Sir')")[0][0]
            .toInt();
    };
    EXPECT_RUNTIME_ERROR(save(R"(UPDATE "Address" SET "Name" = 'Changed elsewhere')"),
                         err::ConcurrencyViolation);
    EXPECT_EQ(sirs(), 0);
    EXPECT_EQ(stored({"Name", "SalutationId"}), "Changed elsewhere/-");

    const QString key = save(QString());
    EXPECT_EQ(sirs(), 1);
    EXPECT_EQ(stored({"Name", "SalutationId"}), "Ada L./" + key);
}

} // namespace
