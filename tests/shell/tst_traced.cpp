// The traced-procedure idiom: announcements, arguments, early returns and
// the error block that hands the error to the handler.

#include "shell_fixture.h"

#include "core/traced.h"

#include "platform/error_numbers.h"

#include <QPlainTextEdit>

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
            platform::raise(platform::err::Overflow, QStringLiteral("too small"));
        if (value == 0)
            return 0; // an early return pops like any other
        return value * 2;
    });
}

TEST_F(Traced, NormalExitsPopAndResultsComeBack)
{
    const int before = stack().size();
    QStringList during;
    const int result =
        traced("modTest.outer", {{"frm", "Form", tovren::objectArg(m_main.get())}}, [&] {
            during = stack();
            return inner(0) + inner(21);
        });
    EXPECT_EQ(result, 42);
    EXPECT_EQ(during.last(), QStringLiteral("modTest.outer"));
    EXPECT_EQ(stack().size(), before);
}

TEST_F(Traced, AnErrorGoesToTheHandlerAndTheCallerCarriesOn)
{
    QString report;
    m_prompts.handleModal([&](QDialog& dialog) {
        report = dialog.findChild<QPlainTextEdit*>(QStringLiteral("lbxErrMessage"))->toPlainText();
        dialog.reject();
    });
    bool carriedOn = false;
    traced("modTest.outer", [&] {
        EXPECT_EQ(inner(-1), 0); // the failed procedure returns a default
        carriedOn = true;
    });
    EXPECT_TRUE(carriedOn);
    Vostrel::clsErrHandler& handler = tovren::errHandler();
    EXPECT_EQ(handler.ErrNum(), platform::err::Overflow);
    EXPECT_EQ(handler.ProcName(), QStringLiteral("modTest.inner"));
    EXPECT_EQ(handler.ErrDesc(), QStringLiteral("too small"));
    EXPECT_NE(handler.ErrLine().toInt(), 0);
    EXPECT_TRUE(report.contains(QStringLiteral("01  modTest.outer")));
    EXPECT_TRUE(report.contains(QStringLiteral("02    modTest.inner")));
    EXPECT_TRUE(report.contains(QStringLiteral("Name: value")));
    EXPECT_TRUE(report.contains(QStringLiteral("Value: -1")));
    // The handler emptied the stack; the outer Pop found nothing to pop.
    EXPECT_EQ(stack(), QStringList{QString()});
}

TEST_F(Traced, OtherExceptionsAreRunTimeErrorsToo)
{
    m_prompts.handleModal([](QDialog& dialog) { dialog.reject(); });
    traced("modTest.throws", [] { throw std::runtime_error("disk on fire"); });
    EXPECT_EQ(tovren::errHandler().ErrNum(), platform::err::InternalError);
    EXPECT_EQ(tovren::errHandler().ErrDesc(), QStringLiteral("disk on fire"));
}

} // namespace
