// The contact record over a real address book: loading, moving, saving,
// deleting, cancelling, finding, filtering, sorting, re-reading, edits that
// collide with another user's, and the checks of the card's values.

#include "records_fixture.h"

#include "records/address.h"

#include "platform/date_text.h"
#include "platform/error_numbers.h"

#include <QFile>

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using records::Address;

using AddressTest = RecordsTest;

// Where the record stands and what it shows, as "position/count name";
// the position is -2 at BOF, -3 at EOF and -1 with no rows.
std::string seen(const Address& a)
{
    return QStringLiteral("%1/%2 %3").arg(a.AbsPos()).arg(a.RecCount()).arg(a.Name()).toStdString();
}

// Searches as the card does; where the record then stands, as seen() has it.
std::string found(Address& a, const char* criteria, qint32 skip, qint32 direction,
                  QVariant start = {})
{
    QString text = QString::fromUtf8(criteria);
    a.Find(text, skip, direction, start);
    return seen(a);
}

TEST_F(AddressTest, CreationLoadsTheFirstRowAndMovesStopAtBothEnds)
{
    Address empty;
    for (const auto move :
         {&Address::MoveFirst, &Address::MoveLast, &Address::MoveNext, &Address::MovePrevious})
        (empty.*move)();
    EXPECT_TRUE(empty.isBOF() && empty.isEOF());
    EXPECT_EQ(seen(empty), "-1/0 ");
    EXPECT_EQ(empty.SalutationId(), 0);

    addContacts();
    Address a;
    EXPECT_EQ(seen(a), "1/5 Ada");
    a.MovePrevious();
    EXPECT_EQ(seen(a), "1/5 Ada");
    a.MoveLast();
    a.MoveNext();
    EXPECT_EQ(seen(a), "5/5 Ed");
    a.MoveFirst();
    a.MoveNext();
    EXPECT_EQ(seen(a), "2/5 Bo");
    EXPECT_EQ(a.PinCode(), QString()); // Null reads as ""
}

// Values another program stored show as they are, unchecked; a date with
// a time of day shows as the date, and such a row can still be deleted.
TEST_F(AddressTest, StoredValuesShowUncheckedAndTheirRowCanBeDeleted)
{
    exec(QStringLiteral("INSERT INTO Address (Name, Company, PinCode, EmlAddr, DtMarriage, "
                        "DtBirth) VALUES ('', '', '4000A', 'nobody', '2001-02-03', "
                        "'1980-05-17 10:00:00')"));
    Address a; // no message is scripted: none may come
    a.bValDat = true;
    a.MoveLast();
    EXPECT_TRUE(a.bValDat);
    EXPECT_EQ(a.SalutationId(), 0);
    EXPECT_EQ(a.PinCode() + a.EmlAddr() + a.DtJoining(), QStringLiteral("4000Anobody"));
    EXPECT_EQ(a.DtMarriage(), platform::dateText(QDate(2001, 2, 3)));
    EXPECT_EQ(a.DtBirth(), platform::dateText(QDate(1980, 5, 17)));
    m_prompts.answerMessage(Answer::Yes);
    a.Delete();
    EXPECT_EQ(a.RecCount(), 0);
}

