// The pick lists' failed saves. The dialogs' test follows a whole course of
// edits to the database, the length checks among them.

#include "records_fixture.h"

#include "records/lookup.h"

#include "platform/error_numbers.h"

#include <QFile>

namespace {

using platform::Answer;
using records::LookUp;

using LookUpTest = RecordsTest;

// A book gone away or read-only is told; a collision with another user is
// unexpected and reported. Either way the program goes on with the edits still pending.
TEST_F(LookUpTest, AFailedSaveIsToldAndKeepsTheEdits)
{
    LookUp l;
    l.setRecSrc(QStringLiteral("Salutation"));
    l.OpenRec();
    l.Add();
    l.setFldName("Sir");
    l.Update();
    const QString away = path() + QStringLiteral(".away");
    ASSERT_TRUE(QFile::rename(path(), away));
    m_prompts.answerMessage(Answer::OK).answerMessage(Answer::OK);
    l.Save();
    EXPECT_TRUE(m_prompts.messages().front().text.startsWith(
        QStringLiteral("DataSource Class Save -2147467259 : ")));
    EXPECT_EQ(m_prompts.messages().back().title, QStringLiteral("Database Path"));
    EXPECT_FALSE(l.rs->isConnected());
    ASSERT_TRUE(QFile::rename(away, path()));
    // A book that may only be read is no missing book: said once, nothing
    // asked, the edit kept.
    const auto writable = QFile::permissions(path());
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner));
    m_prompts.answerMessage(Answer::OK);
    l.Save();
    EXPECT_EQ(m_prompts.messages().back().text,
              "DataSource Class Save -2147217911 : The address book '" + path()
                  + "' is read-only: nothing can be saved in it.");
    EXPECT_TRUE(l.rs->hasPendingChanges());
    ASSERT_TRUE(QFile::setPermissions(path(), writable));

    l.rs->Find(QStringLiteral("Salutation = 'Dr.'"), 0, data::adSearchForward,
               data::adBookmarkFirst); // chosen, as a click in the list does
    l.setVarBkMk(l.rs->bookmark());
    l.setFldName("Doc");
    l.Update();
    exec("UPDATE Salutation SET Salutation = 'Dtr' WHERE Salutation = 'Dr.'");
    m_prompts.answerMessage(Answer::OK);
    expectErrorReport();
    l.Save();
    EXPECT_TRUE(m_prompts.messages().back().text.startsWith(
        QStringLiteral("DataSource Class Save -2147217864 : ")));
    EXPECT_EQ(tovren::errHandler().ErrNum(), platform::err::ConcurrencyViolation);
    EXPECT_EQ(QString("%1/%2 %3").arg(l.AbsPos()).arg(l.RecCount()).arg(l.Id()), "5/9 5");
    EXPECT_EQ(l.FldName(), "Doc");
    EXPECT_EQ(stored("Salutation"),
              (QStringList{"Mr.", "Mrs.", "Ms.", "Miss", "Dtr", "Prof.", "Shri", "Smt."}));

    // Opened again, the list drops the edits and reads what is stored.
    l.OpenRec();
    EXPECT_EQ(QString("%1/%2 %3").arg(l.AbsPos()).arg(l.RecCount()).arg(l.FldName()), "1/8 Mr.");
    l.bValDat = true;
    l.setId(0); // no entry chosen
    EXPECT_FALSE(l.bValDat);
}

} // namespace
