#include "edit_commands.h"

#include "active_card.h"
#include "field_validator.h"
#include "frmaddress.h"

#include "core/active_control.h"
#include "core/program.h"
#include "core/traced.h"
#include "platform/characters.h"
#include "platform/prompts.h"
#include "records/address.h"
#include "records/frmlookup.h"
#include "records/lookup.h"
#include "widgets/ado_data_control.h"
#include "widgets/data_combo.h"
#include "widgets/data_list.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace modGenProcedures {
namespace {

void maintainLookUp(const char* name, QWidget* frm, bool adding)
{
    tovren::traced(name, {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        frmAddress& card = tovren::activeCard();
        const int i = nLookUpIdx;
        {
            frmLookUp dialog(card.window());
            dialog.cls1()->setRecSrc(card.adcFld[i]->Tag());
            dialog.bAdd = adding;
            dialog.Form_Load();
            platform::prompts().showModal(dialog);
        }
        // The combo lists the entries as they are stored now.
        card.adcFld[i]->Refresh();
        card.adcFld[i]->disconnectRecordset();
        card.dbcFld[i]->setRowSource(nullptr);
        card.dbcFld[i]->setRowSource(card.adcFld[i]);
        card.dbcFld[i]->Refresh();
    });
}

// The focused field of the active card (a combo for its text part).
QWidget* activeControl()
{
    return tovren::controlOf(tovren::activeCard().focusWidget());
}

} // namespace

void EditAdd(QWidget* frm)
{
    maintainLookUp("modGenProcedures.EditAdd", frm, true);
}

void EditEdit(QWidget* frm)
{
    maintainLookUp("modGenProcedures.EditEdit", frm, false);
}

void EditSelAll()
{
    tovren::traced("modGenProcedures.EditSelAll", [] {
        if (auto* combo = qobject_cast<widgets::DataCombo*>(activeControl());
            combo && combo->Style() == 0)
            combo->lineEdit()->selectAll();
    });
}

void Undo()
{
    tovren::traced("modGenProcedures.Undo", [] {
        QWidget* control = activeControl();
        if (auto* combo = qobject_cast<widgets::DataCombo*>(control)) {
            frmAddress& card = tovren::activeCard();
            card.dbcFld_Undo(qint16(card.dbcFld.indexOf(combo)));
            return;
        }
        tovren::undoLastEdit(control);
    });
}

void EditDel()
{
    tovren::traced("modGenProcedures.EditDel", [] {
        QWidget* control = activeControl();
        if (tovren::selectedText(control).value_or(QString()).isEmpty())
            return;
        tovren::activeCard().markChanged();
        tovren::replaceSelection(control, QString());
    });
}

void Cut()
{
    tovren::traced("modGenProcedures.Cut", [] {
        QWidget* control = activeControl();
        const QString selected = tovren::selectedText(control).value_or(QString());
        if (selected.isEmpty())
            return;
        QApplication::clipboard()->setText(selected);
        tovren::activeCard().markChanged();
        tovren::replaceSelection(control, QString());
    });
}

void Copy()
{
    tovren::traced("modGenProcedures.Copy", [] {
        const QString selected = tovren::selectedText(activeControl()).value_or(QString());
        if (!selected.isEmpty())
            QApplication::clipboard()->setText(selected);
    });
}

void Paste()
{
    tovren::traced("modGenProcedures.Paste", [] {
        frmAddress& card = tovren::activeCard();
        if (card.cls1()->RecCount() == 0)
            return;
        QWidget* control = activeControl();
        const bool takesText =
            qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control)
            || qobject_cast<QTextEdit*>(control) || qobject_cast<QPlainTextEdit*>(control)
            || qobject_cast<widgets::DataList*>(control);
        if (!takesText)
            return;
        card.markChanged();
        const QString pasted = QApplication::clipboard()->text();
        auto* field = qobject_cast<QLineEdit*>(control);
        const qsizetype limit = field ? tovren::characterLimit(*field) : 0;
        const qsizetype room = field ? limit - platform::characterCount(field->text())
                                           + platform::characterCount(field->selectedText())
                                     : pasted.size();
        tovren::replaceSelection(control, pasted);
        // A field that cannot take all of it says so; the clipboard keeps it whole.
        if (field && platform::characterCount(tovren::singleLine(pasted)) > room)
            platform::MsgBox(
                QStringLiteral("This field takes at most %1 characters; the pasted text "
                               "was shortened to fit. The clipboard still holds all "
                               "of it.")
                    .arg(limit),
                platform::Buttons::OK, platform::Icon::Information, QStringLiteral("Paste"));
    });
}

} // namespace modGenProcedures
