#include "utilities.h"

#include "app_info.h"
#include "mdimain.h"

#include "core/program.h"
#include "core/traced.h"
#include "platform/desktop.h"
#include "platform/error_numbers.h"
#include "platform/profile_file.h"

#include <QFile>
#include <QStringDecoder>
#include <QUrl>

namespace tovren {

void applyProgramChoices(const QString& iniPath)
{
    const QString section = QStringLiteral("Programs");
    platform::setProgramOverride(
        platform::DesktopProgram::Calculator,
        platform::readProfileString(iniPath, section, QStringLiteral("Calculator")));
    platform::setProgramOverride(
        platform::DesktopProgram::TextEditor,
        platform::readProfileString(iniPath, section, QStringLiteral("TextEditor")));
}

} // namespace tovren

void mdiMain::mnuUtilityCalc_Click()
{
    tovren::traced("mdiMain.mnuUtilityCalc_Click",
                   [] { platform::startDesktopProgram(platform::DesktopProgram::Calculator); });
}

void mdiMain::mnuSupport_Click()
{
    // The desktop's mail program opens a new message; its answer is not examined.
    platform::desktop().openUrl(QUrl(QStringLiteral("mailto:") + tovren::kSupportAddress));
}

namespace modGenProcedures {

void OpenNotepad()
{
    tovren::traced("modGenProcedures.OpenNotepad",
                   [] { platform::startDesktopProgram(platform::DesktopProgram::TextEditor); });
}

QString OpenFile(QString& sFileName)
{
    return tovren::traced(
        "modGenProcedures.OpenFile", {{"sFileName", "String", sFileName}}, [&]() -> QString {
            if (sFileName.isEmpty())
                return QString();
            if (sFileName.contains(QLatin1Char('"'))) {
                sFileName = sFileName.mid(1, sFileName.size() - 2);
                return sFileName;
            }
            if (!sFileName.contains(QLatin1Char('/')))
                sFileName = tovren::programFile(sFileName);

            const QString path = sFileName.trimmed();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                platform::raise(file.exists() ? platform::err::PathFileAccess
                                              : platform::err::FileNotFound,
                                QStringLiteral("The file '%1' could not be read: %2.")
                                    .arg(path, file.errorString()));
            const QByteArray bytes = file.readAll();
            QStringDecoder utf8(QStringConverter::Utf8);
            QString text = utf8.decode(bytes);
            if (utf8.hasError())
                text = QString::fromLatin1(bytes); // an old file in a single-byte code page
            // Lines come back as they stand, each ended by CR LF: a message body
            // keeps its commas and quotes.
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            if (text.endsWith(QLatin1Char('\n')))
                text.chop(1);
            if (text.isEmpty() && bytes.isEmpty())
                return QString();
            return text.split(QLatin1Char('\n')).join(QStringLiteral("\r\n"))
                   + QStringLiteral("\r\n");
        });
}

} // namespace modGenProcedures
