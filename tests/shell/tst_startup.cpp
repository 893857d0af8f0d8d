// Start-up: finding the address book through Address.ini, the recovery
// dialogue, and bad configuration or database files.

#include "shell_fixture.h"

#include "support/book_lock.h"

#include "platform/help.h"
#include "platform/profile_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

using platform::Answer;
using testing_support::ProgramEnded;

QString fullConnection(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
           + QStringLiteral(";Persist Security Info=False");
}

class Startup : public ShellTest {
protected:
    bool connected() const { return !platform::helpFile().isEmpty(); }
    void SetUp() override { platform::setHelpFile(QString()); }

    void expectDatabasePathQuestion(size_t index)
    {
        const auto messages = m_prompts.messages();
        ASSERT_GT(messages.size(), index);
        EXPECT_EQ(messages[index].title, QStringLiteral("Database Path"));
        EXPECT_EQ(
            messages[index].text,
            QStringLiteral("Database path not found.\r\nSelect the database path first to login."
                           "Press Ok to select the database, else press Cancel to exit"));
        EXPECT_EQ(messages[index].buttons, platform::Buttons::OKCancel);
        EXPECT_EQ(messages[index].icon, platform::Icon::Critical);
    }
};

TEST_F(Startup, FirstStartFindsTheBookBesideTheProgramSilently)
{
    const QString db = addDatabase();
    writeFile(QStringLiteral("Trace.log"), "an old run\r\n");
    start();
    EXPECT_TRUE(connected());
    EXPECT_TRUE(m_prompts.recorded().empty());
    EXPECT_EQ(tovren::connectionString(), fullConnection(db));
    EXPECT_EQ(readFile(QStringLiteral("Address.ini")),
              QByteArray("[DatabasePath]\nData Source=") + db.toUtf8() + "\n");
    EXPECT_FALSE(readFile(QStringLiteral("Trace.log")).contains("an old run"));
}

TEST_F(Startup, ACompleteConfigurationConnectsAtOnceAndIsNotRewritten)
{
    const QString db = addDatabase(QStringLiteral("elsewhere.dbx"));
    const QByteArray ini = "[DatabasePath]\r\nProvider=Microsoft.Jet.OLEDB.4.0\r\nData Source="
                           + db.toUtf8() + "\r\nPersist Security Info=False\r\n";
    writeFile(QStringLiteral("Address.ini"), ini);
    start();
    EXPECT_TRUE(connected());
    EXPECT_EQ(tovren::connectionString(), fullConnection(db) + QLatin1Char(';'));
    EXPECT_EQ(readFile(QStringLiteral("Address.ini")), ini);
}

TEST_F(Startup, TheProgramsOwnConfigurationWithoutProviderConnectsNextTime)
{
    addDatabase();
    start();
    ASSERT_TRUE(connected());
    const QByteArray ini = readFile(QStringLiteral("Address.ini"));
    platform::setHelpFile(QString());
    start();
    EXPECT_TRUE(connected());
    EXPECT_TRUE(m_prompts.recorded().empty());
    EXPECT_EQ(readFile(QStringLiteral("Address.ini")), ini);
}

TEST_F(Startup, ALongConfigurationSectionIsNotCut)
{
    const QString folder = home(QString(200, QLatin1Char('f')));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString db = folder + QStringLiteral("/TND.dbx");
    records::createDatabase(db);
    // An entry before the database path pushes the section well past 1 KB.
    writeFile(QStringLiteral("Address.ini"),
              "[DatabasePath]\nExtended Properties=" + QByteArray(1500, 'x')
                  + "\nData Source=" + db.toUtf8() + "\n");
    start();
    EXPECT_TRUE(connected());
    EXPECT_TRUE(m_prompts.recorded().empty());
    EXPECT_TRUE(tovren::connectionString().endsWith(QStringLiteral("Data Source=") + db
                                                    + QLatin1Char(';')));
}

TEST_F(Startup, NoBookAskedForOneThenChosen)
{
    const QString chosen =
        addDatabase(QStringLiteral("chosen/Book.dbx").replace(QLatin1Char('/'), QLatin1Char('-')));
    m_prompts.answerMessage(Answer::OK).answerOpenFile(chosen);
    start();
    EXPECT_TRUE(connected());
    expectDatabasePathQuestion(0);
    ASSERT_EQ(m_prompts.recorded().size(), 2u);
    EXPECT_EQ(m_prompts.recorded()[1].text, QStringLiteral("*.dbx|*.dbx"));
    EXPECT_EQ(tovren::connectionString(), fullConnection(chosen));
    EXPECT_EQ(readFile(QStringLiteral("Address.ini")),
              QByteArray("[DatabasePath]\nData Source=") + chosen.toUtf8() + "\n");
}

TEST_F(Startup, AnInvalidChoiceAsksAgainAndCancelEndsTheProgram)
{
    writeFile(QStringLiteral("junk.dbx"), "not a database");
    m_prompts.answerMessage(Answer::OK)
        .answerOpenFile(home(QStringLiteral("junk.dbx")))
        .answerMessage(Answer::Cancel);
    EXPECT_THROW(start(), ProgramEnded);
    expectDatabasePathQuestion(1);
    EXPECT_EQ(readFile(QStringLiteral("junk.dbx")), QByteArray("not a database"));
}

// A book another program holds is told as busy and waited for, never
// offered for replacement: OK tries again, Cancel ends the program.
TEST_F(Startup, ABookInUseIsWaitedForNeverReplaced)
{
    const QString db = addDatabase(QStringLiteral("elsewhere.dbx"));
    const QByteArray ini = "[DatabasePath]\r\nData Source=" + db.toUtf8() + "\r\n";
    writeFile(QStringLiteral("Address.ini"), ini);
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
    EXPECT_EQ(readFile(QStringLiteral("Address.ini")), ini);
}

