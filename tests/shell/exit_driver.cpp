// The real program, driven as a person would end it: once the main window
// shows, the steps named in TOVREN_EXIT_STEPS (comma-separated) are played
// one after the other. The exit tests run it and read its exit status.
//   card      Masters, Addresses
//   menu      File, Exit
//   button    the toolbar's Exit button
//   closebox  the main window's close box
//   ctrlf4    Ctrl+F4

#include "core/error_handler.h"
#include "shell/mdimain.h"
#include "app/run.h"
#include "core/toolbar_button.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>

namespace {

void play(mdiMain& main, QStringList steps)
{
    if (steps.isEmpty())
        return;
    const QString step = steps.takeFirst();
    if (step == QLatin1String("card"))
        main.menuItem(QStringLiteral("mnuAddress"))->trigger();
    else if (step == QLatin1String("menu"))
        main.menuItem(QStringLiteral("mnuExit"))->trigger();
    else if (step == QLatin1String("button"))
        main.buttonByKey(QStringLiteral("Exit"))->click();
    else if (step == QLatin1String("closebox"))
        main.close();
    else if (step == QLatin1String("ctrlf4")) {
        QApplication::setActiveWindow(&main); // keys go to the active window only
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &main,
                        Qt::Key_F4, Qt::ControlModifier);
    } else
        qFatal("exit_driver: unknown step %s", qPrintable(step));
    // The window may be gone after a step; the next one finds it again.
    QTimer::singleShot(50, [steps] {
        if (mdiMain* next = mdiMain::instance())
            play(*next, steps);
    });
}

} // namespace

int main(int argc, char** argv)
{
    tovren::setComponentFolder(QStringLiteral(TOVREN_BIN_DIR));
    const QStringList steps =
        qEnvironmentVariable("TOVREN_EXIT_STEPS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    return tovren::run(argc, argv, [steps](mdiMain& main) {
        QTimer::singleShot(100, &main, [&main, steps] { play(main, steps); });
    });
}
