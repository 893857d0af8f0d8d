#include "field_helpers.h"

#include "traced.h"

#include "widgets/data_combo.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>

namespace tovren {
namespace {

QHash<QString, std::function<void(QWidget&)>>& fillers()
{
    static QHash<QString, std::function<void(QWidget&)>> registered;
    return registered;
}

// A text box of the window itself, not the editor inside a combo or a
// spin box (the calendar's year field).
bool isTextBox(const QLineEdit* edit)
{
    const QWidget* parent = edit->parentWidget();
    return !qobject_cast<const QComboBox*>(parent)
           && !qobject_cast<const QAbstractSpinBox*>(parent);
}

template <typename Control, typename Action>
void forEach(QWidget* frm, Action action)
{
    for (Control* control : frm->findChildren<Control*>())
        action(control);
}

} // namespace

void registerControlFiller(const QString& formName, std::function<void(QWidget&)> filler)
{
    fillers().insert(formName, std::move(filler));
}

QString controlArrayName(const QObject& control)
{
    static const QRegularExpression member(QStringLiteral("^(.*)_\\d+$"));
    const QRegularExpressionMatch match = member.match(control.objectName());
    return match.hasMatch() ? match.captured(1) : control.objectName();
}

} // namespace tovren

namespace modGenProcedures {

void AssgnValToCtrls(QWidget* frm)
{
    tovren::traced("modGenProcedures.AssgnValToCtrls", {{"frm", "Form", tovren::objectArg(frm)}},
                   [&] {
                       const auto filler = tovren::fillers().constFind(frm->objectName());
                       if (filler != tovren::fillers().constEnd())
                           (*filler)(*frm);
                   });
}

void ControlClear(QWidget* frm)
{
    tovren::traced("modGenProcedures.ControlClear", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        tovren::forEach<QLineEdit>(frm, [](QLineEdit* edit) {
            if (tovren::isTextBox(edit))
                edit->clear();
        });
        tovren::forEach<widgets::DataCombo>(frm, [](widgets::DataCombo* combo) {
            if (tovren::controlArrayName(*combo) != QLatin1String("dbcFilter"))
                combo->setText(QString());
        });
        tovren::forEach<QPushButton>(frm, [](QPushButton* button) {
            if (tovren::controlArrayName(*button) != QLatin1String("cmdDt"))
                button->setEnabled(false);
        });
    });
}

void LckCtrls(QWidget* frm, bool bLock)
{
    tovren::traced("modGenProcedures.LckCtrls", {{"frm", "Form", tovren::objectArg(frm)}}, [&] {
        tovren::forEach<QLineEdit>(frm, [bLock](QLineEdit* edit) {
            if (tovren::isTextBox(edit))
                edit->setReadOnly(bLock);
        });
        tovren::forEach<widgets::DataCombo>(
            frm, [bLock](widgets::DataCombo* combo) { combo->setLocked(bLock); });
        tovren::forEach<QPushButton>(frm,
                                     [bLock](QPushButton* button) { button->setEnabled(!bLock); });
    });
}

void EnabCmdBtns(QWidget* frm, bool bSwitch)
{
    tovren::traced("modGenProcedures.EnabCmdBtns",
                   {{"frm", "Form", tovren::objectArg(frm)}, {"bSwitch", "Boolean", bSwitch}}, [&] {
                       tovren::forEach<QPushButton>(
                           frm, [bSwitch](QPushButton* button) { button->setEnabled(bSwitch); });
                   });
}

} // namespace modGenProcedures
