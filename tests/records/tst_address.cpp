// The contact record over a real address book: rows other programs stored,
// finding, filtering, sorting, re-reading, collisions with another user's
// edits, the checks of the card's values, and the e-mail reader that walks
// the card's rows. Moving, adding, deleting and cancelling are walked by the
// card's tests.

#include "records_fixture.h"

#include "records/address.h"
#include "records/emls.h"

#include "platform/date_text.h"
#include "platform/error_numbers.h"

#include <QFile>

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using records::Address;

using AddressTest = RecordsTest;

// "position/count name"; the position is -2 at BOF, -3 at EOF and -1 with no rows.
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

// Values another program stored show as they are, unchecked: a date with a
// time of day as the date, text that is no valid UTF-8 with replacement
// characters, Null as "". Such rows can still be deleted and changed.
TEST_F(AddressTest, RowsOtherProgramsStoredShowUncheckedAndStayEditable)
{
    exec("INSERT INTO Address (Name, Company, PinCode, EmlAddr, DtMarriage, DtBirth, Address3)"
         " VALUES ('', '', '4000A', 'nobody', '2001-02-03', '1980-05-17 10:00:00',"
         " CAST(X'FF' AS TEXT)), ('Broken', NULL, NULL, NULL, NULL, NULL,"
         " CAST(X'61EDA0BD62' AS TEXT))");
    Address a; // no message is scripted: none may come
    a.bValDat = true;
    a.MoveLast();
    a.MoveFirst();
    EXPECT_TRUE(a.bValDat);
    EXPECT_EQ(a.SalutationId(), 0);
    EXPECT_EQ(a.PinCode() + a.EmlAddr() + a.DtJoining(), QStringLiteral("4000Anobody"));
    EXPECT_EQ(a.DtMarriage(), platform::dateText(QDate(2001, 2, 3)));
    EXPECT_EQ(a.DtBirth(), platform::dateText(QDate(1980, 5, 17)));
    m_prompts.answerMessage(Answer::Yes);
    a.Delete();
    EXPECT_EQ(seen(a), "1/1 Broken");

    // Two copies change different fields of the row with Nulls: each sends
    // only what it changed, so both succeed and the Nulls stay Null. Half
    // characters typed never reach the file.
    Address other;
    EXPECT_TRUE(a.Address3().contains(QChar::ReplacementCharacter));
    a.setAddress2(QStringLiteral("ab") + QChar(0xD83D)); // half of an emoji
    a.Save();
    other.setPhCell("98200");
    other.Save(); // no question: nothing of it clashes
    a.setAddress3(a.Address3() + QStringLiteral("c"));
    a.Save();
    EXPECT_EQ(
        column("SELECT hex(Address2) || ' ' || PhCell || ' ' || ((Company IS NULL) + "
               "(SalutationId IS NULL) + (EmlAddr IS NULL) + (DtBirth IS NULL)) FROM Address"),
        QStringList{"6162EFBFBD 98200 4"});
    Address reloaded;
    EXPECT_EQ(reloaded.Address2(), QStringLiteral("ab\uFFFD"));
    EXPECT_EQ(reloaded.Address3().right(1), QStringLiteral("c"));
}

// The record loads the row a search finds and takes its own bookmark as a
// start; after a search ran off the end no move applies. A search the
// recordset refuses is reported with its criteria and moves nothing.
TEST_F(AddressTest, FindSearchesBothWaysWithSkipAndStart)
{
    addContacts();
    Address a;
    a.MoveLast();
    const qint32 forward = data::adSearchForward, backward = data::adSearchBackward;
    EXPECT_EQ(found(a, "City = 'Agra'", 0, forward, data::adBookmarkFirst), "2/5 Bo");
    const QVariant bo = a.varBkMk();
    expectErrorReport();
    EXPECT_EQ(found(a, "Nme = 'x'", 1, backward), "2/5 Bo");
    const QString report = tovren::errHandler().ErrorLogDisplay();
    for (const char* expected : {"Address.Find", "DataSource.Find", "Value: Nme = 'x'"})
        EXPECT_TRUE(report.contains(QLatin1String(expected))) << expected;

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
    exec("INSERT INTO Address (Name, City) VALUES ('Οδυσσεύς', 'Ιθάκη'), ('Fay', 'Straße')");
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

    // Past a few hundred comparisons (3 x 8 x 7 x 7 here) the filter goes
    // grouped by field instead, and means the same: Ada and Cy.
    const auto anyOf = [](const char* field, const char* hits) {
        return QStringLiteral("%1 = '1' OR %1 = '2' OR %1 = '3' OR %1 = '4' OR %1 = '5' OR "
                              "%1 = '6' OR %2")
            .arg(QLatin1String(field), QLatin1String(hits));
    };
    QString wide = anyOf("Name", "Name Like 'A*' OR Name Like 'C*'") + " And "
                   + anyOf("City", "City Like 'P*'") + " And "
                   + anyOf("PinCode", "PinCode Like '4*'");
    a.Filter(wide);
    EXPECT_TRUE(wide.startsWith(QStringLiteral("(NAME = '1' OR NAME = '2'")));
    EXPECT_EQ(wide.count(QStringLiteral(") AND (")), 2);
    EXPECT_EQ(a.RecCount(), 2);
    filtered("", "", "1/7 Ada");

    // Nothing but empty terms leaves "(", which the recordset refuses.
    expectErrorReport();
    filtered(" or ", "(", "1/7 Ada");
    EXPECT_EQ(tovren::errHandler().ErrNum(), 3001);
}