TEST_F(Startup, CancellingTheFileDialogKeepsTheWindowWithoutDatabase)
{
    m_prompts.answerMessage(Answer::OK).answerOpenFile(QString());
    mdiMain& main = start();
    EXPECT_FALSE(connected());
    EXPECT_EQ(mdiMain::instance(), &main);
    // The default attempt was remembered, and nothing else was created.
    EXPECT_EQ(QDir(home()).entryList(QDir::Files), QStringList{QStringLiteral("Address.ini")});
}

TEST_F(Startup, BadConfigurationFilesStillLeadToTheBookAndKeepTheirContent)
{
    const QString db = addDatabase();
    const QByteArray big = QByteArray(4 << 20, 'x') + "\n";
    const QByteArray binary("\x7f"
                            "ELF\x02\x01\x01\x00\x00\xff\xfe\x80",
                            12);
    const QByteArray cases[] = {
        QByteArray(),
        binary,
        big,
        "\xEF\xBB\xBF[DatabasePath]\r\nData Source=/gone/TND.dbx\r\n",
        "[DatabasePath]\nData Source=/gone/TND.dbx\n",
        "[Something]\nelse=1\n",
        "[DatabasePath]\r\nProvider=Microsoft.Jet.OLEDB.4.0\r\nPersist Security Info=False\r\n",
    };
    for (const QByteArray& ini : cases) {
        platform::setHelpFile(QString());
        writeFile(QStringLiteral("Address.ini"), ini);
        start();
        EXPECT_TRUE(connected()) << ini.left(40).toStdString();
        EXPECT_EQ(tovren::connectionString(), fullConnection(db));
        const QByteArray after = readFile(QStringLiteral("Address.ini"));
        if (!ini.contains("[DatabasePath]")) {
            EXPECT_TRUE(after.startsWith(ini)) << "content lost: " << ini.left(40).toStdString();
        }
        EXPECT_EQ(platform::readProfileSection(home(QStringLiteral("Address.ini")),
                                               QStringLiteral("DatabasePath"))
                      .filter(QStringLiteral("Data Source")),
                  QStringList{QStringLiteral("Data Source=") + db});
    }
    EXPECT_TRUE(m_prompts.recorded().empty());
}

TEST_F(Startup, UnusableBookFilesAreReportedAndLeftAlone)
{
    const QByteArray good = [this] {
        addDatabase(QStringLiteral("template.dbx"));
        return readFile(QStringLiteral("template.dbx"));
    }();
    const QByteArray cases[] = {QByteArray(), good.left(2000), "plain text, no database"};
    for (const QByteArray& bytes : cases) {
        writeFile(QStringLiteral("TND.dbx"), bytes);
        const QDateTime modified = QFileInfo(home(QStringLiteral("TND.dbx"))).lastModified();
        m_prompts.answerMessage(Answer::Cancel);
        EXPECT_THROW(start(), ProgramEnded);
        expectDatabasePathQuestion(m_prompts.messages().size() - 1);
        EXPECT_EQ(readFile(QStringLiteral("TND.dbx")), bytes);
        EXPECT_EQ(QFileInfo(home(QStringLiteral("TND.dbx"))).lastModified(), modified);
    }

    // A book nobody may read is not read either.
    writeFile(QStringLiteral("TND.dbx"), good);
    ASSERT_TRUE(QFile::setPermissions(home(QStringLiteral("TND.dbx")), QFileDevice::Permissions()));
    m_prompts.answerMessage(Answer::Cancel);
    EXPECT_THROW(start(), ProgramEnded);
    QFile::setPermissions(home(QStringLiteral("TND.dbx")), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(readFile(QStringLiteral("TND.dbx")), good);
}

TEST_F(Startup, AReadOnlyBookOpens)
{
    addDatabase();
    ASSERT_TRUE(QFile::setPermissions(home(QStringLiteral("TND.dbx")),
                                      QFile::ReadOwner | QFile::ReadOther));
    m_prompts.answerMessage(Answer::OK);
    start();
    EXPECT_TRUE(connected());
    ASSERT_EQ(m_prompts.messages().size(), 1u);
    EXPECT_TRUE(m_prompts.messages()[0].text.contains(QStringLiteral("read-only")));
    EXPECT_EQ(m_prompts.messages()[0].icon, platform::Icon::Information);
}

TEST_F(Startup, AFolderThatCannotBeWrittenOnlyLosesTheLogsAndTheMemory)
{
    addDatabase();
    // Directories where the files would go make every write of them fail.
    for (const char* name : {"Address.ini", "Trace.log", "Error.log"})
        ASSERT_TRUE(QDir(home()).mkdir(QString::fromLatin1(name)));
    start();
    EXPECT_TRUE(connected());
    EXPECT_TRUE(m_prompts.recorded().empty());
    EXPECT_EQ(tovren::errHandler().Push(QStringLiteral("a.b")) != 0, true);
}

TEST_F(Startup, AMissingErrorHandlerLibraryIsOneClearMessage)
{
    QTemporaryDir empty;
    tovren::setComponentFolder(empty.path());
    m_prompts.answerMessage(Answer::OK);
    EXPECT_THROW(start(), ProgramEnded);
    ASSERT_EQ(m_prompts.messages().size(), 1u);
    EXPECT_TRUE(m_prompts.messages()[0].text.contains(QStringLiteral("libvostrel.so")));
    EXPECT_EQ(m_prompts.messages()[0].icon, platform::Icon::Critical);
}

} // namespace
