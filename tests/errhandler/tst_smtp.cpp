// Mail method 3: the report dialog sends the report over SMTP, to a real
// server and to scripted ones that misbehave.

#include "handler_fixture.h"
#include "scripted_smtp.h"

#include "support/smtp_sink.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>

namespace vostrel_test {
namespace {

using platform::Answer;

const QString success = u"Operation Successful: Composed Error Email in SMTP."_s;

class VostrelSmtpTest : public HandlerTest {
protected:
    void SetUp() override
    {
        HandlerTest::SetUp();
        // Short waits keep the misbehaving servers quick; 50 s is the default.
        qputenv("VOSTREL_SMTP_WAIT", "0.3");
        handler->setUseInterface(true);
        handler->setAppObj(tovren());
        handler->setEmailAddress(u"support@belvane.example"_s);
        handler->setFromName(u"Ada Ünal"_s);
        handler->setFromEmailAddress(u"ada@belvane.example"_s);
        handler->Push(u"frmAddress.cmdSave_Click"_s);
    }
    void TearDown() override { qunsetenv("VOSTREL_SMTP_WAIT"); }

    // Mails the next report by SMTP through `server`: the first click shows
    // the mail settings, where the method and the server are chosen.
    void mailBySmtp(const QString& server)
    {
        clickInReport({"cmdEmail", "cmdOK"});
        prompts.handleModal([server](QDialog& settings) {
            child<QRadioButton>(settings, "optSmtp")->click();
            child<QLineEdit>(settings, "txtMailserver")->setText(server);
            child(settings, "cmdSend")->click();
        });
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto& prompt : prompts.messages())
            texts << prompt.title + u": "_s + prompt.text;
        return texts;
    }
};

// A report line holding a single "." must not end the mail early.
TEST_F(VostrelSmtpTest, ReportArrivesWholeAtARealServer)
{
    testing_support::SmtpSink sink(path(u"sink"_s));
    ASSERT_TRUE(sink.error().isEmpty()) << sink.error().toStdString();
    mailBySmtp(u"127.0.0.1:%1"_s.arg(sink.port()));
    prompts.answerMessage(Answer::OK);
    handler->HandleError(u"Disk full\r\n.\r\n..and more after the dot"_s, 3640, 12);

    EXPECT_EQ(messageTexts(), QStringList{success});
    const auto messages = sink.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].from, u"ada@belvane.example"_s);
    EXPECT_EQ(messages[0].to, QStringList{u"support@belvane.example"_s});
    const QString content = QString::fromUtf8(messages[0].content);
    EXPECT_TRUE(content.startsWith(u"FROM:  Ada Ünal\r\n"_s)) << content.toStdString();
    EXPECT_EQ(content.section(u"\r\n\r\n"_s, 1), handler->ErrorLogDisplay() + u"\r\n\r\n"_s);
}

// Each keyword and value after two spaces, the sender's address without a
// name, the recipient's name, the machine's real offset from UTC in the
// date, and a report line starting with a dot doubled.
TEST_F(VostrelSmtpTest, DialogueBytesAsTheServerSawThem)
{
    handler->setToName(u"Support"_s);
    handler->setFromName(QString());
    ScriptedSmtpServer server({"220 ready", "250 hello", "250 sender ok", "250 rcpt ok", "354 go",
                               "250 queued", "221 bye"});
    mailBySmtp(u"localhost:%1"_s.arg(server.port()));
    prompts.answerMessage(Answer::OK);
    handler->HandleError(u".starts with a dot"_s, 5, 1);

    EXPECT_EQ(messageTexts(), QStringList{success});
    const QDateTime now = QDateTime::currentDateTime();
    const int offset = now.offsetFromUtc() / 60;
    const QString zone = QString::asprintf("%c%02d%02d", offset < 0 ? '-' : '+', qAbs(offset) / 60,
                                           qAbs(offset) % 60);
    const QString report = QString(handler->ErrorLogDisplay()).replace(u"\r\n."_s, u"\r\n.."_s);
    const QRegularExpression dialogue(
        u"^HELO localhost\r\nMAIL FROM:  ada@belvane.example\r\n"
        "RCPT TO:  support@belvane.example\r\nDATA\r\nFROM:  ada@belvane.example\r\n"
        "DATE:  [^,]+,%1(.).+?\\g{1}%2 \\d\\d:\\d\\d:\\d\\d%3\r\nError Object Mailer\r\n"
        "TO:  Support\r\nSUBJECT:  Tovren 1.0.5 Application Error\r\n\r\n%4\r\n\r\n"
        "\\.\r\nQUIT\r\n$"_s.arg(now.toString(u"dd"_s), QString::number(now.date().year()),
                                 QRegularExpression::escape(zone),
                                 QRegularExpression::escape(report)));
    EXPECT_TRUE(dialogue.match(QString::fromUtf8(server.received)).hasMatch())
        << server.received.toStdString();
}

