// Start-up: finding the address book through Address.ini, the recovery
// dialogue, and bad configuration or database files.

#include "shell_fixture.h"

#include "platform/help.h"
#include "shell/status_panels.h"
#include "support/book_lock.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace {

using platform::Answer;
using testing_support::ProgramEnded;

QString fullConnection(const QString& path)
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + ";Persist Security Info=False";
}

class Startup : public ShellTest {
protected:
    void SetUp() override { platform::setHelpFile(QString()); }
    // Start-up sets the help file last: it reached the book.
    bool connected() const { return !platform::helpFile().isEmpty(); }
    void expectDatabasePathQuestion(size_t index)
    {
        ASSERT_GT(m_prompts.messages().size(), index);
        const auto asked = m_prompts.messages()[index];
        EXPECT_EQ(asked.title, "Database Path");
        EXPECT_EQ(asked.text, "Database path not found.\r\nSelect the database path first to "
                              "login.Press Ok to select the database, else press Cancel to exit");
        EXPECT_EQ(asked.buttons, platform::Buttons::OKCancel);
        EXPECT_EQ(asked.icon, platform::Icon::Critical);
    }
    // Start-up showed one message, with `part` in it and this icon.
    void expectOneMessage(const char* part, platform::Icon icon)
    {
        ASSERT_EQ(m_prompts.messages().size(), 1u);
        EXPECT_TRUE(lastMessage().contains(part)) << lastMessage().toStdString();
        EXPECT_EQ(m_prompts.messages()[0].icon, icon);
    }
};

// Start-up reaches a book without a question: the one Address.ini names,
// else the one beside the program, which the file then names, and the status
// bar says which stands in for which. The trace starts afresh.
TEST_F(Startup, ConfigurationsLeadToTheirBookOrTheOneBesideTheProgram)
{
    const QString db = addDatabase(), elsewhere = addDatabase("elsewhere.dbx");
    const QString named = "Data Source=" + elsewhere;
    const QByteArray beside = "[DatabasePath]\nData Source=" + db.toUtf8() + "\n";
    writeFile("Trace.log", "an old run\r\n");
    const std::tuple<QByteArray, QString, QByteArray, QString> rows[] = {
        // Address.ini (none for a null one), the connection, Address.ini after,
        // the status bar's word
        {QByteArray(), fullConnection(db), beside, ""},
        {"[DatabasePath]\r\nProvider=Microsoft.Jet.OLEDB.4.0\r\n" + named.toUtf8()
             + "\r\nPersist Security Info=False\r\n",
         fullConnection(elsewhere) + ';', "", ""},
        {"[DatabasePath]\n" + named.toUtf8() + "\n", named + ';', "", ""}, // as the program writes it
        {"[DatabasePath]\nData Source=/gone/TND.dbx\n", fullConnection(db), beside,
         "The address book '/gone/TND.dbx' could not be opened; '" + db + "' is open instead."},
    };
    for (const auto& [ini, connection, after, notice] : rows) {
        SCOPED_TRACE(ini.left(40).toStdString());
        platform::setHelpFile(QString());
        if (!ini.isNull())
            writeFile("Address.ini", ini);
        start();
        EXPECT_TRUE(connected());
        EXPECT_EQ(tovren::connectionString(), connection);
        EXPECT_EQ(readFile("Address.ini"), after.isEmpty() ? ini : after);
        const QString credit = "Tovren address book \u00b7 Belvane";
        EXPECT_EQ(m_main->stbMain()->panel(1)->text(), notice.isEmpty() ? credit : notice);
    }
    EXPECT_TRUE(m_prompts.recorded().empty());
    EXPECT_FALSE(readFile("Trace.log").contains("an old run"));
}

