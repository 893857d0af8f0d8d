#include "frmeditlookup.h"

#include "context_help.h"
#include "dialog_placement.h"
#include "frmlookup.h"
#include "lookup.h"

#include "core/contrast.h"
#include "core/field_helpers.h"
#include "core/traced.h"
#include "platform/error_numbers.h"
#include "widgets/data_list.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

frmLookUp& listDialog()
{
    frmLookUp* list = frmLookUp::instance();
    if (!list)
        platform::raise(platform::err::ObjectNotSet,
                        QStringLiteral("Object variable or With block variable not set"));
    return *list;
}

// The entry being edited shown in the dialog's text box.
void fillEditDialog(QWidget& form)
{
    static_cast<frmEditLookUp&>(form).txtFld[0]->setText(listDialog().cls1()->FldName());
}

} // namespace

frmEditLookUp::frmEditLookUp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmEditLookUp"));
    setWindowTitle(QStringLiteral("Edit LookUp"));
    tovren::registerControlFiller(objectName(), fillEditDialog);

    lblLookUps = new QLabel(QStringLiteral("LookUp"), this);
    lblLookUps->setObjectName(QStringLiteral("lblLookUps"));
    auto* field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("txtFld_0"));
    field->setMinimumWidth(200);
    field->installEventFilter(this);
    txtFld << field;
    auto* label = new QLabel(this);
    // The dialog keeps the size it is built with; the caption set on loading
    // (the table's name) must fit.
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Salutation"))
                           + 8);
    label->setObjectName(QStringLiteral("lblTxt_0"));
    label->setBuddy(field);
    lblTxt << label;
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QGridLayout(this);
    layout->addWidget(lblLookUps, 0, 0, 1, 2);
    layout->addWidget(label, 1, 0);
    layout->addWidget(field, 1, 1);
    layout->addLayout(buttons, 2, 0, 1, 2);
    setFixedSize(sizeHint());

    setBackColor(kNormalColor);
    records::installHelpKey(*this);
    connect(cmdOk, &QPushButton::clicked, this, &frmEditLookUp::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmEditLookUp::cmdCancel_Click);
}

void frmEditLookUp::setBackColor(const QColor& color)
{
    setPalette(tovren::onBackground(palette(), color));
}

void frmEditLookUp::Form_Load()
{
    tovren::traced("frmEditLookUp.Form_Load", [&] {
        records::centreOverMainWindow(*this);
        frmLookUp& list = listDialog();
        const QString table = list.cls1()->RecSrc();
        lblTxt[0]->setText(table);
        if (!list.bAdd) {
            modGenProcedures::AssgnValToCtrls(this);
            records::setHelpTopic(*this, 23);
        } else {
            setWindowTitle(QStringLiteral("Add new ") + table + QStringLiteral("."));
            lblLookUps->setText(table);
            setBackColor(kAddingColor);
            records::setHelpTopic(*this, 2);
            list.cls1()->Add();
        }
    });
}

bool frmEditLookUp::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        txtFld[0]->setFocus();
    return QDialog::event(event);
}

bool frmEditLookUp::eventFilter(QObject* watched, QEvent* event)
{
    // Typing replaces the whole text, however the box got the focus.
    if (watched == txtFld[0] && event->type() == QEvent::FocusIn)
        txtFld[0]->selectAll();
    return QDialog::eventFilter(watched, event);
}

bool frmEditLookUp::bValDat()
{
    return tovren::traced("frmEditLookUp.bValDat", [&] {
        records::LookUp& entry = *listDialog().cls1();
        entry.bValDat = true;
        entry.setFldName(txtFld[0]->text());
        if (!entry.bValDat)
            txtFld[0]->setFocus();
        return entry.bValDat;
    });
}

void frmEditLookUp::cmdOk_Click()
{
    tovren::traced("frmEditLookUp.cmdOk_Click", [&] {
        if (!bValDat())
            return;
        frmLookUp& list = listDialog();
        list.cls1()->Update();
        list.bAdd = false;
        list.dltLookUp->ReFill();
        accept();
    });
}

void frmEditLookUp::cmdCancel_Click()
{
    frmLookUp& list = listDialog();
    list.cls1()->CancelUpdate();
    list.bAdd = false;
    QDialog::reject();
}

void frmEditLookUp::reject()
{
    cmdCancel_Click();
}
