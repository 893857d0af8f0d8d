#include "desktop.h"

#include "error_numbers.h"
#include "runtime_error.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

#include <map>

namespace platform {
namespace {

class QtDesktop final : public DesktopService {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
    bool opensType(const QString& mimeType) override
    {
        QProcess query;
        query.start(QStringLiteral("xdg-mime"),
                    {QStringLiteral("query"), QStringLiteral("default"), mimeType});
        return query.waitForFinished(5000) && query.exitCode() == 0
               && !query.readAllStandardOutput().trimmed().isEmpty();
    }
    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
};

std::unique_ptr<DesktopService>& current()
{
    static std::unique_ptr<DesktopService> service = std::make_unique<QtDesktop>();
    return service;
}

std::map<DesktopProgram, QString>& overrides()
{
    static std::map<DesktopProgram, QString> chosen;
    return chosen;
}

QStringList candidates(DesktopProgram which)
{
    if (which == DesktopProgram::Calculator)
        return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                QStringLiteral("galculator"),       QStringLiteral("mate-calc"),
                QStringLiteral("qalculate-gtk"),    QStringLiteral("xcalc")};
    return {QStringLiteral("gnome-text-editor"),
            QStringLiteral("gedit"),
            QStringLiteral("kate"),
            QStringLiteral("kwrite"),
            QStringLiteral("mousepad"),
            QStringLiteral("xed"),
            QStringLiteral("pluma"),
            QStringLiteral("featherpad"),
            QStringLiteral("leafpad"),
            QStringLiteral("geany")};
}

// A short human name and the candidates tried, for messages.
QString programDescription(DesktopProgram which)
{
    return (which == DesktopProgram::Calculator ? QStringLiteral("calculator (")
                                                : QStringLiteral("text editor ("))
           + candidates(which).join(QStringLiteral(", ")) + QLatin1Char(')');
}

} // namespace

DesktopService& desktop()
{
    return *current();
}

std::unique_ptr<DesktopService> installDesktop(std::unique_ptr<DesktopService> service)
{
    std::swap(current(), service);
    return service;
}

void setProgramOverride(DesktopProgram which, const QString& commandLine)
{
    overrides()[which] = commandLine.trimmed();
}

QStringList programCommand(DesktopProgram which)
{
    const auto chosen = overrides().find(which);
    if (chosen != overrides().end() && !chosen->second.isEmpty())
        return QProcess::splitCommand(chosen->second);
    for (const QString& name : candidates(which)) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return {path};
    }
    return {};
}

void startDesktopProgram(DesktopProgram which, const QStringList& arguments)
{
    QStringList command = programCommand(which);
    const QString key = which == DesktopProgram::Calculator ? QStringLiteral("Calculator")
                                                            : QStringLiteral("TextEditor");
    if (command.isEmpty())
        raise(err::FileNotFound,
              QStringLiteral("No %1 is installed. Install one, or name the program to use "
                             "under [Programs] %2= in Address.ini.")
                  .arg(programDescription(which), key));
    const QString program = command.takeFirst();
    if (!desktop().startProgram(program, command + arguments))
        raise(err::FileNotFound,
              QStringLiteral("The program '%1' could not be started. Name another under "
                             "[Programs] %2= in Address.ini.")
                  .arg(program, key));
}

} // namespace platform
