// The error report: its text, Error.log, and when nothing is reported.

#include "handler_fixture.h"

#include <QDialog>
#include <QDir>
#include <QPlainTextEdit>
#include <QRegularExpression>

namespace vostrel_test {
namespace {

using VostrelReportTest = HandlerTest;

QString maskTime(QString report)
{
    static const QRegularExpression time(QStringLiteral("Current Time:\t[^\r]+"));
    return report.replace(time, QStringLiteral("Current Time:\t<time>"));
}

TEST_F(VostrelReportTest, ListsTheStackAndOnlyTheFailingProceduresArguments)
{
    handler->setAppObj(tovren());
    handler->setCurrentOperation(QStringLiteral("Saving the card"));
    handler->Push(QStringLiteral("mdiMain.mnuSave_Click"));
    handler->AddParam(QStringLiteral("Index"), QStringLiteral("Integer"), 4);
    handler->Push(QStringLiteral("modGenProcedures.Save"));
    handler->Push(QStringLiteral("Address.Let_PinCode"));
    handler->AddParam(QStringLiteral("vData"), QStringLiteral("String"), QStringLiteral("40 01"));
    handler->AddParam(QStringLiteral("bForce"), QStringLiteral("Boolean"), true);

    ASSERT_EQ(handler->HandleError(QStringLiteral("Disk full"), 3640, 12,
                                   QStringLiteral("The card was not saved.")),
              0);

    const QString expected =
        QStringLiteral("Tovren Application Error Information\r\n"
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
                       "Path:\t\t/opt/tovren\r\nApp Name:\tTovren")
            .arg(QDir::currentPath());
    const QString report = handler->ErrorLogDisplay();
    EXPECT_EQ(maskTime(report).toStdString(), expected.toStdString());
    EXPECT_FALSE(report.contains(QStringLiteral("Current Time:\t\r\n")));
    EXPECT_EQ(readFile(path(QStringLiteral("Error.log"))),
              (report + QStringLiteral("\r\n")).toUtf8());
    EXPECT_EQ(handler->CustomErrMessage().toString(), QStringLiteral("The card was not saved."));

    // A cleared descriptor leaves the title and Additional Information out;
    // a value that is no descriptor is refused.
    handler->setAppObj(QVariant());
    handler->HandleError(QStringLiteral("x"), 5, 1);
    EXPECT_TRUE(handler->ErrorLogDisplay().startsWith(QStringLiteral("Application Error")));
    EXPECT_FALSE(handler->ErrorLogDisplay().contains(QStringLiteral("Additional Information")));
    EXPECT_THROW(handler->setAppObj(42), platform::RunTimeError);
}

TEST_F(VostrelReportTest, HeadsArgumentsWithOrdinalsAndShowsValuesAsText)
{
    QObject window;
    {
        // A handler that went away mid-procedure leaves nothing to the next one.
        auto gone = newHandler();
        gone->Push(QStringLiteral("Gone.Procedure"));
        gone->AddParam(QStringLiteral("stale"), QStringLiteral("String"), QString());
    }
    // The first four arguments and how they show; the others are numbers.
    const std::pair<QVariant, const char*> shown[] = {
        {false, "False"}, {0.5, "0.5"}, {QVariant::fromValue(&window), "-----"}, {QVariant(), ""}};
    handler->Push(QStringLiteral("frmAddress.Form_Load"));
    for (int i = 1; i <= 111; ++i)
        handler->AddParam(QStringLiteral("p%1").arg(i), QStringLiteral("Variant"),
                          i <= 4 ? shown[i - 1].first : QVariant(i));
    handler->HandleError(QStringLiteral("Invalid use of Null"), 94, 3);
    const QString report = handler->ErrorLogDisplay();
    for (const char* heading : {"\r\n1st Param:", "\n2nd Param:", "\n3rd Param:", "\n4th Param:",
                                "\n11th Param:", "\n12th Param:", "\n13th Param:", "\n21st Param:",
                                "\n22nd Param:", "\n101st Param:", "\n111th Param:"})
        EXPECT_TRUE(report.contains(QLatin1String(heading))) << heading;
    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(report.contains(QStringLiteral("Name: p%1\r\nType: Variant\r\nValue: %2\r\n")
                                        .arg(i)
                                        .arg(shown[i - 1].second)));
    EXPECT_FALSE(report.contains(QStringLiteral("stale")));
    // Without a descriptor the report ends with the last argument's line.
    EXPECT_TRUE(report.startsWith(QStringLiteral("Application Error Information\r\n")));
    EXPECT_TRUE(report.endsWith(QStringLiteral("Name: p111\r\nType: Variant\r\nValue: 111")));
}

TEST_F(VostrelReportTest, DriverErrorsBecomeADatabaseSectionForGood)
{
    auto connection = std::make_shared<FakeConnection>();
    connection->errors = {{-2147217900, -1,
                           QStringLiteral("[ODBC Microsoft Access Driver] Syntax error"),
                           QStringLiteral("SQLite"), QStringLiteral("42000")},
                          {-2147467259, 5, QStringLiteral("database is locked"),
                           QStringLiteral("SQLite"), QStringLiteral("HY000")}};
    handler->setCn(QVariant::fromValue(Vostrel::DbConnectionRef(connection)));
    handler->setAppObj(tovren());
    handler->Push(QStringLiteral("DataSource.Save"));

    handler->HandleError(QStringLiteral("Syntax error in query"), -2147217900, 30);
    EXPECT_EQ(handler->ErrNum(), 3604);
    EXPECT_EQ(handler->ErrorType(), QStringLiteral("1"));
    EXPECT_EQ(handler->ErrDesc(), QStringLiteral("\r\nDATABASE ERROR MESSAGE(S)\r\n\r\n"
                                                 "DB ERROR 1\tNative DB ERR#: -1\r\n"
                                                 "DESCRIPTION:\tDatabase Error:  Syntax error\r\n"
                                                 "SOURCE:\t\tSQLite\r\nSQL STATE:\t42000\r\n"
                                                 "ERROR:\t\t3604 (-2147217900)"
                                                 "DB ERROR 2\tNative DB ERR#: 5\r\n"
                                                 "DESCRIPTION:\tdatabase is locked\r\n"
                                                 "SOURCE:\t\tSQLite\r\nSQL STATE:\tHY000\r\n"
                                                 "ERROR:\t\t-245755 (-2147467259)"));
    EXPECT_TRUE(handler->ErrorLogDisplay().startsWith(
        QStringLiteral("Tovren Database Error Information\r\n")));
    EXPECT_EQ(connection->clears, 1);
    EXPECT_EQ(connection->refreshes, 1);

    // No driver errors this time: the description is only cleaned, yet the
    // handler has reported a database error and says so from now on.
    handler->HandleError(QStringLiteral("x [SQL Server]Timeout expired"), 3704, 1);
    EXPECT_EQ(handler->ErrNum(), 3704);
    EXPECT_EQ(handler->ErrDesc(), QStringLiteral("Database Error: Timeout expired"));
    EXPECT_TRUE(handler->ErrorLogDisplay().startsWith(QStringLiteral("Tovren Database Error")));
}

TEST_F(VostrelReportTest, NoReportForErrorZeroOrNumbersThatOverflow)
{
    handler->Push(QStringLiteral("frmAddress.Form_Load"));
    EXPECT_EQ(handler->HandleError(QStringLiteral("late"), 5, 40000), 6);
    EXPECT_EQ(handler->HandleError(QStringLiteral("huge"), 3e9, 1), 6);
    EXPECT_EQ(handler->ErrDesc(), QString());
    EXPECT_EQ(handler->HandleError(QStringLiteral("no error"), 0, 5), 0);
    EXPECT_EQ(handler->ErrDesc(), QStringLiteral("no error"));
    EXPECT_EQ(handler->ErrLine(), QStringLiteral("5"));
    EXPECT_TRUE(handler->ErrorLogDisplay().isEmpty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Error.log"))));
    EXPECT_EQ(callStack(), QStringList({"", "frmAddress.Form_Load"}));
}

TEST_F(VostrelReportTest, CancelledReportKeepsThePreviousTextButStillUnwinds)
{
    EventSink sink;
    handler->Advise(&sink);
    handler->HandleError(QStringLiteral("first"), 5, 1);
    const QString first = handler->ErrorLogDisplay();
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("Error.log"))));

