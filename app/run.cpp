#include "run.h"

#include "command_line.h"
#include "routes.h"

#include "card/contacts_commands.h"
#include "core/error_handler.h"
#include "core/program.h"
#include "core/program_folders.h"
#include "platform/prompts.h"
#include "platform/tls_trust.h"
#include "shell/mdimain.h"
#include "shell/utilities.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

namespace tovren {

namespace {

const char kUsage[] = "usage: tovren [--home DIR] [FILE]\n";

const char kDetails[] =
    "\n"
    "  --home DIR   keep the address book, Address.ini and the logs in DIR (else in\n"
    "               the folder TOVREN_HOME names, else in the program's folders)\n"
    "  FILE         a vCard or CSV file to import: what it would add is shown\n"
    "               first, and nothing is written without your OK\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are taken as in every Qt program.\n";

// Qt's own options, which QApplication takes from the command line: known
// here so that they are not refused, read before there is an application
// so that --help and --version need no display.
void addQtOptions(CommandLine& line)
{
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
          "qwindowicon", "qwindowtitle", "session", "display", "geometry", "style", "stylesheet"})
        line.add({QString::fromLatin1(name)}, QStringLiteral("value"));
    for (const char* name : {"reverse", "widgetcount"})
        line.add({QString::fromLatin1(name)});
}

} // namespace

int run(int argc, char** argv, const std::function<void(mdiMain&)>& started)
{
    CommandLine line(QStringLiteral("tovren"), kUsage, kDetails);
    const QCommandLineOption home = line.add({QStringLiteral("home")}, QStringLiteral("DIR"));
    addQtOptions(line);
    if (const auto status = line.read(commandWords(argc, argv)))
        return *status;
    if (line.arguments().size() > 1)
        return line.refuse(QStringLiteral("one file at most is taken."));
    // Made absolute before anything can change the working folder.
    const QString file = line.arguments().isEmpty()
                             ? QString()
                             : QFileInfo(line.arguments().constFirst()).absoluteFilePath();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tovren"));
    QApplication::setOrganizationName(QStringLiteral("Belvane"));
    QApplication::setApplicationVersion(projectVersion());
    // Ties the windows to the menu entry, for the desktop's icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.belvane.Tovren"));
    // Before any connection: a private authority is trusted beside the system's.
    platform::trustCertificateFile();

    if (const QString problem = settleProgramFolders(line.value(home)); !problem.isEmpty()) {
        platform::MsgBox(problem, platform::Buttons::OK, platform::Icon::Critical,
                         QStringLiteral("Tovren"));
        return 2;
    }

    auto* main = new mdiMain;
    installRoutes(*main);
    main->setAttribute(Qt::WA_DeleteOnClose);
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(main, &QObject::destroyed, &app, &QCoreApplication::quit);

    main->MDIForm_Initialize();
    applyProgramChoices(settingsFile());
    main->MDIForm_Load();
    main->show();
    // A file the desktop opens with Tovren comes in once the window stands.
    if (!file.isEmpty())
        QTimer::singleShot(0, main, [file] { modGenProcedures::ImportContactsFrom(file); });
    if (started)
        started(*main);
    const int code = QApplication::exec();
    // The handler holds the database connection for its reports; it goes
    // while the application and Qt's list of connections still stand.
    resetErrHandler();
    return code;
}

} // namespace tovren
