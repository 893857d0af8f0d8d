#include "run.h"

#include "routes.h"

#include "core/error_handler.h"
#include "core/program.h"
#include "core/program_folders.h"
#include "platform/prompts.h"
#include "shell/mdimain.h"
#include "shell/utilities.h"

#include <QApplication>
#include <QCommandLineParser>

namespace tovren {

int run(int argc, char** argv, const std::function<void(mdiMain&)>& started)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tovren"));
    QApplication::setOrganizationName(QStringLiteral("Belvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tovren address book"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption home(
        QStringLiteral("home"),
        QStringLiteral("Keep the address book, Address.ini and the logs in <dir>."),
        QStringLiteral("dir"));
    parser.addOption(home);
    parser.process(app);

    if (const QString problem = settleProgramFolders(parser.value(home)); !problem.isEmpty()) {
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
    if (started)
        started(*main);
    const int code = QApplication::exec();
    // The handler holds the database connection for its reports; it goes
    // while the application and Qt's list of connections still stand.
    resetErrHandler();
    return code;
}

} // namespace tovren
