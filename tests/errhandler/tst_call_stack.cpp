// The procedure stack and the trace log.

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

    EXPECT_EQ(handler->HandleError(QStringLiteral("Disk full"), 61, 7), 0);
    EXPECT_EQ(handler->ProcName(), QStringLiteral("modGenProcedures.Save"));
    EXPECT_EQ(callStack(), QStringList({""}));
    // The callers further out still pop on their way out: nothing happens.
    EXPECT_EQ(handler->Pop(), 0);
    EXPECT_EQ(callStack(), QStringList({""}));
    handler->Push(QStringLiteral("frmAddress.Form_Load"));
    EXPECT_EQ(callStack(), QStringList({"", "frmAddress.Form_Load"}));
}

TEST_F(VostrelCallStackTest, AddParamNeedsAProcedureOnTheStack)
{
    const auto addParam = [this] {
        handler->AddParam(QStringLiteral("Index"), QStringLiteral("Integer"), 1);
    };
    const platform::RunTimeError error = raised(addParam);
    EXPECT_EQ(error.number(), 9);
    EXPECT_EQ(error.description(), QStringLiteral("Subscript out of range"));
    handler->Push(QStringLiteral("frmAddress.txtFld_Change"));
    EXPECT_NO_THROW(addParam());
}

TEST_F(VostrelCallStackTest, TraceLogGetsOneLinePerPushAndStartsAfreshWhenSwitchedOn)
{
    const QString trace = path(QStringLiteral("Trace.log"));
    handler->setTraceExecution(true);
    handler->Push(QStringLiteral("mdiMain.Form_Load"));
    handler->Push(QStringLiteral("Ünal.Procédure"));
    handler->Pop();
    EXPECT_EQ(readFile(trace), QStringLiteral("mdiMain.Form_Load\r\nÜnal.Procédure\r\n").toUtf8());

    handler->setTraceExecution(true);
    EXPECT_FALSE(QFile::exists(trace));
    handler->Push(QStringLiteral("frmAddress.Form_Load"));
    handler->setTraceExecution(false);
    handler->Push(QStringLiteral("untraced"));
    EXPECT_EQ(readFile(trace), QByteArray("frmAddress.Form_Load\r\n"));
}

} // namespace
} // namespace vostrel_test