TEST_F(AddressTest, AnAddedRecordIsStoredWholeAndAChangedOneInPlace)
{
    using Set = void (Address::*)(const QString&);
    using Get = QString (Address::*)() const;
    const std::tuple<Set, Get, QString> fields[] = {
        {&Address::setCompany, &Address::Company, QStringLiteral("O'Brien & \"Sons\" Ltd")},
        {&Address::setName, &Address::Name,
         QStringLiteral("Ελένη Дмитрий 李小龍, whose name runs past forty")},
        {&Address::setAddress1, &Address::Address1, QString(60, u'y')},
        {&Address::setAddress2, &Address::Address2, QStringLiteral("Линия 5")},
        {&Address::setAddress3, &Address::Address3, QString()},
        {&Address::setCity, &Address::City, QStringLiteral("北京")},
        {&Address::setPinCode, &Address::PinCode, QStringLiteral("100000")},
        {&Address::setState, &Address::State, QStringLiteral("Ἀττική")},
        {&Address::setCountry, &Address::Country, QStringLiteral("Ελλάδα")},
        {&Address::setPhOff1, &Address::PhOff1, QStringLiteral("+30 21 0000 0001")},
        {&Address::setPhOff2, &Address::PhOff2, QStringLiteral("2")},
        {&Address::setPhExt, &Address::PhExt, QString()},
        {&Address::setPhFax, &Address::PhFax, QStringLiteral("4")},
        {&Address::setPhRes1, &Address::PhRes1, QStringLiteral("5")},
        {&Address::setPhRes2, &Address::PhRes2, QStringLiteral("6")},
        {&Address::setPhCell, &Address::PhCell, QStringLiteral("7")},
        {&Address::setPhPager, &Address::PhPager, QStringLiteral("8")},
        {&Address::setDtBirth, &Address::DtBirth, platform::dateText(QDate(1980, 5, 17))},
        {&Address::setDtMarriage, &Address::DtMarriage, QString()},
        {&Address::setDtJoining, &Address::DtJoining, QStringLiteral("2015-01-02")},
        {&Address::setEmlAddr, &Address::EmlAddr, QStringLiteral("eleni@example.gr")},
    };
    addContacts();
    Address a;
    a.bValDat = true;
    a.Add();
    a.setSalutationId(5);
    a.setReligionId(3);
    for (const auto& [set, get, value] : fields)
        (a.*set)(value);
    EXPECT_TRUE(a.bValDat && a.bAdd);
    a.Save();
    EXPECT_FALSE(a.bAdd);
    EXPECT_EQ(a.AbsPos(), 6);
    // Empty texts go as "", an empty date as Null, a date as a date.
    EXPECT_EQ(column(QStringLiteral("SELECT ((PhExt IS NULL) + (Address3 IS NULL)) || ' ' || "
                                    "quote(DtMarriage) || ' ' || DtBirth || ' ' || DtJoining "
                                    "FROM Address WHERE SalutationId = 5")),
              QStringList{"0 NULL 1980-05-17 2015-01-02"});

    Address reloaded;
    reloaded.MoveLast();
    EXPECT_EQ(reloaded.SalutationId() * 10 + reloaded.ReligionId(), 53);
    for (const auto& [set, get, value] : fields) {
        const QString expected =
            get == &Address::DtJoining ? platform::dateText(QDate(2015, 1, 2)) : value;
        EXPECT_EQ((reloaded.*get)().toStdString(), expected.toStdString());
    }

    reloaded.MoveFirst();
    reloaded.MoveNext();
    reloaded.setCity(QStringLiteral("Delhi"));
    reloaded.Save();
    EXPECT_EQ(seen(reloaded), "2/6 Bo");
    EXPECT_EQ(column(QStringLiteral("SELECT City FROM Address ORDER BY AddressId")).join(u' '),
              QStringLiteral("Pune Delhi Pune Goa Agra 北京"));
}

TEST_F(AddressTest, DeleteAsksAndLeavesThePreviousRowCurrent)
{
    addContacts();
    Address a;
    a.MoveNext();
    m_prompts.answerMessage(Answer::No);
    a.Delete();
    expectShown(QStringLiteral("Delete."),
                QStringLiteral("You are about to delete a record.\r\n"
                               "Record once deleted would not be retrieved back.\r\n"
                               "Are you sure you want to delete this record?"),
                Buttons::YesNo, Icon::Critical);
    EXPECT_EQ(seen(a), "2/5 Bo");

    // The row deleted, then where the record stands and who is left.
    const std::tuple<void (Address::*)(), const char*, const char*> deletions[] = {
        {&Address::MoveNext, "2/4 Bo", "Ada Bo Di Ed"}, // in the middle
        {&Address::MoveFirst, "1/3 Bo", "Bo Di Ed"},
        {&Address::MoveLast, "2/2 Di", "Bo Di"},
        {&Address::MoveFirst, "1/1 Di", "Di"},
        {&Address::MoveFirst, "-1/0 Di", ""}, // the only row
    };
    for (const auto& [move, shown, left] : deletions) {
        (a.*move)();
        m_prompts.answerMessage(Answer::Yes);
        a.Delete();
        EXPECT_EQ(seen(a), shown);
        EXPECT_EQ(column(QStringLiteral("SELECT Name FROM Address")).join(u' ').toStdString(),
                  left);
    }
    EXPECT_TRUE(a.isBOF() && a.isEOF());
}