// A silent server gets one time-out per wait; a refusal is named after the
// wait and the dialogue goes on; a dropped connection ends it, saying where
// (%1 the server's port). Each ends with the last command the server got.
TEST_F(VostrelSmtpTest, MisbehavingServersAreToldAndTheDialogueGoesOnOrEnds)
{
    const QString timeout =
        u"SMTP Timeout: SMTP Service error, Timed out while waiting for response"_s;
    const struct {
        QByteArrayList replies;
        QStringList told;
        QByteArray lastCommand;
    } servers[] = {
        {{}, QStringList(7, timeout) << success, "QUIT"},
        {{"220 ready", "250 hello", "250 ok", "550 no such user", "354 go", "250 queued",
          "221 bye"},
         {u"SMTP Timeout: SMTP Service error, Improper response Code, Code Should have "
          "been:250CodeRecieved550 no such user\r\n"_s,
          success},
         "QUIT"},
        {{"220 ready", ScriptedSmtpServer::closeNow},
         {u"SMTP Error: The error report could not be sent through the mail server "
          "127.0.0.1, port %1.\r\n\r\nThe remote host closed the connection."_s},
         "HELO 127.0.0.1"},
    };
    for (const auto& [replies, told, lastCommand] : servers) {
        ScriptedSmtpServer server(replies);
        mailBySmtp(u"127.0.0.1:%1"_s.arg(server.port()));
        QStringList expected;
        for (const QString& text : told) {
            prompts.answerMessage(Answer::OK);
            expected << QString(text).replace(u"%1"_s, QString::number(server.port()));
        }
        const qsizetype before = messageTexts().size();
        handler->Push(u"frmAddress.cmdSave_Click"_s);
        handler->HandleError(u"Disk full"_s, 61, 3);
        EXPECT_EQ(messageTexts().mid(before), expected);
        EXPECT_EQ(server.received.trimmed().split('\n').last().trimmed(), lastCommand);
    }
}

// Nothing reaches a server when a value would smuggle a line into the
// dialogue, when the server cannot be named, found or reached.
TEST_F(VostrelSmtpTest, BadValuesAndUnreachableServersAreToldAndSendNothing)
{
    ScriptedSmtpServer server({"220 ready"});
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 closedPort = closed.serverPort();
    closed.close();
    const struct {
        QString mailServer;
        QString toName;
        QString message;
    } cases[] = {
        {u"127.0.0.1:%1"_s.arg(server.port()), u"Support\r\nBCC: x@evil.example"_s,
         u"the recipient's name holds a line break"_s},
        {u"127.0.0.1:99999"_s, QString(), u"\"127.0.0.1:99999\" is not a mail server"_s},
        {u"[::1:25"_s, QString(), u"\"[::1:25\" is not a mail server"_s},
        {u"127.0.0.1:%1"_s.arg(closedPort), QString(),
         u"mail server 127.0.0.1, port %1.\r\n\r\nConnection refused"_s.arg(closedPort)},
        {u"no-such-host.invalid"_s, QString(),
         u"mail server no-such-host.invalid, port 25.\r\n\r\nHost not found"_s},
    };
    for (const auto& [mailServer, toName, message] : cases) {
        handler->setToName(toName);
        mailBySmtp(mailServer);
        prompts.answerMessage(Answer::OK);
        handler->Push(u"frmAddress.cmdSave_Click"_s);
        handler->HandleError(u"Disk full"_s, 61, 3);
        ASSERT_FALSE(prompts.messages().empty());
        EXPECT_EQ(prompts.messages().back().title, u"SMTP Error"_s);
        EXPECT_EQ(prompts.messages().back().icon, platform::Icon::Critical);
        EXPECT_TRUE(prompts.messages().back().text.contains(message))
            << prompts.messages().back().text.toStdString();
    }
    EXPECT_FALSE(server.connected());
}

} // namespace
} // namespace vostrel_test
