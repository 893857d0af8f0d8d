// The pick lists: the length checks and failed saves.
// The dialogs' test follows a whole course of edits to the database.

#include "records_fixture.h"

#include "records/lookup.h"

#include "platform/error_numbers.h"

#include <QFile>

namespace {

using platform::Answer;
using records::LookUp;

class LookUpTest : public RecordsTest {
protected:
    void opened(const char* table)
    {
        l.setRecSrc(QLatin1String(table));
        l.OpenRec();
    }
    // "position/count id text" of the entry the dialog shows.
    std::string seen() const
    {
        return QStringLiteral("%1/%2 %3 %4")
            .arg(l.AbsPos())
            .arg(l.RecCount())
            .arg(l.Id())
            .arg(l.FldName())
            .toStdString();
    }
    LookUp l;
};

TEST_F(LookUpTest, TextsAreCheckedForTheirTablesWidth)
{
    const char* salutation = "You cannot have salutation for more than 6 characters.";
    const char* religion = "You cannot have Religion for more than 15 characters.";
    const std::tuple<const char*, QString, const char*> cases[] = {
        {"Salutation", "Madame", nullptr}, // the widest salutation
        {"Salutation", "Madames", salutation},
        {"Religion", QString(15, u'r'), nullptr}, // the widest religion
        {"Religion", QString(16, u'r'), religion},
        {"salutation", "Most Reverend", nullptr}, // names compare exactly
    };
    for (const auto& [table, text, message] : cases) {
        SCOPED_TRACE(std::string(table) + " " + text.toStdString());
        opened(table);
        if (message)
            m_prompts.answerMessage(Answer::OK);
        l.bValDat = true;
        l.setFldName(text);
        EXPECT_EQ(l.bValDat, !message);
        EXPECT_EQ(seen(), "1/" + std::to_string(l.RecCount()) + " 1 " + text.toStdString());
        if (message)
            expectShown("Save", message, platform::Buttons::OK, platform::Icon::Critical);
    }
    l.setId(0);
    EXPECT_FALSE(l.bValDat);
}

// A book gone away is told; a collision with another user is unexpected and
// reported. Either way the program goes on with the edits still pending.
TEST_F(LookUpTest, AFailedSaveIsToldAndKeepsTheEdits)
{
    opened("Salutation");
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
    EXPECT_EQ(seen(), "5/9 5 Doc");
    EXPECT_EQ(stored("Salutation"),
              (QStringList{"Mr.", "Mrs.", "Ms.", "Miss", "Dtr", "Prof.", "Shri", "Smt."}));
}

} // namespace
