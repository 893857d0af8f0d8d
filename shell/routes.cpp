#include "routes.h"

#include "exit_app.h"
#include "frmabout.h"
#include "mdimain.h"

#include "platform/prompts.h"

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

    main.routeButton(QStringLiteral("Exit"), exitApp);
}

} // namespace tovren
