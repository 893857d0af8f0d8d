// Start-up on a shared book whose server is down or refuses the login: the
// person is told the server, its port and what failed, never the password,
// and start-up goes on as for a missing book file.

#include "shell_fixture.h"

#include "data/connection_string.h"
#include "platform/help.h"
#include "platform/profile_file.h"
#include "shell/status_panels.h"
#include "support/pg_cluster.h"

#include <QLabel>

namespace {

using platform::Answer;
using testing_support::PgCluster;

class StartupOnServer : public ShellTest {
protected:
    void SetUp() override
    {
        m_pg = PgCluster::shared();
        if (!m_pg)
            GTEST_SKIP() << PgCluster::missingServerMessage;
        platform::setHelpFile(QString());
    }
    void TearDown() override
    {
        if (m_pg) {
            EXPECT_TRUE(m_pg->start());
        }
    }
    // Address.ini names the database postgres on the test cluster, as `user`.
    void nameServer(const QString& user, const QString& password = QString())
    {
        QFile::remove(home("Address.ini"));
        QString book = m_pg->connectionString("postgres", user);
        if (!password.isEmpty())
            book += ";Password=" + password;
        for (const auto& [key, value] : data::parseConnectionString(book).values)
            platform::writeProfileString(home("Address.ini"), "DatabasePath", key, value);
    }
    // The message start-up showed as message `index`: about the server,
    // with `reason`.
    void expectServerNamed(size_t index, const QString& reason)
    {
        ASSERT_GT(m_prompts.messages().size(), index);
        const auto told = m_prompts.messages()[index];
        EXPECT_EQ(told.title, "Database Path");
        EXPECT_EQ(told.icon, platform::Icon::Exclamation);
        for (const QString& part : QStringList{"server " + m_pg->socketDir(),
                                               QString("port %1").arg(m_pg->port()), reason})
            EXPECT_TRUE(told.text.contains(part)) << told.text.toStdString();
    }

    PgCluster* m_pg = nullptr;
};

// Down, no password, a wrong one: each is told and the book beside the
// program opens instead; the password shows nowhere.
TEST_F(StartupOnServer, AServerDownOrRefusingIsToldThenTheBookBesideIsUsed)
{
    addDatabase();
    const QString wrong = "Wr0ng-Passw0rd";
    const std::tuple<const char*, QString, QString, QString> rows[] = {
        {"down", PgCluster::adminUser, QString(), "No such file or directory"},
        {"no password", PgCluster::secretUser, QString(), "no password supplied"},
        {"wrong password", PgCluster::secretUser, wrong, "password authentication failed"},
    };
    for (const auto& [what, user, password, reason] : rows) {
        SCOPED_TRACE(what);
        const size_t told = m_prompts.messages().size();
        nameServer(user, password);
        if (QString(what) == "down") {
            ASSERT_TRUE(m_pg->stop());
        }
        m_prompts.answerMessage(Answer::OK);
        start();
        ASSERT_TRUE(m_pg->start());
        expectServerNamed(told, reason);
        EXPECT_EQ(m_prompts.messages().size(), told + 1);
        EXPECT_FALSE(platform::helpFile().isEmpty()) << "the book beside was not opened";
        EXPECT_TRUE(tovren::connectionString().contains(home("TND.dbx")));
        EXPECT_TRUE(m_main->stbMain()->panel(1)->text().endsWith(
            ", port " + QString::number(m_pg->port()) + "' could not be opened; '"
            + home("TND.dbx") + "' is open instead."))
            << m_main->stbMain()->panel(1)->text().toStdString();
        for (const QByteArray& text : {m_prompts.messages().back().text.toUtf8(),
                                       readFile("Error.log"), readFile("Trace.log")}) {
            EXPECT_FALSE(text.contains(wrong.toUtf8()));
            EXPECT_FALSE(text.contains(PgCluster::secretPassword));
        }
    }
}

// Without a book beside the program the person is asked for one; a file
// chosen then is remembered in the server's place.
TEST_F(StartupOnServer, ARefusingServerWithoutABookBesideAsksForOne)
{
    nameServer(PgCluster::secretUser);
    m_prompts.answerMessage(Answer::OK).answerMessage(Answer::Cancel);
    EXPECT_THROW(start(), testing_support::ProgramEnded);
    expectServerNamed(0, "no password supplied");
    ASSERT_EQ(m_prompts.messages().size(), 2u);
    EXPECT_TRUE(m_prompts.messages()[1].text.startsWith("Database path not found."));

    const QString chosen = addDatabase("Chosen.dbx");
    m_prompts.answerMessage(Answer::OK).answerMessage(Answer::OK).answerOpenFile(chosen);
    start();
    const QByteArray ini = readFile("Address.ini");
    EXPECT_TRUE(ini.contains("Provider=Microsoft.Jet.OLEDB.4.0")) << ini.toStdString();
    EXPECT_TRUE(ini.contains(QByteArray("Data Source=" + chosen.toUtf8()))) << ini.toStdString();
    EXPECT_TRUE(ini.contains("User ID=tovren_secret")) << "the server's settings stay";
}

} // namespace
