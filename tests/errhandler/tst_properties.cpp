// The configuration members the host writes at start-up.

#include "handler_fixture.h"

namespace vostrel_test {
namespace {

using VostrelPropertiesTest = HandlerTest;

TEST_F(VostrelPropertiesTest, DestinationLosesATrailingSlashAndTheSpacesAroundIt)
{
    const std::pair<QString, QString> cases[] = {
        {"C:\\Tovren\\Logs\\", "C:\\Tovren\\Logs"},
        {"  /var/log/tovren/   ", "/var/log/tovren"},
        {"/var/log/tovren", "/var/log/tovren"},
        {" /var/log/tovren ", " /var/log/tovren "}, // no slash: stored as written
    };
    for (const auto& [written, stored] : cases) {
        handler->setDestination(written);
        EXPECT_EQ(handler->Destination(), stored) << written.toStdString();
    }
    // Tracing without a destination writes into the program's folder.
    auto fresh = newHandler();
    auto app = tovren().value<Vostrel::AppDescriptor>();
    app.Path = m_dir.path();
    fresh->setAppObj(QVariant::fromValue(app));
    fresh->setTraceExecution(true);
    EXPECT_EQ(fresh->Destination(), m_dir.path());
}

TEST_F(VostrelPropertiesTest, ConnectionMustBeAnOpenConnection)
{
    auto open = std::make_shared<FakeConnection>();
    open->errors = {{-2147217900, 1, QStringLiteral("locked"), {}, {}}};
    auto closed = std::make_shared<FakeConnection>();
    closed->connectionString.clear();
    const QString invalid = "Must pass in a valid connection or database object";
    const std::tuple<QVariant, qint32, QString> cases[] = {
        {QVariant::fromValue(Vostrel::DbConnectionRef(open)), 0, QString()},
        {QStringLiteral("Data Source=TND.dbx"), -2147220503, invalid},
        {QVariant::fromValue(Vostrel::DbConnectionRef()), -2147220503, invalid},
        {QVariant::fromValue(Vostrel::DbConnectionRef(closed)), -2147220502,
         "ADO connection must be open before passing to the Error Object"}};
    for (const auto& [value, number, description] : cases) {
        const platform::RunTimeError error = raised([&] { handler->setCn(value); });
        EXPECT_EQ(error.number(), number) << description.toStdString();
        EXPECT_EQ(error.description(), description);
        EXPECT_EQ(error.source(), number ? "Vostrel" : "Tovren");
    }
    // The refusals left the open connection in place.
    handler->HandleError(QStringLiteral("locked"), -2147217900, 1);
    EXPECT_EQ(handler->ErrorType(), QStringLiteral("1"));
}

} // namespace
} // namespace vostrel_test
