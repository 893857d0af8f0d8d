// The traced-procedure idiom: the call stack, arguments, early returns and
// errors handed to the handler.

#include "shell_fixture.h"

#include "core/traced.h"
#include "platform/error_numbers.h"

namespace {

using tovren::traced;

class Traced : public ShellTest {
protected:
    void SetUp() override { frame(); }
    QStringList stack() const { return tovren::errHandler().CallStack().toStringList(); }
};

int inner(int value)
{
    return traced("modTest.inner", {{"value", "Integer", value}}, [&] {
        if (value < 0)
            platform::raise(platform::err::Overflow, "too small");
        if (value == 0)
            return 0; // an early return pops like any other
        return value * 2;
    });
}

// A procedure is on the call stack while it runs and off it when it ends,
// by an early return too, and its result comes back. An error goes to the
// handler with the stack and the arguments, the failed procedure gives a
// default and the caller carries on; any other exception is an error too.
TEST_F(Traced, ProceduresComeAndGoAndHandTheirErrorsOn)
{
    const qsizetype before = stack().size();
    const auto outer = [&] {
        EXPECT_EQ(stack().last(), "modTest.outer");
        return inner(0) + inner(21);
    };
    EXPECT_EQ(traced("modTest.outer", {{"frm", "Form", tovren::objectArg(m_main.get())}}, outer),
              42);
    EXPECT_EQ(stack().size(), before);

    expectReport();
    bool carriedOn = false;
    traced("modTest.outer", [&] {
        EXPECT_EQ(inner(-1), 0); // the failed procedure returns a default
        carriedOn = true;
    });
    EXPECT_TRUE(carriedOn);
    Vostrel::clsErrHandler& handler = tovren::errHandler();
    EXPECT_EQ(handler.ErrNum(), platform::err::Overflow);
    EXPECT_EQ(handler.ProcName(), "modTest.inner");
    EXPECT_EQ(handler.ErrDesc(), "too small");
    EXPECT_NE(handler.ErrLine().toInt(), 0);
    for (const char* line :
         {"01  modTest.outer", "02    modTest.inner", "Name: value", "Value: -1"})
        EXPECT_TRUE(m_report.contains(line)) << line;
    // The handler emptied the stack; the outer Pop found nothing to pop.
    EXPECT_EQ(stack(), QStringList{QString()});

    expectReport();
    traced("modTest.throws", [] { throw std::runtime_error("disk on fire"); });
    EXPECT_EQ(handler.ErrNum(), platform::err::InternalError);
    EXPECT_EQ(handler.ErrDesc(), "disk on fire");
}

} // namespace
