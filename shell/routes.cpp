#include "routes.h"

#include "edit_commands.h"
#include "exit_app.h"
#include "frmabout.h"
#include "mdimain.h"
#include "record_commands.h"

#include "card/frmaddress.h"
#include "platform/prompts.h"

#include <QAction>

namespace tovren {

void installRoutes(mdiMain& main)
{
    mdiMain* frame = &main;
    const auto exitApp = [frame] { modGenProcedures::ExitApp(frame->ActiveForm()); };

    main.routeMenu(QStringLiteral("mnuExit"), exitApp);
    main.routeMenu(QStringLiteral("mnuUtilityCalc"), [frame] { frame->mnuUtilityCalc_Click(); });
    main.routeMenu(QStringLiteral("mnuSupport"), [frame] { frame->mnuSupport_Click(); });
    main.routeMenu(QStringLiteral("mnuAbout"), [frame] {
        frmAbout about(frame);
        platform::prompts().showModal(about);
    });

    main.routeMenu(QStringLiteral("mnuAddress"), [frame] {
        frmAddress::open();
        frame->menuItem(QStringLiteral("mnuAddress"))->setEnabled(false);
    });

    // The record commands, from the File and View menus and the toolbar.
    using namespace modGenProcedures;
    const std::pair<const char*, const char*> both[] = {
        {"mnuNew", "New"},     {"mnuSave", "Save"}, {"mnuCancel", "Cancel"}, {"mnuDel", "Del"},
        {"mnuFirst", "First"}, {"mnuPrev", "Prev"}, {"mnuNext", "Next"},     {"mnuLast", "Last"},
    };
    const std::function<void()> actions[] = {
        [frame] { Add(frame->ActiveForm()); },
        [frame] { Save(frame->ActiveForm()); },
        [frame] { Cancel(frame->ActiveForm()); },
        [] { Delete(); },
        [] { FirstRec(); },
        [] { PrevRec(); },
        [] { NextRec(); },
        [] { LastRec(); },
    };
    for (size_t i = 0; i < std::size(both); ++i) {
        main.routeMenu(QString::fromLatin1(both[i].first), actions[i]);
        main.routeButton(QString::fromLatin1(both[i].second), actions[i]);
    }
    main.routeButton(QStringLiteral("Exit"), exitApp);

    // The Edit menu, the clipboard buttons and the combos' pop-up menu. The
    // pop-up's Cut and Copy do what the Edit menu's do.
    const std::pair<const char*, std::function<void()>> edits[] = {
        {"mnuUndo", Undo},
        {"mnuCut", Cut},
        {"mnuCopy", Copy},
        {"mnuPaste", Paste},
        {"mnuEditUndo", Undo},
        {"mnuEditCut", Cut},
        {"mnuEditCopy", Copy},
        {"mnuEditPaste", Paste},
        {"mnuEditDel", EditDel},
        {"mnuEditSel", EditSelAll},
        {"mnuEditAdd", [frame] { EditAdd(frame->ActiveForm()); }},
        {"mnuEditEdit", [frame] { EditEdit(frame->ActiveForm()); }},
    };
    for (const auto& [item, action] : edits)
        main.routeMenu(QString::fromLatin1(item), action);
    for (const auto& [key, action] : {std::pair<const char*, std::function<void()>>{"Undo", Undo},
                                      {"Cut", Cut},
                                      {"Copy", Copy},
                                      {"Paste", Paste}})
        main.routeButton(QString::fromLatin1(key), action);
}

} // namespace tovren
