#include "zoom.h"

#include "active_card.h"
#include "field_validator.h"
#include "frmaddress.h"
#include "frmzoom.h"

#include "core/active_control.h"
#include "core/program.h"
#include "core/toolbar_state.h"
#include "core/traced.h"
#include "platform/prompts.h"
#include "widgets/data_combo.h"

#include <QLineEdit>
#include <QTextEdit>

namespace modGenProcedures {

void Zoom(QWidget* ctrl, QWidget* frm)
{
    tovren::traced(
        "modGenProcedures.Zoom",
        {{"ctrl", "Control", tovren::objectArg(ctrl)}, {"frm", "Form", tovren::objectArg(frm)}},
        [&] {
            frmAddress& card = tovren::cardOf(frm);
            auto* combo = qobject_cast<widgets::DataCombo*>(ctrl);
            auto* field = qobject_cast<QLineEdit*>(ctrl);
            // Only a field has a text to zoom.
            if (!tovren::requireField(combo || field ? ctrl : nullptr, "zoom, then zoom again",
                                      "Zoom"))
                return;
            frmZoom zoom(&card);
            zoom.rtxZoom->setPlainText(combo ? combo->Text() : field->text());
            zoom.setWindowTitle(QStringLiteral("Zooming ") + tovren::dataFieldOf(*ctrl));
            zoom.rtxZoom->setAccessibleName(tovren::dataFieldOf(*ctrl));
            if (field)
                zoom.setMaxLength(tovren::characterLimit(*field));
            sZoomText.clear();
            platform::prompts().showModal(zoom);
            if (sZoomText.isEmpty())
                return;
            // One line, as the field holds it.
            const QString text = tovren::singleLine(sZoomText);
            sZoomText.clear();
            const QString before = combo ? combo->Text() : field->text();
            combo ? combo->setText(text) : field->setText(text);
            ctrl->setFocus();
            // A text changed in the editor is a change like one typed:
            // the record is marked and the toolbar offers Save.
            if (text != before && !card.isFilterEntry()) {
                card.markChanged();
                TbrMnuBtns(tovren::Group::Save, true);
            }
        });
}

} // namespace modGenProcedures