TEST_F(AddressTest, CancelReadsTheTableAgain)
{
    addContacts();
    Address a;
    a.MoveNext();
    a.setCity(QStringLiteral("Nowhere"));
    exec(QStringLiteral("UPDATE Address SET PinCode = '282002' WHERE Name = 'Bo'"));
    a.Cancel(); // an edit: back to the same row, as stored
    EXPECT_EQ(seen(a), "2/5 Bo");
    EXPECT_EQ(a.City() + a.PinCode(), QStringLiteral("Agra282002"));

    a.Add();
    a.Cancel(); // an add: the new row is gone, the first row is current
    EXPECT_FALSE(a.bAdd);
    EXPECT_EQ(seen(a), "1/5 Ada");
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Address")), QStringList{"5"});
}

// The record loads the row a search finds and takes its own bookmark as a
// start; after a search ran off the end no move applies, and the record
// keeps the last row loaded.
TEST_F(AddressTest, FindSearchesBothWaysWithSkipAndStart)
{
    addContacts();
    Address a;
    a.MoveLast();
    const qint32 forward = data::adSearchForward, backward = data::adSearchBackward;
    EXPECT_EQ(found(a, "City = 'Agra'", 0, forward, data::adBookmarkFirst), "2/5 Bo");
    const QVariant bo = a.varBkMk();
    EXPECT_EQ(found(a, "City = 'Agra'", 1, forward), "5/5 Ed");
    EXPECT_EQ(found(a, "Name = 'Zed'", 0, forward), "-3/5 Ed");
    for (const auto move : {&Address::MoveNext, &Address::MoveFirst, &Address::MoveLast})
        (a.*move)();
    EXPECT_EQ(seen(a), "-3/5 Ed");
    EXPECT_EQ(found(a, "City = 'Pune'", 0, forward, bo), "3/5 Cy");
    EXPECT_EQ(found(a, "City = 'Agra'", 1, backward), "2/5 Bo");
    EXPECT_EQ(found(a, "City = 'Agra'", 1, backward), "-2/5 Bo");
}

TEST_F(AddressTest, FilterRewritesOrsIntoTheCallersVariable)
{
    addContacts();
    exec(QStringLiteral(
        "INSERT INTO Address (Name, City) VALUES ('Οδυσσεύς', 'Ιθάκη'), ('Fay', 'Straße')"));
    Address a;
    const auto filtered = [&](const char* filter, const char* rewritten, const char* shown) {
        QString text = QString::fromUtf8(filter);
        a.Filter(text);
        EXPECT_EQ(text.toStdString(), rewritten);
        EXPECT_EQ(seen(a), shown) << rewritten;
    };
    // The filter, as the caller's variable holds it afterwards, and the first
    // row it lets through. Upper-casing may lengthen a text (ß to SS).
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"city = 'pune' or city = 'goa'", "(CITY = 'PUNE') OR (CITY = 'GOA')", "1/3 Ada"},
        {"name like 'c*'", "name like 'c*'", "1/1 Cy"},
        {"NAME LIKE 'A*' OR NAME LIKE 'B*' AND CITY = 'AGRA'",
         "(NAME LIKE 'A*' AND CITY = 'AGRA') OR (NAME LIKE 'B*' AND CITY = 'AGRA')", "1/1 Bo"},
        {"name = 'ada' or name = 'bo' and city = 'pune' or city = 'agra'",
         "(NAME = 'ADA' AND CITY = 'PUNE') OR (NAME = 'ADA' AND CITY = 'AGRA') OR "
         "(NAME = 'BO' AND CITY = 'PUNE') OR (NAME = 'BO' AND CITY = 'AGRA')",
         "1/2 Ada"},
        {"name = 'ada' or  or name = 'ed'", "(NAME = 'ADA') OR (NAME = 'ED')", "1/2 Ada"},
        {"name = 'οδυσσεύς' or city = 'x'", "(NAME = 'ΟΔΥΣΣΕΎΣ') OR (CITY = 'X')", "1/1 Οδυσσεύς"},
        {"city = 'straße' or city = 'x'", "(CITY = 'STRASSE') OR (CITY = 'X')", "1/1 Fay"},
        {"", "", "1/7 Ada"},
    };
    for (const auto& [filter, rewritten, shown] : rows)
        filtered(filter, rewritten, shown);

    // Seven fields of ten alternatives each would make ten million groups:
    // the filter goes grouped by field instead, and means the same.
    QStringList fields;
    for (const char* column :
         {"Name", "City", "PinCode", "EmlAddr", "Address1", "State", "PhCell"}) {
        QStringList alternatives;
        for (int i = 0; i < 10; ++i)
            alternatives << QStringLiteral("%1 Like '%2*'").arg(QLatin1String(column)).arg(i);
        // The last alternatives let every row through but those outside Pune.
        const QLatin1String name(column);
        alternatives.back() = name == QLatin1String("City")
                                  ? QStringLiteral("City Like 'P*'")
                                  : QStringLiteral("%1 = NULL OR %1 Like '*'").arg(name);
        fields << alternatives.join(QStringLiteral(" OR "));
    }
    QString wide = fields.join(QStringLiteral(" And "));
    a.Filter(wide);
    EXPECT_TRUE(wide.startsWith(QStringLiteral("(NAME LIKE '0*' OR NAME LIKE '1*'")));
    EXPECT_EQ(wide.count(QStringLiteral(") AND (")), 6);
    EXPECT_EQ(a.RecCount(), 2);
    filtered("", "", "1/7 Ada");

    // Nothing but empty terms leaves "(", which the recordset refuses.
    expectErrorReport();
    filtered(" or ", "(", "1/7 Ada");
    EXPECT_EQ(tovren::errHandler().ErrNum(), 3001);
}

