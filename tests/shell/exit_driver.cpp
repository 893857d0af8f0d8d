// The real program, ended as a person ends it by the steps named in
// TOVREN_EXIT_STEPS, '_' between them: card (Masters, Addresses), menu (File,
// Exit), button (the toolbar's Exit), closebox (the main window's), ctrlf4.

#include "app/run.h"
#include "core/error_handler.h"
#include "core/toolbar_button.h"
#include "shell/mdimain.h"

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
    if (step == "card" || step == "menu")
        main.menuItem(step == "card" ? "mnuAddress" : "mnuExit")->trigger();
    else if (step == "button")
        main.buttonByKey("Exit")->click();
    else if (step == "closebox")
        main.close();
    else if (step == "ctrlf4") {
        QApplication::setActiveWindow(&main); // keys go to the active window only
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &main, Qt::Key_F4, Qt::ControlModifier);
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
    tovren::setComponentFolder(TOVREN_BIN_DIR);
    const QStringList steps =
        qEnvironmentVariable("TOVREN_EXIT_STEPS").split('_', Qt::SkipEmptyParts);
    return tovren::run(argc, argv, [steps](mdiMain& main) {
        QTimer::singleShot(100, &main, [&main, steps] { play(main, steps); });
    });
}
