#include "data_controls.h"

#include "core/field_helpers.h"
#include "core/program.h"
#include "core/traced.h"
#include "widgets/ado_data_control.h"
#include "widgets/data_combo.h"

#include <QWidget>

namespace modGenProcedures {

void SetActConn(QWidget* frm)
{
    tovren::traced("modGenProcedures.SetActConn", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        for (widgets::AdoDataControl* control : frm->findChildren<widgets::AdoDataControl*>()) {
            control->setConnectionString(tovren::connectionString());
            control->setRecordSource(control->Tag());
            control->Refresh();
            if (tovren::controlArrayName(*control) != QLatin1String("adcFld"))
                continue;
            const QString index = control->objectName().section(QLatin1Char('_'), -1);
            if (auto* combo =
                    frm->findChild<widgets::DataCombo*>(QStringLiteral("dbcFld_") + index)) {
                combo->setRowSource(control);
                combo->Refresh();
            }
        }
    });
}

void SetActConnNot(QWidget* frm)
{
    tovren::traced(
        "modGenProcedures.SetActConnNot", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
            for (widgets::AdoDataControl* control : frm->findChildren<widgets::AdoDataControl*>())
                control->disconnectRecordset();
        });
}

} // namespace modGenProcedures
