// The procedure stack, the trace log and the folder the logs go to.

#include "handler_fixture.h"

namespace vostrel_test {
namespace {

using VostrelCallStackTest = HandlerTest;

TEST_F(VostrelCallStackTest, GrowsWithPushesAndIsEmptiedByHandleError)
{
    EXPECT_EQ(callStack(), QStringList({"", ""}));
    for (const QString name : {"mdiMain.Form_Load", "modGenProcedures.Save", "Address.Save"})
        EXPECT_EQ(handler->Push(name), 0);
    EXPECT_EQ(callStack(),
              QStringList({"", "mdiMain.Form_Load", "modGenProcedures.Save", "Address.Save"}));
    EXPECT_EQ(handler->Pop(), 0);
    EXPECT_EQ(callStack(), QStringList({"", "mdiMain.Form_Load", "modGenProcedures.Save"}));

    EXPECT_EQ(handler->HandleError(u"Disk full"_s, 61, 7), 0);
    EXPECT_EQ(handler->ProcName(), u"modGenProcedures.Save"_s);
    EXPECT_EQ(callStack(), QStringList({""}));
    // The callers further out still pop on their way out: nothing happens.
    EXPECT_EQ(handler->Pop(), 0);
    EXPECT_EQ(callStack(), QStringList({""}));
    handler->Push(u"frmAddress.Form_Load"_s);
    EXPECT_EQ(callStack(), QStringList({"", "frmAddress.Form_Load"}));
}

TEST_F(VostrelCallStackTest, AddParamNeedsAProcedureOnTheStack)
{
    const auto addParam = [this] { handler->AddParam(u"Index"_s, u"Integer"_s, 1); };
    const platform::RunTimeError error = raised(addParam);
    EXPECT_EQ(error.number(), 9);
    EXPECT_EQ(error.description(), u"Subscript out of range"_s);
    handler->Push(u"frmAddress.txtFld_Change"_s);
    EXPECT_NO_THROW(addParam());
}

TEST_F(VostrelCallStackTest, TraceLogGetsOneLinePerPushAndStartsAfreshWhenSwitchedOn)
{
    const QString trace = path(u"Trace.log"_s);
    handler->setTraceExecution(true);
    handler->Push(u"mdiMain.Form_Load"_s);
    handler->Push(u"Ünal.Procédure"_s);
    handler->Pop();
    EXPECT_EQ(readBytes(trace), u"mdiMain.Form_Load\r\nÜnal.Procédure\r\n"_s.toUtf8());
    EXPECT_EQ(testing_support::modeOf(trace), 0600); // it holds the values

    handler->setTraceExecution(true);
    EXPECT_FALSE(QFile::exists(trace));
    handler->Push(u"frmAddress.Form_Load"_s);
    handler->setTraceExecution(false);
    handler->Push(u"untraced"_s);
    EXPECT_EQ(readBytes(trace), QByteArray("frmAddress.Form_Load\r\n"));
}

TEST_F(VostrelCallStackTest, DestinationLosesATrailingSlashAndTheSpacesAroundIt)
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
    fresh->setAppObj(tovren(m_dir.path()));
    fresh->setTraceExecution(true);
    EXPECT_EQ(fresh->Destination(), m_dir.path());
}

} // namespace
} // namespace vostrel_test
