#include "record_commands.h"

#include "active_card.h"
#include "frmaddress.h"

#include "core/field_helpers.h"
#include "core/frame.h"
#include "core/toolbar_state.h"
#include "core/traced.h"
#include "platform/prompts.h"
#include "records/address.h"
#include "widgets/data_combo.h"

namespace modGenProcedures {
namespace {

using tovren::cardOf;

void setCounter(const QString& text)
{
    tovren::requireFrame().setRecordCounter(text);
}

// The four moves share one course: the save question, the move, the fields
// and the counter.
template <typename Move>
void browse(const char* name, Move move)
{
    tovren::traced(name, [&] {
        frmAddress& active = tovren::activeCard();
        if (active.bEdit() && bytSavCanRec() == 2)
            return;
        move(*active.cls1());
        AssgnValToCtrls(&active);
        writeRecordCounter(&active);
    });
}

} // namespace

void writeRecordCounter(QWidget* frm)
{
    frmAddress& card = cardOf(frm);
    records::Address& record = *card.cls1();
    const QString counter = QString::number(record.AbsPos()) + QStringLiteral(" / ")
                            + QString::number(record.RecCount());
    setCounter(counter);
    // A new record has no name yet; a shown one is named by its name or company.
    const QString who = card.bAdd()               ? QString()
                        : record.Name().isEmpty() ? record.Company()
                                                  : record.Name();
    tovren::requireFrame().announce(who.isEmpty() ? counter : counter + QStringLiteral(", ") + who);
    Q_EMIT card.recordShown();
}

void ShowRecord(QWidget* frm, const QVariant& bookmark)
{
    tovren::traced("modGenProcedures.ShowRecord", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        // Asked before the card comes forward: coming forward fills its
        // fields from its record, over what was typed.
        frmAddress& card = cardOf(frm);
        if (card.bEdit() && bytSavCanRec(frm) == 2)
            return;
        tovren::requireFrame().showChild(frm);
        card.cls1()->setVarBkMk(bookmark);
        AssgnValToCtrls(frm);
        writeRecordCounter(frm);
    });
}

void showNoRecords(QWidget* frm)
{
    ControlClear(frm);
    LckCtrls(frm, true);
    DisNoRecBtns(tovren::Mode::NoRecs);
    Q_EMIT cardOf(frm).recordShown();
}

void Add(QWidget* frm)
{
    tovren::traced("modGenProcedures.Add", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        frmAddress& form = cardOf(frm);
        records::Address& record = *form.cls1();
        if (record.RecCount() > 0)
            form.rememberRecord(record.varBkMk());
        else
            LckCtrls(frm, false);
        if (form.bAdd()) {
            if (!form.bValDat())
                return; // the new record stays on screen
            record.Save();
            if (record.rs->hasPendingChanges())
                return; // refused by the database: it stays on screen too
        } else {
            if (tovren::activeCard().bEdit() && bytSavCanRec() == 2)
                return;
            DisNoRecBtns(tovren::Mode::Normal);
            form.frmLetFilterTbrbtns();
            DisNoRecBtns(tovren::Mode::AddNew);
        }
        record.Add();
        ControlClear(frm);
        form.dbcFld[0]->setFocus();
        form.beginAdding();
        writeRecordCounter(frm);
    });
}

void Save(QWidget* frm)
{
    tovren::traced("modGenProcedures.Save", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        frmAddress& form = cardOf(frm);
        if (!form.bValDat())
            return;
        records::Address& record = *form.cls1();
        record.Save();
        // A save the database refused (it was told in the error report)
        // leaves the card as it was, changes and all, to be saved again.
        if (record.rs->hasPendingChanges())
            return;
        if (form.bAdd())
            form.frmGetFilterTbrbtns();
        form.endEditing();
        form.rememberRecord(record.RecCount() > 0 ? record.varBkMk() : QVariant());
        AssgnValToCtrls(frm);
        if (record.RecCount() > 0) {
            writeRecordCounter(frm);
        } else {
            setCounter(QStringLiteral("0 / 0"));
            TbrMnuBtns(tovren::Group::Navigation, false);
        }
        TbrMnuBtns(tovren::Group::Save, false);
        EnabCmdBtns(frm, true);
    });
}

void Cancel(QWidget* frm)
{
    tovren::traced("modGenProcedures.Cancel", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        frmAddress& form = cardOf(frm);
        records::Address& record = *form.cls1();
        if (!form.bAdd() && record.RecCount() > 0)
            form.rememberRecord(record.varBkMk());
        record.Cancel();
        if (form.bAdd())
            form.frmGetFilterTbrbtns();
        form.endEditing();
        if (record.RecCount() > 0) {
            if (form.mvarBkmk().isValid())
                record.setVarBkMk(form.mvarBkmk());
            writeRecordCounter(frm);
            TbrMnuBtns(tovren::Group::Save, false);
        } else {
            showNoRecords(frm); // back to an empty book
        }
        AssgnValToCtrls(frm);
    });
}

void Delete()
{
    tovren::traced("modGenProcedures.Delete", [&] {
        frmAddress& active = tovren::activeCard();
        records::Address& record = *active.cls1();
        record.Delete();
        if (record.RecCount() > 0) {
            AssgnValToCtrls(&active);
            writeRecordCounter(&active);
        } else {
            showNoRecords(&active);
        }
    });
}

void FirstRec()
{
    browse("modGenProcedures.FirstRec", [](records::Address& record) { record.MoveFirst(); });
}

void PrevRec()
{
    browse("modGenProcedures.PrevRec", [](records::Address& record) { record.MovePrevious(); });
}

void NextRec()
{
    browse("modGenProcedures.NextRec", [](records::Address& record) { record.MoveNext(); });
}

void LastRec()
{
    browse("modGenProcedures.LastRec", [](records::Address& record) { record.MoveLast(); });
}

quint8 bytSavCanRec()
{
    return bytSavCanRec(tovren::requireFrame().ActiveForm());
}

quint8 bytSavCanRec(QWidget* frm)
{
    return tovren::traced("modGenProcedures.bytSavCanRec", [&]() -> quint8 {
        switch (platform::MsgBox(
            QStringLiteral("Record has been changed. Do you want to save the changes?"),
            platform::Buttons::YesNoCancel, platform::Icon::None, QStringLiteral("Save"))) {
        case platform::Answer::Yes: {
            // A save that was refused (a check, or the database) leaves the
            // card editing: the command that asked must stop as on Cancel,
            // or it would carry the typing away.
            Save(frm);
            return cardOf(frm).bEdit() ? quint8(2) : quint8(0);
        }
        case platform::Answer::No:
            Cancel(frm);
            return 0;
        default:
            return 2;
        }
    });
}

} // namespace modGenProcedures