TEST_F(AddressTest, SortAndRefreshKeepTheCurrentRow)
{
    addContacts();
    Address a;
    a.MoveNext();
    a.sort(QStringLiteral("Name"), QStringLiteral("Desc"));
    EXPECT_EQ(a.rs->sort(), QStringLiteral("Name Desc"));
    EXPECT_EQ(seen(a), "4/5 Bo");
    a.MoveFirst();
    a.sort(QStringLiteral("City"), QStringLiteral("ASC"));
    EXPECT_EQ(seen(a), "2/5 Ed"); // Bo, Ed, Di, Ada, Cy

    exec(QStringLiteral("UPDATE Address SET City = 'Simla' WHERE Name = 'Ed'"));
    exec(QStringLiteral("INSERT INTO Address (Name, City) VALUES ('Fay', 'Agra')"));
    a.Refresh();
    EXPECT_EQ(seen(a), "6/6 Ed"); // the sort holds: Simla comes last
    EXPECT_EQ(a.City(), QStringLiteral("Simla"));
    exec(QStringLiteral("DELETE FROM Address WHERE Name = 'Ed'"));
    a.Refresh(); // gone: the first row instead, without a word
    EXPECT_EQ(seen(a), "1/5 Bo");
    exec(QStringLiteral("DELETE FROM Address"));
    a.Refresh(); // and no first row either
    a.Refresh(); // nothing current, nothing to return to
    EXPECT_TRUE(a.isBOF() && a.isEOF());
}

