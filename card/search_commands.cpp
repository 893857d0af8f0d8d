#include "search_commands.h"

#include "active_card.h"
#include "frmaddress.h"
#include "record_commands.h"

#include "core/active_control.h"
#include "core/field_helpers.h"
#include "core/frame.h"
#include "core/toolbar_state.h"
#include "core/traced.h"
#include "platform/prompts.h"
#include "records/address.h"
#include "widgets/data_combo.h"

#include <QApplication>

namespace modGenProcedures {
namespace {

// The column behind the focused field of the card: a combo's is its id
// column. Empty when the focus is on no field (a calendar button).
QString focusedColumn(const frmAddress& card)
{
    QWidget* focused = tovren::controlOf(QApplication::focusWidget());
    if (!focused || !card.isAncestorOf(focused))
        return QString();
    if (const auto* combo = qobject_cast<const widgets::DataCombo*>(focused))
        return combo->DataField();
    return focused->property("DataField").toString();
}

// After a re-read the book may have become empty: the card locks as after
// deleting the last record, or typing into it would lead nowhere.
void showRecordsOrNone(frmAddress& card)
{
    if (card.cls1()->RecCount() > 0) {
        writeRecordCounter(&card);
        return;
    }
    ControlClear(&card);
    LckCtrls(&card, true);
    DisNoRecBtns(tovren::Mode::NoRecs);
    tovren::requireFrame().setRecordCounter(QStringLiteral("No Records"));
}

} // namespace

void sort(QString sOrder)
{
    tovren::traced("modGenProcedures.sort", {{"sOrder", "String", sOrder}}, [&] {
        frmAddress& active = tovren::activeCard();
        const QString column = focusedColumn(active);
        // A button or the window itself has no column to order by: the
        // person is told, and nothing changes.
        if (column.isEmpty()) {
            platform::MsgBox(QStringLiteral("Put the cursor in the field to sort on, then sort "
                                            "again."),
                             platform::Buttons::OK, platform::Icon::Information,
                             QStringLiteral("Sort"));
            return;
        }
        if (active.bEdit() && bytSavCanRec() == 2)
            return;
        active.cls1()->sort(column, sOrder);
        AssgnValToCtrls(&active);
        writeRecordCounter(&active);
    });
}

void Refresh(QWidget* frm)
{
    tovren::traced("modGenProcedures.Refresh", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        frmAddress& card = tovren::cardOf(frm);
        card.cls1()->Refresh();
        AssgnValToCtrls(frm);
        TbrMnuBtns(tovren::Group::Save, false);
        showRecordsOrNone(card);
    });
}

} // namespace modGenProcedures