// Without a book the user is asked for one: a choice that is no book asks
// again and is left as it was, a cancelled file dialogue leaves the window
// without a book (and nothing new in the folder but Address.ini), Cancel at
// the question ends the program; the next choice is remembered.
TEST_F(Startup, NoBookAskedForOneThenChosen)
{
    writeFile("junk.dbx", "not a database");
    m_prompts.answerMessage(Answer::OK).answerOpenFile(home("junk.dbx"));
    m_prompts.answerMessage(Answer::OK).answerOpenFile(QString());
    mdiMain& main = start();
    EXPECT_FALSE(connected());
    EXPECT_EQ(mdiMain::instance(), &main);
    expectDatabasePathQuestion(0);
    expectDatabasePathQuestion(1);
    EXPECT_EQ(m_prompts.recorded()[1].text, "*.dbx|*.dbx");
    EXPECT_EQ(readFile("junk.dbx"), "not a database");
    EXPECT_EQ(QDir(home()).entryList(QDir::Files), (QStringList{"Address.ini", "junk.dbx"}));
    m_prompts.answerMessage(Answer::Cancel);
    EXPECT_THROW(start(), ProgramEnded);
    expectDatabasePathQuestion(2);

    const QString chosen = addDatabase("chosen-Book.dbx");
    m_prompts.answerMessage(Answer::OK).answerOpenFile(chosen);
    start();
    EXPECT_TRUE(connected());
    EXPECT_EQ(tovren::connectionString(), fullConnection(chosen));
    EXPECT_EQ(readFile("Address.ini"), "[DatabasePath]\nData Source=" + chosen.toUtf8() + "\n");
}

// A book another program holds is told as busy and waited for, never
// offered for replacement: OK tries again, Cancel ends the program.
TEST_F(Startup, ABookInUseIsWaitedForNeverReplaced)
{
    const QString db = addDatabase("elsewhere.dbx");
    const QByteArray ini = "[DatabasePath]\r\nData Source=" + db.toUtf8() + "\r\n";
    writeFile("Address.ini", ini);
    for (const Answer answer : {Answer::Cancel, Answer::OK}) {
        testing_support::BookLock lock(db);
        m_prompts.answerMessage(answer, [&lock] { lock.release(); });
        if (answer == Answer::Cancel) {
            EXPECT_THROW(start(), ProgramEnded);
        } else {
            start();
            EXPECT_TRUE(connected());
        }
        const auto asked = m_prompts.messages().back();
        EXPECT_EQ(asked.text, QStringLiteral("The address book '%1' is in use by another program."
                                             "\r\nPress OK to try again when it is free, or "
                                             "Cancel to exit.")
                                  .arg(db));
        EXPECT_EQ(asked.buttons, platform::Buttons::OKCancel);
    }
    EXPECT_EQ(m_prompts.messages().size(), 2u); // no "Database Path" question
    EXPECT_EQ(readFile("Address.ini"), ini);
}

// A read-only book opens with a word about it; a folder where nothing can
// be written only loses the logs and the memory of the book.
TEST_F(Startup, AReadOnlyBookOrFolderStillOpens)
{
    addDatabase();
    ASSERT_TRUE(QFile::setPermissions(home("TND.dbx"), QFile::ReadOwner | QFile::ReadOther));
    // Directories where the files would go make every write of them fail.
    for (const char* name : {"Address.ini", "Trace.log", "Error.log"})
        ASSERT_TRUE(QDir(home()).mkdir(name));
    m_prompts.answerMessage(Answer::OK);
    start();
    EXPECT_TRUE(connected());
    expectOneMessage("read-only", platform::Icon::Information);
    EXPECT_NE(tovren::errHandler().Push("a.b"), 0);
}

TEST_F(Startup, AMissingErrorHandlerLibraryIsOneClearMessage)
{
    QTemporaryDir empty;
    tovren::setComponentFolder(empty.path());
    m_prompts.answerMessage(Answer::OK);
    EXPECT_THROW(start(), ProgramEnded);
    expectOneMessage("libvostrel.so", platform::Icon::Critical);
}

} // namespace
