// Tovren: a desktop address book.
//   tovren [--home DIR]
// DIR (or the environment variable TOVREN_HOME) is the folder that holds the
// address book, Address.ini and the logs; by default the program's own folder.

#include "mdimain.h"
#include "program.h"
#include "utilities.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

int main(int argc, char** argv)
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

    QString folder = parser.isSet(home) ? parser.value(home) : qEnvironmentVariable("TOVREN_HOME");
    if (!folder.isEmpty()) {
        if (!QFileInfo(folder).isDir()) {
            QMessageBox::critical(nullptr, QStringLiteral("Tovren"),
                                  QStringLiteral("The folder '%1' does not exist.").arg(folder));
            return 2;
        }
        tovren::setProgramFolder(folder);
    }

    auto* main = new mdiMain;
    main->setAttribute(Qt::WA_DeleteOnClose);
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(main, &QObject::destroyed, &app, &QCoreApplication::quit);

    main->MDIForm_Initialize();
    tovren::applyProgramChoices(tovren::programFile(QStringLiteral("Address.ini")));
    main->MDIForm_Load();
    main->show();
    return app.exec();
}