TEST_F(AddressTest, AnEditThatCollidesWithAnotherUsersIsToldAndShowsWhatIsStored)
{
    const auto told = [this](const char* title, const char* what) {
        expectShown(QLatin1String(title),
                    QStringLiteral("This record was changed or deleted by someone else since it "
                                   "was read.\r\n%1; the card now shows what is stored.")
                        .arg(QLatin1String(what)),
                    Buttons::OK, Icon::Exclamation);
    };
    addContacts();
    Address a;
    a.MoveNext();
    exec(QStringLiteral("UPDATE Address SET City = 'Simla' WHERE Name = 'Bo'"));
    a.setCity(QStringLiteral("Delhi"));
    m_prompts.answerMessage(Answer::OK);
    a.Save();
    told("Save", "Your changes could not be saved");
    EXPECT_EQ(seen(a), "2/5 Bo");
    EXPECT_EQ(a.City(), QStringLiteral("Simla"));
    EXPECT_EQ(column(QStringLiteral("SELECT City FROM Address WHERE Name = 'Bo'")),
              QStringList{"Simla"});

    a.MoveNext();
    exec(QStringLiteral("DELETE FROM Address WHERE Name = 'Cy'"));
    a.setCity(QStringLiteral("Delhi"));
    m_prompts.answerMessage(Answer::OK);
    a.Save();
    told("Save", "Your changes could not be saved");
    EXPECT_EQ(seen(a), "1/4 Ada");
    EXPECT_TRUE(column(QStringLiteral("SELECT Name FROM Address WHERE City = 'Delhi'")).isEmpty());

    // Deleting a row someone else changed deletes nothing.
    a.MoveLast();
    exec(QStringLiteral("UPDATE Address SET City = 'Kochi' WHERE Name = 'Ed'"));
    m_prompts.answerMessage(Answer::Yes).answerMessage(Answer::OK);
    a.Delete();
    told("Delete.", "It could not be deleted");
    EXPECT_EQ(seen(a), "1/4 Ada");
    EXPECT_EQ(column(QStringLiteral("SELECT City FROM Address WHERE Name = 'Ed'")),
              QStringList{"Kochi"});
}

TEST_F(AddressTest, SettersCheckShowAndStoreAnyway)
{
    const char* at =
        "You have entered incorrect email address. An email address should have an '@' sign.";
    const char* server = "You have not entered email hosting server.";
    const char* pin = "You have entered invalid pincode";
    const std::tuple<void (Address::*)(const QString&), QString, const char*> cases[] = {
        {&Address::setEmlAddr, QStringLiteral("nobody.example.in"), at},
        {&Address::setEmlAddr, QStringLiteral("@example.in"), at},
        {&Address::setEmlAddr, QStringLiteral("me@localhost"), nullptr},
        {&Address::setEmlAddr, QStringLiteral("me@example."), server},
        {&Address::setEmlAddr, QStringLiteral("me@.in"), nullptr},
        {&Address::setEmlAddr, QString(), nullptr},
        {&Address::setPinCode, QStringLiteral("40001"), nullptr},
        {&Address::setPinCode, QStringLiteral("4000A"), pin},
        {&Address::setPinCode, QStringLiteral(" "), pin},
        {&Address::setDtBirth, QStringLiteral("31/02/2001"),
         "You have not entered correct date of birth."},
        {&Address::setDtMarriage, QStringLiteral("soon"),
         "You have not entered correct date of marriage."},
        {&Address::setDtJoining, QStringLiteral("2020-13-01"),
         "You have not entered correct date of joining."},
        {&Address::setDtJoining, QStringLiteral("2020-12-01"), nullptr},
        {&Address::setName, QString(),
         "You have to enter either Name of person or Company. No changes will be made till you "
         "enter either one or both of them."},
        {&Address::setCompany, QStringLiteral("Acme"), nullptr},
        {&Address::setName, QString(), nullptr},
    };
    Address a;
    for (const auto& [set, value, message] : cases) {
        if (message)
            m_prompts.answerMessage(Answer::OK);
        const size_t before = m_prompts.messages().size();
        a.bValDat = true;
        (a.*set)(value);
        EXPECT_EQ(a.bValDat, !message) << value.toStdString();
        EXPECT_EQ(m_prompts.messages().size(), before + (message ? 1 : 0)) << value.toStdString();
        if (message)
            expectShown(QStringLiteral("Save"), QLatin1String(message), Buttons::OK,
                        Icon::Critical);
    }
    EXPECT_EQ(a.PinCode() + a.DtMarriage(), QStringLiteral(" soon"));

    // No salutation or religion: refused without a message.
    a.bValDat = true;
    a.setSalutationId(0);
    EXPECT_FALSE(a.bValDat);
    a.bValDat = true;
    a.setReligionId(0);
    EXPECT_FALSE(a.bValDat);
}

