// The error report: its text, Error.log, the database section, the dialog
// that shows it, and when nothing is reported.

#include "handler_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace vostrel_test {
namespace {

using VostrelReportTest = HandlerTest;

// Records the handler's events and cancels when told to.
struct EventSink final : Vostrel::clsErrHandlerEvents {
    bool cancel = false;
    int before = 0;
    int after = 0;
    void BeforeHandlerCalled(bool& Cancel) override
    {
        ++before;
        Cancel = cancel;
    }
    void AfterHandlerCalled() override { ++after; }
};

TEST_F(VostrelReportTest, ListsTheStackAndOnlyTheFailingProceduresArguments)
{
    handler->setAppObj(tovren());
    handler->setCurrentOperation(u"Saving the card"_s);
    handler->Push(u"mdiMain.mnuSave_Click"_s);
    handler->AddParam(u"Index"_s, u"Integer"_s, 4);
    handler->Push(u"modGenProcedures.Save"_s);
    handler->Push(u"Address.Let_PinCode"_s);
    handler->AddParam(u"vData"_s, u"String"_s, u"40 01"_s);
    handler->AddParam(u"bForce"_s, u"Boolean"_s, true);
    ASSERT_EQ(handler->HandleError(u"Disk full"_s, 3640, 12, u"The card was not saved."_s), 0);

    const QString expected =
        u"Tovren Application Error Information\r\n"
        "=================================================\r\n\r\n"
        "The card was not saved.\r\n\r\n"
        "Current Time:\t<time>\r\nError Number:\t3640\r\n"
        "Error Procedure:\tAddress.Let_PinCode\r\nError Line:\t12\r\n"
        "Error Description:\tDisk full\r\n\r\n"
        "Procedure Stack\r\n---------------\r\n"
        "01  mdiMain.mnuSave_Click\r\n"
        "02    modGenProcedures.Save\r\n"
        "03      Address.Let_PinCode\r\n"
        "1st Param:\r\nName: vData\r\nType: String\r\nValue: 40 01\r\n"
        "2nd Param:\r\nName: bForce\r\nType: Boolean\r\nValue: True\r\n\r\n"
        "Current Operation: Saving the card\r\n\r\n"
        "Additional Information\r\n----------------------\r\n"
        "Current Directory:\t%1\r\nTitle:\t\tTovren\r\nCompany Name:\tBelvane\r\n"
        "Major:\t\t1\r\nMinor:\t\t0\r\nRevision:\t\t5\r\n"
        "Path:\t\t/opt/tovren\r\nApp Name:\tTovren"_s.arg(QDir::currentPath());
    const QString report = handler->ErrorLogDisplay();
    static const QRegularExpression time(u"Current Time:\t[^\r]+"_s);
    EXPECT_EQ(QString(report).replace(time, u"Current Time:\t<time>"_s).toStdString(),
              expected.toStdString());
    EXPECT_EQ(readBytes(path(u"Error.log"_s)), (report + u"\r\n"_s).toUtf8());
    EXPECT_EQ(testing_support::modeOf(path(u"Error.log"_s)), 0600); // it holds the values
    EXPECT_EQ(handler->CustomErrMessage().toString(), u"The card was not saved."_s);

    // A cleared descriptor leaves the title and Additional Information out;
    // a value that is no descriptor is refused.
    handler->setAppObj(QVariant());
    handler->HandleError(u"x"_s, 5, 1);
    EXPECT_TRUE(handler->ErrorLogDisplay().startsWith(u"Application Error"_s));
    EXPECT_FALSE(handler->ErrorLogDisplay().contains(u"Additional Information"_s));
    EXPECT_THROW(handler->setAppObj(42), platform::RunTimeError);
}

TEST_F(VostrelReportTest, HeadsArgumentsWithOrdinalsAndShowsValuesAsText)
{
    QObject window;
    {
        // A handler that went away mid-procedure leaves nothing to the next one.
        auto gone = newHandler();
        gone->Push(u"Gone.Procedure"_s);
        gone->AddParam(u"stale"_s, u"String"_s, QString());
    }
    // The first four arguments and how they show; the others are numbers.
    const std::pair<QVariant, const char*> shown[] = {
        {false, "False"}, {0.5, "0.5"}, {QVariant::fromValue(&window), "-----"}, {QVariant(), ""}};
    handler->Push(u"frmAddress.Form_Load"_s);
    for (int i = 1; i <= 111; ++i)
        handler->AddParam(u"p%1"_s.arg(i), u"Variant"_s, i <= 4 ? shown[i - 1].first : i);
    handler->HandleError(u"Invalid use of Null"_s, 94, 3);
    const QString report = handler->ErrorLogDisplay();
    for (const char* heading : {"\r\n1st Param:", "\n2nd Param:", "\n3rd Param:", "\n4th Param:",
                                "\n11th Param:", "\n12th Param:", "\n13th Param:", "\n21st Param:",
                                "\n22nd Param:", "\n101st Param:", "\n111th Param:"})
        EXPECT_TRUE(report.contains(QLatin1String(heading))) << heading;
    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(report.contains(
            u"Name: p%1\r\nType: Variant\r\nValue: %2\r\n"_s.arg(i).arg(shown[i - 1].second)));
    EXPECT_FALSE(report.contains(u"stale"_s));
    // Without a descriptor the report ends with the last argument's line.
    EXPECT_TRUE(report.startsWith(u"Application Error Information\r\n"_s));
    EXPECT_TRUE(report.endsWith(u"Name: p111\r\nType: Variant\r\nValue: 111"_s));
}

TEST_F(VostrelReportTest, OnlyAnOpenConnectionIsTakenAndItsDriverErrorsAreReported)
{
    auto open = std::make_shared<FakeConnection>();
    open->errors = {{-2147217900, -1, u"[ODBC Microsoft Access Driver] Syntax error"_s, u"SQLite"_s,
                     u"42000"_s},
                    {-2147467259, 5, u"database is locked"_s, u"SQLite"_s, u"HY000"_s}};
    auto closed = std::make_shared<FakeConnection>();
    closed->connectionString.clear();
    const QString invalid = u"Must pass in a valid connection or database object"_s;
    const std::tuple<QVariant, qint32, QString> cases[] = {
        {QVariant::fromValue(Vostrel::DbConnectionRef(open)), 0, QString()},
        {u"Data Source=TND.dbx"_s, -2147220503, invalid},
        {QVariant::fromValue(Vostrel::DbConnectionRef()), -2147220503, invalid},
        {QVariant::fromValue(Vostrel::DbConnectionRef(closed)), -2147220502,
         u"ADO connection must be open before passing to the Error Object"_s}};
    for (const auto& [value, number, description] : cases) {
        const platform::RunTimeError error = raised([&] { handler->setCn(value); });
        EXPECT_EQ(error.number(), number) << description.toStdString();
        EXPECT_EQ(error.description(), description);
        EXPECT_EQ(error.source(), number ? "Vostrel" : "Tovren");
    }

    // The refusals left the open connection in place.
    handler->setAppObj(tovren());
    handler->Push(u"DataSource.Save"_s);
    handler->HandleError(u"Syntax error in query"_s, -2147217900, 30);
    EXPECT_EQ(handler->ErrNum(), 3604);
    EXPECT_EQ(handler->ErrorType(), u"1"_s);
    EXPECT_EQ(handler->ErrDesc(), u"\r\nDATABASE ERROR MESSAGE(S)\r\n\r\n"
                                  "DB ERROR 1\tNative DB ERR#: -1\r\n"
                                  "DESCRIPTION:\tDatabase Error:  Syntax error\r\n"
                                  "SOURCE:\t\tSQLite\r\nSQL STATE:\t42000\r\n"
                                  "ERROR:\t\t3604 (-2147217900)"
                                  "DB ERROR 2\tNative DB ERR#: 5\r\n"
                                  "DESCRIPTION:\tdatabase is locked\r\n"
                                  "SOURCE:\t\tSQLite\r\nSQL STATE:\tHY000\r\n"
                                  "ERROR:\t\t-245755 (-2147467259)"_s);
    EXPECT_TRUE(handler->ErrorLogDisplay().startsWith(u"Tovren Database Error Information\r\n"_s));
    EXPECT_EQ(open->clears, 1);
    EXPECT_EQ(open->refreshes, 1);

    // No driver errors this time: the description is only cleaned, yet the
    // handler has reported a database error and says so from now on.
    handler->HandleError(u"x [SQL Server]Timeout expired"_s, 3704, 1);
    EXPECT_EQ(handler->ErrNum(), 3704);
    EXPECT_EQ(handler->ErrDesc(), u"Database Error: Timeout expired"_s);
    EXPECT_TRUE(handler->ErrorLogDisplay().startsWith(u"Tovren Database Error"_s));
}

TEST_F(VostrelReportTest, NoReportForErrorZeroOrNumbersThatOverflow)
{
    handler->Push(u"frmAddress.Form_Load"_s);
    EXPECT_EQ(handler->HandleError(u"late"_s, 5, 40000), 6);
    EXPECT_EQ(handler->HandleError(u"huge"_s, 3e9, 1), 6);
    EXPECT_EQ(handler->ErrDesc(), QString());
    EXPECT_EQ(handler->HandleError(u"no error"_s, 0, 5), 0);
    EXPECT_EQ(handler->ErrDesc() + handler->ErrLine(), u"no error5"_s);
    EXPECT_TRUE(handler->ErrorLogDisplay().isEmpty());
    EXPECT_FALSE(QFile::exists(path(u"Error.log"_s)));
    EXPECT_EQ(callStack(), QStringList({"", "frmAddress.Form_Load"}));
}

TEST_F(VostrelReportTest, CancelledReportKeepsThePreviousTextButStillUnwinds)
{
    EventSink sink;
    handler->Advise(&sink);
    handler->HandleError(u"first"_s, 5, 1);
    const QString first = handler->ErrorLogDisplay();
    ASSERT_TRUE(QFile::remove(path(u"Error.log"_s)));

    sink.cancel = true;
    handler->setUseInterface(true);
    handler->Push(u"frmAddress.Form_Load"_s);
    QString shown;
    prompts.handleModal([&](QDialog& dialog) {
        shown = dialog.findChild<QPlainTextEdit*>(u"lbxErrMessage"_s)->toPlainText();
    });
    EXPECT_EQ(handler->HandleError(u"second"_s, 7, 2), 0);
    EXPECT_EQ(sink.before, 2);
    EXPECT_EQ(sink.after, 1);
    EXPECT_EQ(handler->ErrorLogDisplay(), first);
    EXPECT_EQ(shown, withLf(first));
    EXPECT_FALSE(QFile::exists(path(u"Error.log"_s)));
    EXPECT_EQ(callStack(), QStringList({""}));
}

TEST_F(VostrelReportTest, UnwritableFolderFailsTracingButStillShowsTheReport)
{
    QFile file(path(u"not-a-folder"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    handler->setDestination(file.fileName());
    handler->setTraceExecution(true);
    handler->setUseInterface(true);
    EXPECT_NE(handler->Push(u"frmAddress.Form_Load"_s), 0);
    prompts.handleModal([](QDialog&) {});
    EXPECT_EQ(handler->HandleError(u"Disk full"_s, 61, 3), 0);
    EXPECT_EQ(prompts.recorded().size(), 1u);
    EXPECT_TRUE(handler->ErrorLogDisplay().contains(u"01  frmAddress.Form_Load"_s));
    EXPECT_EQ(callStack(), QStringList({""}));
}

// The report dialog HandleError shows.
class VostrelReportDialogTest : public HandlerTest {
protected:
    void SetUp() override
    {
        HandlerTest::SetUp();
        handler->setUseInterface(true);
        handler->Push(u"frmAddress.cmdSave_Click"_s);
        platform::setProgramOverride(platform::DesktopProgram::TextEditor,
                                     u"fake-editor --new-window"_s);
    }
    void TearDown() override
    {
        platform::setProgramOverride(platform::DesktopProgram::TextEditor, QString());
    }
};

TEST_F(VostrelReportDialogTest, ShowsTheReportAndOpensTheErrorLog)
{
    prompts.handleModal([this](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), u"lib_frmError"_s);
        EXPECT_EQ(dialog.windowTitle(), u"Application Error"_s);
        EXPECT_EQ(dialog.font().family(), u"Verdana"_s);
        auto* box = dialog.findChild<QPlainTextEdit*>(u"lbxErrMessage"_s);
        auto* number = dialog.findChild<QLabel*>(u"lblErrNum"_s);
        EXPECT_TRUE(box->isReadOnly());
        const QString report = handler->ErrorLogDisplay();
        EXPECT_EQ(box->toPlainText(), withLf(report));
        EXPECT_EQ(number->text(), u"Error Number: 3640"_s);
        EXPECT_EQ(number->font().family(), u"Verdana"_s);
        const std::pair<const char*, const char*> captions[] = {
            {"cmdOK", "&Return"},
            {"cmdEmail", "E&mail this Error"},
            {"cmdEmlSet", "&Change Email Settings"},
            {"cmdErrorLog", "&Error Log"},
            {"cmdTraceLog", "&Trace Log"}};
        for (const auto& [name, caption] : captions) {
            EXPECT_EQ(child(dialog, name)->text(), QLatin1String(caption));
            EXPECT_EQ(child(dialog, name)->font().family(), u"Tahoma"_s);
        }
        EXPECT_FALSE(child(dialog, "cmdTraceLog")->isEnabled());

        // Every activation puts the report back on the clipboard.
        for (int activation = 0; activation < 2; ++activation) {
            QApplication::clipboard()->setText(u"something else"_s);
            QEvent activate(QEvent::WindowActivate);
            QApplication::sendEvent(&dialog, &activate);
            EXPECT_EQ(QApplication::clipboard()->text(), report);
        }

        child(dialog, "cmdErrorLog")->click();
        ASSERT_EQ(desktop.programs.size(), 1u);
        EXPECT_EQ(desktop.programs[0],
                  QStringList({"fake-editor", "--new-window", path(u"Error.log"_s)}));

        child(dialog, "cmdOK")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    handler->HandleError(u"Disk full"_s, 3640, 12);
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(VostrelReportDialogTest, TraceLogWithTracingOnAndAMissingEditorExplained)
{
    handler->setTraceExecution(true);
    desktop.succeed = false;
    prompts
        .handleModal([this](QDialog& dialog) {
            EXPECT_EQ(dialog.findChild<QLabel*>(u"lblErrNum"_s)->text(),
                      u"Error Number: -2147467259"_s);
            ASSERT_TRUE(child(dialog, "cmdTraceLog")->isEnabled());
            child(dialog, "cmdTraceLog")->click();
        })
        .answerMessage(platform::Answer::OK);
    handler->HandleError(u"Cannot open the database"_s, -2147467259, 40);

    ASSERT_EQ(desktop.programs.size(), 1u);
    EXPECT_EQ(desktop.programs[0].last(), path(u"Trace.log"_s));
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0].title, u"Application Error"_s);
    EXPECT_EQ(prompts.messages()[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(prompts.messages()[0].text.contains(u"fake-editor"_s));
}

} // namespace
} // namespace vostrel_test
