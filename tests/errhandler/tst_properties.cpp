// The configuration members the host writes at start-up.

#include "fake_connection.h"
#include "handler_fixture.h"

#include "platform/runtime_error.h"

namespace vostrel_test {
namespace {

using VostrelPropertiesTest = HandlerTest;

TEST_F(VostrelPropertiesTest, DestinationLosesATrailingSlashAndTheSpacesAroundIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Tovren\\Logs\\", "C:\\Tovren\\Logs"},
        {"  /var/log/tovren/   ", "/var/log/tovren"},
        {"/var/log/tovren", "/var/log/tovren"},
        {" /var/log/tovren ", " /var/log/tovren "}, // no slash: stored as written
    };
    for (const auto& [written, stored] : cases) {
        handler->setDestination(QString::fromLatin1(written));
        EXPECT_EQ(handler->Destination(), QString::fromLatin1(stored)) << written;
    }
}

TEST_F(VostrelPropertiesTest, ConnectionMustBeAnOpenConnection)
{
    const auto refusal = [this](const QVariant& value) {
        try {
            handler->setCn(value);
        } catch (const platform::RunTimeError& error) {
            EXPECT_EQ(error.source(), QStringLiteral("Vostrel"));
            return std::make_pair(error.number(), error.description());
        }
        return std::make_pair(0, QString());
    };
    auto open = std::make_shared<FakeConnection>();
    open->errors = {{-2147217900, 1, QStringLiteral("locked"), {}, {}}};
    EXPECT_EQ(refusal(QVariant::fromValue(Vostrel::DbConnectionRef(open))).first, 0);

    EXPECT_EQ(refusal(QStringLiteral("Data Source=TND.dbx")),
              std::make_pair(-2147220503, QStringLiteral("Must pass in a valid connection or "
                                                         "database object")));
    EXPECT_EQ(refusal(QVariant::fromValue(Vostrel::DbConnectionRef())).first, -2147220503);
    auto closed = std::make_shared<FakeConnection>();
    closed->connectionString.clear();
    EXPECT_EQ(refusal(QVariant::fromValue(Vostrel::DbConnectionRef(closed))),
              std::make_pair(-2147220502, QStringLiteral("ADO connection must be open before "
                                                         "passing to the Error Object")));

    // The refusals left the open connection in place.
    handler->HandleError(QStringLiteral("locked"), -2147217900, 1);
    EXPECT_EQ(handler->ErrorType(), QStringLiteral("1"));
}

TEST_F(VostrelPropertiesTest, DescriptorFillsTheReportAndCanBeCleared)
{
    handler->setAppObj(tovren());
    handler->HandleError(QStringLiteral("x"), 5, 1);
    EXPECT_TRUE(handler->ErrorLogDisplay().contains(QStringLiteral("App Name:\tTovren")));

    handler->setAppObj(QVariant());
    handler->HandleError(QStringLiteral("x"), 5, 1);
    EXPECT_TRUE(handler->ErrorLogDisplay().startsWith(QStringLiteral("Application Error")));
    EXPECT_FALSE(handler->ErrorLogDisplay().contains(QStringLiteral("Additional Information")));
    EXPECT_THROW(handler->setAppObj(42), platform::RunTimeError);
}

} // namespace
} // namespace vostrel_test