// Sorting and re-reading keep the current row, or else the first; so does a
// save or delete that collided with another user's edit, after saying so. A
// book gone away is told, anything unexpected reported, and the rows stay.
TEST_F(AddressTest, SortRefreshAndCollisionsKeepTheCurrentRowOrElseTheFirst)
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

    exec("UPDATE Address SET City = 'Simla' WHERE Name = 'Ed'");
    exec("INSERT INTO Address (Name, City) VALUES ('Fay', 'Agra')");
    a.Refresh();
    EXPECT_EQ(seen(a), "6/6 Ed"); // the sort holds: Simla comes last
    EXPECT_EQ(a.City(), QStringLiteral("Simla"));
    exec("DELETE FROM Address WHERE Name = 'Ed'");
    a.Refresh(); // gone: the first row instead, without a word
    EXPECT_EQ(seen(a), "1/5 Bo");

    // The other user goes first; the record then saves a change or deletes,
    // tells so and stands where it is told it stands, with the stored city.
    const auto collide = [&](const char* meanwhile, bool save) {
        exec(meanwhile);
        if (save)
            a.setCity("Delhi");
        else
            m_prompts.answerMessage(Answer::Yes);
        m_prompts.answerMessage(Answer::OK);
        save ? a.Save() : a.Delete();
        expectShown(save ? "Save" : "Delete.",
                    QStringLiteral("This record was changed or deleted by someone else since it "
                                   "was read.\r\n%1; the card now shows what is stored.")
                        .arg(save ? "Your changes could not be saved" : "It could not be deleted"),
                    Buttons::OK, Icon::Exclamation);
        return seen(a) + ' ' + a.City().toStdString();
    };
    EXPECT_EQ(collide("UPDATE Address SET City = 'Simla' WHERE Name = 'Bo'", true), "5/5 Bo Simla");
    a.MoveFirst();
    EXPECT_EQ(collide("DELETE FROM Address WHERE Name = 'Fay'", true), "1/4 Di Goa");
    a.MoveLast(); // deleting a row someone else changed deletes nothing
    EXPECT_EQ(collide("UPDATE Address SET City = 'Kochi' WHERE Name = 'Bo'", false), "1/4 Di Goa");

    const QString away = path() + QStringLiteral(".away");
    ASSERT_TRUE(QFile::rename(path(), away));
    m_prompts.answerMessage(Answer::OK);
    a.Refresh(); // OK goes on without the book
    EXPECT_EQ(m_prompts.messages().back().title, QStringLiteral("Database Path"));
    EXPECT_EQ(a.RecCount(), 4);
    m_prompts.answerMessage(Answer::Cancel);
    EXPECT_THROW(a.Refresh(), testing_support::ProgramEnded);
    ASSERT_TRUE(QFile::rename(away, path()));
    exec("UPDATE Address SET SalutationId = 'none' WHERE Name = 'Bo'");
    expectErrorReport();
    a.Refresh();
    EXPECT_EQ(tovren::errHandler().ErrNum(), platform::err::TypeMismatch);
    EXPECT_EQ(a.RecCount(), 4);

    exec("DELETE FROM Address");
    a.Refresh(); // no first row either
    a.Refresh(); // nothing current, nothing to return to
    EXPECT_TRUE(a.isBOF() && a.isEOF());
}

TEST_F(AddressTest, SettersCheckShowAndStoreAnyway)
{
    const char* at =
        "You have entered incorrect email address. An email address should have an '@' sign.";
    const char* server = "You have not entered email hosting server.";
    const char* pin = "You have entered invalid pincode";
    const std::tuple<void (Address::*)(const QString&), QString, const char*> cases[] = {
        {&Address::setEmlAddr, "@example.in", at},
        {&Address::setEmlAddr, "me@localhost", nullptr},
        {&Address::setEmlAddr, "me@example.", server},
        {&Address::setEmlAddr, "me@.in", nullptr},
        {&Address::setEmlAddr, QString(), nullptr},
        {&Address::setPinCode, "40001", nullptr},
        {&Address::setPinCode, "4000A", pin},
        {&Address::setPinCode, " ", pin},
        {&Address::setDtBirth, "31/02/2001", "You have not entered correct date of birth."},
        {&Address::setDtMarriage, "soon", "You have not entered correct date of marriage."},
        {&Address::setDtJoining, "2020-13-01", "You have not entered correct date of joining."},
        {&Address::setDtJoining, "2020-12-01", nullptr},
        {&Address::setName, QString(),
         "You have to enter either Name of person or Company. No changes will be made till you "
         "enter either one or both of them."},
        {&Address::setCompany, "Acme", nullptr},
        {&Address::setName, QString(), nullptr},
    };
    Address a;
    for (const auto& [set, value, message] : cases) {
        SCOPED_TRACE(value.toStdString());
        if (message)
            m_prompts.answerMessage(Answer::OK);
        const size_t before = m_prompts.messages().size();
        a.bValDat = true;
        (a.*set)(value);
        EXPECT_EQ(a.bValDat, !message);
        EXPECT_EQ(m_prompts.messages().size(), before + (message ? 1 : 0));
        if (message)
            expectShown("Save", message, Buttons::OK, Icon::Critical);
    }
    EXPECT_EQ(a.PinCode() + a.DtMarriage(), QStringLiteral(" soon"));

    // No salutation or religion: refused without a message.
    for (const auto set : {&Address::setSalutationId, &Address::setReligionId}) {
        a.bValDat = true;
        (a.*set)(0);
        EXPECT_FALSE(a.bValDat);
    }
}

// The e-mail reader walks the card's own rows, in the card's filter and sort.
TEST_F(AddressTest, TheEmailReaderWalksTheCardsFilteredSortedRows)
{
    addContacts();
    exec("INSERT INTO Address (City, EmlAddr) VALUES ('Goa', 'x@goa.in')");
    Address card;
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
