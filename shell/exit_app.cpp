#include "exit_app.h"

#include "mdimain.h"

#include "core/program.h"
#include "core/traced.h"

#include <QMdiSubWindow>

namespace modGenProcedures {

void ExitApp(QWidget* frm)
{
    tovren::traced("modGenProcedures.ExitApp", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        if (nOpenCards == 0) {
            mdiMain::instance()->close();
            return;
        }
        if (!frm)
            return;
        if (auto* child = qobject_cast<QMdiSubWindow*>(frm->parentWidget()))
            child->close();
        else
            frm->close();
    });
}

} // namespace modGenProcedures
