#include "email_text.h"

#include "basic_strings.h"

#include <QStringList>
#include <QUrl>

namespace Vostrel {

QString emailSummary(const ErrorSummary& summary)
{
    const AppDescriptor& app = summary.app;
    const QStringList lines{
        QStringLiteral("#:     ") + QString::number(summary.errNum),
        QStringLiteral("Proc:  ") + trimSpaces(summary.procName),
        QStringLiteral("Line:  ") + QString::number(summary.errLine),
        QStringLiteral("Desc:  ") + trimSpaces(summary.errDesc),
        QString(),
        QStringLiteral("App:   %1 %2.%3.%4")
            .arg(app.ProductName)
            .arg(app.Major)
            .arg(app.Minor)
            .arg(app.Revision),
        QString(),
        QStringLiteral("Please paste Error Detail into email message (Ctrl+C)"),
        QStringLiteral("or attach: ") + summary.errorLogPath,
    };
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QString mailtoLink(const QString& address, const QString& cc, const QString& subject,
                   const QString& body)
{
    QStringList fields;
    if (!cc.isEmpty())
        fields << QStringLiteral("CC=") + cc;
    if (!subject.isEmpty())
        fields << QStringLiteral("Subject=") + subject;
    if (!body.isEmpty())
        fields << QStringLiteral("Body=") + escapeMailBody(body);
    const QString link = QStringLiteral("MailTo:") + address;
    return fields.isEmpty() ? link : link + QLatin1Char('?') + fields.join(QLatin1Char('&'));
}

QString reportMailLink(const QString& address, const QString& subject, const QString& body)
{
    const auto escaped = [](const QString& text, const QByteArray& keep = {}) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
    };
    return QStringLiteral("mailto:") + escaped(address, "@!$'*+,;=") + QStringLiteral("?Subject=")
           + escaped(subject) + QStringLiteral("&Body=") + escaped(body);
}

QString escapeMailBody(const QString& body)
{
    QString text = body;
    // "%" first, so that the escapes added below stay as they are.
    text.replace(QLatin1Char('%'), QStringLiteral("%25"))
        .replace(QLatin1Char('\t'), QString(5, QLatin1Char(' ')))
        .replace(QLatin1Char(' '), QStringLiteral("%20"))
        .replace(QLatin1Char('&'), QStringLiteral("%26"))
        .replace(QLatin1Char('#'), QStringLiteral("%23"))
        .replace(QStringLiteral("\r\n"), QStringLiteral("%0D%0A"));
    return text;
}

} // namespace Vostrel
