// The bytes of a message: as sendmail reads them, unchanged from one
// release to the next but for the date and the boundary, and as SMTP's DATA
// carries them, line by line the same with CR LF ends and leading dots
// doubled.

#include "platform/mime_message.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The date and the boundary, which change from message to message, named.
QByteArray masked(QByteArray bytes)
{
    const QRegularExpressionMatch boundary =
        QRegularExpression(R"(boundary="([^"]+)\")").match(QString::fromLatin1(bytes));
    bytes.replace(boundary.captured(1).toLatin1(), "BOUNDARY");
    return QString::fromLatin1(bytes)
        .replace(QRegularExpression("Date: [^\r\n]+"), "Date: DATE")
        .toLatin1();
}

platform::MailMessage letter(const QString& body)
{
    QByteArray binary;
    for (int i = 0; i < 100; ++i)
        binary += char(i * 7);
    return {"Zoë Sender",
            "sender@example.org",
            {"bo@example.org", "cy@example.org"},
            "Grüße\r\nBcc: eve@example.org",
            body,
            {"Bo, \"the\" <Boss>"},
            {{"map.pdf", binary}, {"notes.txt", ".\r\n.."}}};
}

TEST(MimeMessage, BytesStayAsTheyWereWhateverTheBodyAndAttachments)
{
    const QByteArray expected =
        "Subject: =?utf-8?Q?Gr=C3=BC=C3=9Fe_Bcc=3A_eve=40example=2Eorg?=\n"
        "From: =?utf-8?Q?Zo=C3=AB_Sender?= <sender@example.org>\n"
        "To: =?utf-8?Q?Bo=2C_=22the=22_=3CBoss=3E?= <bo@example.org>, cy@example.org\n"
        "Date: DATE\n"
        "Mime-Version: 1.0\n"
        "Content-Type: multipart/mixed; \n"
        " boundary=\"BOUNDARY\"\n"
        "\n"
        "This is a multi-part message in MIME format. Your mail reader does not\n"
        "understand MIME message format.\n"
        "--BOUNDARY\n"
        "Content-Type: text/plain; charset=utf-8\n"
        "Content-Transfer-Encoding: quoted-printable\n"
        "\n"
        "=2Edot first\n"
        "=2E.two\n"
        "lone\n"
        "CR\n"
        "\n"
        "no end\n"
        "--BOUNDARY\n"
        "Content-Type: application/pdf\n"
        "Content-Transfer-Encoding: base64\n"
        "Content-Disposition: attachment; filename=map.pdf\n"
        "\n"
        "AAcOFRwjKjE4P0ZNVFtiaXB3foWMk5qhqK+2vcTL0tng5+71/AMKERgfJi00O0JJUFdeZWxz\n"
        "eoGIj5adpKuyucDHztXc4+rx+P8GDRQbIikwNz5FTFNaYWhvdn2Ei5KZoKeutQ==\n"
        "--BOUNDARY\n"
        "Content-Type: text/plain\n"
        "Content-Transfer-Encoding: base64\n"
        "Content-Disposition: attachment; filename=notes.txt\n"
        "\n"
        "Lg0KLi4=\n"
        "--BOUNDARY--\n";
    EXPECT_EQ(masked(platform::mimeMessage(letter(".dot first\r\n..two\r\nlone\rCR\n\nno end"))),
              expected);
}

// SMTP's form is sendmail's with each LF made CR LF and each leading dot
// doubled, for bodies that end or not, hold dots, lone CRs, or long lines.
TEST(MimeMessage, SmtpDataIsTheSameMessageLineForLine)
{
    const QString bodies[] = {"", ".", "\r\n.\r\n..\n.\r.", "x\r\r\ny\r",
                              QString(5000, u'.') + "é\r\n."};
    for (const QString& body : bodies) {
        SCOPED_TRACE(body.left(20).toStdString());
        const platform::MailMessage message = letter(body);
        QByteArray local = masked(platform::mimeMessage(message));
        local.replace('\n', "\r\n").replace("\r\n.", "\r\n..");
        EXPECT_EQ(masked(platform::smtpData(message)), local);
    }
}

} // namespace
