// Tools, Synchronize on the real program against radicale: the summary
// told after, the card showing what came down, and a sync cancelled from
// its progress window finished by the next without doubling anything.

#include "card/card_fixture.h"

#include "core/program.h"
#include "support/dav_server.h"

namespace {

using testing_support::DavServer;

class Synchronize : public CardTest {
protected:
    void SetUp() override
    {
        CardTest::SetUp();
        m_server.emplace(DavServer::Kind::Radicale);
        if (!m_server->error().isEmpty())
            GTEST_SKIP() << m_server->error().toStdString();
    }
    // The account in Address.ini, its password from a command.
    void setUpAccount()
    {
        tovren::writeSetting("Sync", "URL", m_server->book().toString());
        tovren::writeSetting("Sync", "User", m_server->userName());
        tovren::writeSetting("Sync", "PasswordCommand",
                             QString("printf %s '%1'").arg(DavServer::password));
    }
    QString lastMessage() const { return m_prompts.messages().back().text; }

    std::optional<DavServer> m_server;
};

TEST_F(Synchronize, SummarisesAndCancelsWithoutDoubling)
{
    openCard({"Asha Rao", "Ravi Iyer"});
    trigger("mnuSynchronize", {platform::Answer::OK});
    EXPECT_TRUE(lastMessage().startsWith("No server is set up yet")) << lastMessage().toStdString();

    setUpAccount();
    m_prompts.cancelProgress(1);
    trigger("mnuSynchronize", {platform::Answer::OK});
    EXPECT_TRUE(lastMessage().contains("cancelled")) << lastMessage().toStdString();

    trigger("mnuSynchronize", {platform::Answer::OK});
    EXPECT_TRUE(lastMessage().contains("On the server: 1 added")) << lastMessage().toStdString();
    const QDir book(m_server->bookFolder());
    EXPECT_EQ(book.entryList({"*.vcf"}, QDir::Files).size(), 2);

    // A card from elsewhere comes down, and the card counts it.
    ASSERT_TRUE(testing_support::writeBytes(
        book.filePath("lena.vcf"),
        "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:lena\r\nFN:Lena Vogel\r\nEND:VCARD\r\n"));
    trigger("mnuSynchronize", {platform::Answer::OK});
    EXPECT_TRUE(lastMessage().startsWith("In the address book: 1 added"))
        << lastMessage().toStdString();
    EXPECT_EQ(stored().size(), 3);
    EXPECT_TRUE(counter().contains("3")) << counter().toStdString();
}

} // namespace