    sink.cancel = true;
    handler->setUseInterface(true);
    handler->Push(QStringLiteral("frmAddress.Form_Load"));
    QString shown;
    prompts.handleModal([&](QDialog& dialog) {
        shown = dialog.findChild<QPlainTextEdit*>(QStringLiteral("lbxErrMessage"))->toPlainText();
    });
    EXPECT_EQ(handler->HandleError(QStringLiteral("second"), 7, 2), 0);

    EXPECT_EQ(sink.before, 2);
    EXPECT_EQ(sink.after, 1);
    EXPECT_EQ(handler->ErrorLogDisplay(), first);
    EXPECT_EQ(shown, withLf(first));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Error.log"))));
    EXPECT_EQ(callStack(), QStringList({""}));
}

TEST_F(VostrelReportTest, UnwritableFolderFailsTracingButStillShowsTheReport)
{
    QFile file(path(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    handler->setDestination(file.fileName());
    handler->setTraceExecution(true);
    handler->setUseInterface(true);
    EXPECT_NE(handler->Push(QStringLiteral("frmAddress.Form_Load")), 0);
    prompts.handleModal([](QDialog&) {});
    EXPECT_EQ(handler->HandleError(QStringLiteral("Disk full"), 61, 3), 0);
    EXPECT_EQ(prompts.recorded().size(), 1u);
    EXPECT_TRUE(handler->ErrorLogDisplay().contains(QStringLiteral("01  frmAddress.Form_Load")));
    EXPECT_EQ(callStack(), QStringList({""}));
}

} // namespace
} // namespace vostrel_test
