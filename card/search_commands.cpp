#include "search_commands.h"

#include "active_card.h"
#include "frmaddress.h"
#include "record_commands.h"

#include "core/field_helpers.h"
#include "core/frame.h"
#include "core/toolbar_state.h"
#include "core/traced.h"
#include "platform/prompts.h"
#include "records/address.h"

namespace modGenProcedures {
namespace {

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
        QWidget* field = tovren::focusedField(active);
        // A button or the window itself has no column to order by: the
        // person is told, and nothing changes.
        if (!field) {
            platform::MsgBox(QStringLiteral("Put the cursor in the field to sort on, then sort "
                                            "again."),
                             platform::Buttons::OK, platform::Icon::Information,
                             QStringLiteral("Sort"));
            return;
        }
        if (active.bEdit() && bytSavCanRec() == 2)
            return;
        active.cls1()->sort(tovren::dataFieldOf(*field), sOrder);
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