TEST_F(AddressTest, RefreshActsOnTheClassifiersCodes)
{
    addContacts();
    Address a;
    const QString away = path() + QStringLiteral(".away");

    // The address book is gone: the user is told, and OK goes on.
    ASSERT_TRUE(QFile::rename(path(), away));
    m_prompts.answerMessage(Answer::OK);
    a.Refresh();
    EXPECT_EQ(m_prompts.messages().back().title, QStringLiteral("Database Path"));
    EXPECT_EQ(a.RecCount(), 5);
    m_prompts.answerMessage(Answer::Cancel);
    EXPECT_THROW(a.Refresh(), testing_support::ProgramEnded);
    ASSERT_TRUE(QFile::rename(away, path()));

    // Anything unexpected is reported; the program and the rows stay.
    exec(QStringLiteral("UPDATE Address SET SalutationId = 'none' WHERE Name = 'Ed'"));
    expectErrorReport();
    a.Refresh();
    EXPECT_EQ(tovren::errHandler().ErrNum(), platform::err::TypeMismatch);
    EXPECT_EQ(a.RecCount(), 5);
}

// A search the recordset refuses is reported, naming the record's
// procedures and the criteria, and leaves the record where it stood.
TEST_F(AddressTest, ARefusedFindIsReportedWithItsCriteria)
{
    addContacts();
    Address a;
    expectErrorReport();
    EXPECT_EQ(found(a, "Nme = 'x'", 1, data::adSearchBackward), "1/5 Ada");
    const QString report = tovren::errHandler().ErrorLogDisplay();
    for (const char* expected : {"Address.Find", "DataSource.Find", "Value: Nme = 'x'"})
        EXPECT_TRUE(report.contains(QLatin1String(expected))) << expected;
}

// A row imported with Null columns: saving changes only what the person
// changed, so two copies editing different fields of it both succeed, and
// the Nulls stay Null.
TEST_F(AddressTest, TwoCopiesEditDifferentFieldsOfARowWithNulls)
{
    exec(QStringLiteral("INSERT INTO Address (Name) VALUES ('Imported')"));
    Address first;
    Address second;
    first.setCity(QStringLiteral("Pune"));
    first.Save();
    second.setPhCell(QStringLiteral("98200"));
    second.Save(); // no question: nothing of it clashes
    EXPECT_EQ(column(QStringLiteral("SELECT City || ' ' || PhCell || ' ' || "
                                    "((Company IS NULL) + (SalutationId IS NULL) + "
                                    "(EmlAddr IS NULL) + (DtBirth IS NULL)) FROM Address")),
              QStringList{"Pune 98200 4"});
    // A new record still stores its empty texts as "".
    second.Add();
    second.setName(QStringLiteral("New"));
    second.Save();
    EXPECT_EQ(column(QStringLiteral("SELECT quote(Company) FROM Address WHERE Name = 'New'")),
              QStringList{"''"});
}

// Half characters never reach the file, and a row whose stored text is no
// valid UTF-8 (written by another program) can still be changed and deleted.
TEST_F(AddressTest, HalfCharactersAreNeverStoredAndBrokenTextStaysEditable)
{
    exec(QStringLiteral("INSERT INTO Address (Name, Address3) VALUES "
                        "('Broken', CAST(X'61EDA0BD62' AS TEXT)), ('Other', CAST(X'FF' AS TEXT))"));
    Address a;
    EXPECT_TRUE(a.Address3().contains(QChar::ReplacementCharacter));
    a.setAddress2(QStringLiteral("ab") + QChar(0xD83D)); // half of an emoji
    a.Save();
    a.setAddress3(a.Address3() + QStringLiteral("c"));
    a.Save();
    EXPECT_EQ(column(QStringLiteral("SELECT hex(Address2) FROM Address WHERE Name = 'Broken'")),
              QStringList{"6162EFBFBD"});
    Address reloaded;
    EXPECT_EQ(reloaded.Address2(), QStringLiteral("ab\uFFFD"));
    EXPECT_EQ(reloaded.Address3().right(1), QStringLiteral("c"));

    reloaded.MoveLast();
    m_prompts.answerMessage(Answer::Yes);
    reloaded.Delete();
    EXPECT_EQ(reloaded.RecCount(), 1);
    EXPECT_EQ(column(QStringLiteral("SELECT Name FROM Address")), QStringList{"Broken"});
}

} // namespace
