#include "mime_message.h"

#include <QMimeDatabase>

#include <cstring>

#include <vmime/vmime.hpp>

namespace platform {
namespace {

vmime::string utf8(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return vmime::string(bytes.constData(), size_t(bytes.size()));
}

// Any text in a header: VMime encodes it as encoded words where it must, so
// a comma or bracket in it stays inside the one value. A line break, which
// no mail reader accepts inside a name, becomes a blank.
vmime::text headerText(const QString& text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    return vmime::text(vmime::word(utf8(line), vmime::charsets::UTF_8));
}

vmime::shared_ptr<vmime::mailbox> mailbox(const QString& name, const QString& address)
{
    const vmime::emailAddress plain(utf8(address));
    return name.isEmpty() ? vmime::make_shared<vmime::mailbox>(plain)
                          : vmime::make_shared<vmime::mailbox>(headerText(name), plain);
}

const vmime::encoding& base64Encoding()
{
    static const vmime::encoding encoding(vmime::encodingTypes::BASE64);
    return encoding;
}

// The file as it was encoded when read: VMime writes it as it stands.
vmime::shared_ptr<vmime::attachment> attachment(const MailAttachment& file)
{
    const QByteArray& encoded = file.base64();
    return vmime::make_shared<vmime::defaultAttachment>(
        vmime::make_shared<vmime::stringContentHandler>(
            vmime::string(encoded.constData(), size_t(encoded.size())), base64Encoding()),
        base64Encoding(), vmime::mediaType(utf8(file.type())), vmime::text(),
        vmime::word(utf8(file.fileName()), vmime::charsets::UTF_8));
}

// The body with LF line ends: VMime's quoted-printable writer breaks a
// long line before a CR LF wrongly, leaving a stray CR in the text.
vmime::string bodyText(const QString& body)
{
    QString text = body;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return utf8(text);
}

// The message as VMime writes it: CR LF line ends, except where the body
// text left a lone LF.
vmime::string generated(const MailMessage& message)
{
    vmime::messageBuilder builder;
    if (!message.fromAddress.trimmed().isEmpty())
        builder.setExpeditor(*mailbox(message.fromName, message.fromAddress.trimmed()));
    for (qsizetype i = 0; i < message.to.size(); ++i)
        builder.getRecipients().appendAddress(mailbox(message.toNames.value(i), message.to[i]));
    builder.setSubject(headerText(message.subject));
    builder.constructTextPart(
        vmime::mediaType(vmime::mediaTypes::TEXT, vmime::mediaTypes::TEXT_PLAIN));
    const auto text = vmime::dynamicCast<vmime::plainTextPart>(builder.getTextPart());
    text->setCharset(vmime::charsets::UTF_8);
    text->setText(vmime::make_shared<vmime::stringContentHandler>(bodyText(message.body)));
    for (const MailAttachment& file : message.attachments)
        builder.appendAttachment(attachment(file));

    return builder.construct()->generate();
}

} // namespace

MailAttachment::MailAttachment(const QString& fileName, const QByteArray& data)
    : m_fileName(fileName)
{
    static const QMimeDatabase types;
    m_type = types.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension).name();
    vmime::string encoded;
    vmime::utility::outputStreamStringAdapter out(encoded);
    vmime::stringContentHandler(vmime::string(data.constData(), size_t(data.size())))
        .generate(out, base64Encoding(),
                  vmime::generationContext::getDefaultContext().getMaxLineLength());
    m_base64 = QByteArray::fromStdString(encoded);
}

QByteArray mimeMessage(const MailMessage& message)
{
    // sendmail reads local text: LF line ends.
    QByteArray bytes = QByteArray::fromStdString(generated(message));
    bytes.replace("\r\n", "\n");
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    return bytes;
}

QByteArray smtpData(const MailMessage& message)
{
    // One pass over VMime's text: each LF gets the CR it lacks (a lone CR
    // stays as it is), and a line that begins with a dot keeps it only
    // when doubled.
    const vmime::string text = generated(message);
    QByteArray data;
    data.reserve(qsizetype(text.size() + text.size() / 16) + 2);
    const char* line = text.data();
    const char* const end = line + text.size();
    while (line < end) {
        if (*line == '.')
            data += '.';
        const auto* lf = static_cast<const char*>(std::memchr(line, '\n', size_t(end - line)));
        if (!lf) {
            data.append(line, end - line);
            break;
        }
        data.append(line, lf - line);
        data += lf > line && lf[-1] == '\r' ? "\n" : "\r\n";
        line = lf + 1;
    }
    if (!data.endsWith('\n'))
        data += "\r\n";
    return data;
}

} // namespace platform
