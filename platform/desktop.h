#pragma once
// What the program asks of the desktop: open a link or document with the
// user's chosen program, and start a program. Tests install a recording
// stand-in so that nothing is really started.

#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

namespace platform {

class DesktopService {
public:
    virtual ~DesktopService() = default;
    // Opens a link ("mailto:", "file:", "https:") with the desktop's handler.
    virtual bool openUrl(const QUrl& url) = 0;
    // Whether the desktop names a program for documents of `mimeType`:
    // opening a file succeeds even when nothing on the machine can show it.
    virtual bool opensType(const QString& mimeType) = 0;
    // Starts a program without waiting for it.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
};

DesktopService& desktop();
std::unique_ptr<DesktopService> installDesktop(std::unique_ptr<DesktopService> service);

// The desktop programs the program starts on its own: the first of a short
// list that is installed, unless the user named one (a command line).
enum class DesktopProgram { Calculator, TextEditor };

void setProgramOverride(DesktopProgram which, const QString& commandLine);
// The command line to start, split into program and arguments; empty when
// no such program is installed.
QStringList programCommand(DesktopProgram which);

// Starts `which` with the extra arguments; raises RunTimeError 53 with a
// message that says what to install when no such program exists.
void startDesktopProgram(DesktopProgram which, const QStringList& arguments = {});

} // namespace platform
