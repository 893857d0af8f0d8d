#include "mime_message.h"

#include <QMimeDatabase>

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

vmime::shared_ptr<vmime::attachment> attachment(const MailAttachment& file)
{
    static const QMimeDatabase types;
    const QString type = types.mimeTypeForFile(file.fileName, QMimeDatabase::MatchExtension).name();
    return vmime::make_shared<vmime::defaultAttachment>(
        vmime::make_shared<vmime::stringContentHandler>(file.data.toStdString()),
        vmime::encoding(vmime::encodingTypes::BASE64), vmime::mediaType(utf8(type)), vmime::text(),
        vmime::word(utf8(file.fileName), vmime::charsets::UTF_8));
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

} // namespace

QByteArray mimeMessage(const MailMessage& message)
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

    // sendmail reads local text: LF line ends.
    QByteArray bytes = QByteArray::fromStdString(builder.construct()->generate());
    bytes.replace("\r\n", "\n");
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    return bytes;
}

} // namespace platform
