#include "frmlookup.h"

#include "context_help.h"
#include "dialog_placement.h"
#include "frmeditlookup.h"
#include "lookup.h"

#include "core/traced.h"
#include "platform/prompts.h"
#include "widgets/data_list.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

frmLookUp* g_instance = nullptr;

QPushButton* button(const QString& caption, const char* name, QWidget* parent)
{
    auto* created = new QPushButton(caption, parent);
    created->setObjectName(QLatin1String(name));
    return created;
}

} // namespace

frmLookUp::frmLookUp(QWidget* parent) : QDialog(parent)
{
    g_instance = this;
    setObjectName(QStringLiteral("frmLookUp"));
    setWindowTitle(QStringLiteral("Look Up"));

    lblLookUps = new QLabel(this);
    lblLookUps->setMinimumWidth(
        lblLookUps->fontMetrics().horizontalAdvance(QStringLiteral("LookUp for Salutation")) + 8);
    lblLookUps->setObjectName(QStringLiteral("lblLookUps"));
    dltLookUp = new widgets::DataList(this);
    dltLookUp->setObjectName(QStringLiteral("dltLookUp"));
    lblLookUps->setBuddy(dltLookUp);
    cmdAdd = button(QStringLiteral("&Add"), "cmdAdd", this);
    cmdModify = button(QStringLiteral("&Modify"), "cmdModify", this);
    cmdDel = button(QStringLiteral("&Delete"), "cmdDel", this);
    cmdOk = button(QStringLiteral("OK"), "cmdOk", this);
    cmdCancel = button(QStringLiteral("Cancel"), "cmdCancel", this);
    cmdOk->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(lblLookUps, 0, 0, 1, 2);
    layout->addWidget(dltLookUp, 1, 0, 6, 1);
    layout->addWidget(cmdAdd, 1, 1);
    layout->addWidget(cmdModify, 2, 1);
    layout->addWidget(cmdDel, 3, 1);
    layout->setRowStretch(4, 1);
    layout->addWidget(cmdOk, 5, 1);
    layout->addWidget(cmdCancel, 6, 1);
    setFixedSize(sizeHint());

    records::setHelpTopic(*this, 32);
    records::setHelpTopic(*cmdAdd, 2);
    records::setHelpTopic(*cmdModify, 23);
    records::setHelpTopic(*cmdDel, 23);
    records::installHelpKey(*this);

    connect(dltLookUp, &widgets::DataList::Click, this, &frmLookUp::dltLookUp_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmLookUp::cmdAdd_Click);
    connect(cmdModify, &QPushButton::clicked, this, &frmLookUp::cmdModify_Click);
    connect(cmdDel, &QPushButton::clicked, this, &frmLookUp::cmdDel_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmLookUp::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLookUp::cmdCancel_Click);
}

frmLookUp::~frmLookUp()
{
    if (g_instance == this)
        g_instance = nullptr;
}

frmLookUp* frmLookUp::instance()
{
    return g_instance;
}

records::LookUp* frmLookUp::cls1()
{
    if (!m_cls1)
        m_cls1 = std::make_unique<records::LookUp>();
    return m_cls1.get();
}

void frmLookUp::Form_Load()
{
    tovren::traced("frmLookUp.Form_Load", [&] {
        records::centreOverMainWindow(*this);
        cls1()->OpenRec();
        std::shared_ptr<data::Recordset> rows;
        cls1()->Class_GetDataMember(QString(), rows);
        dltLookUp->setRowSource(rows, cls1()->RecSrc());
        // The list opens with no entry chosen: Modify and Delete wait until
        // the person picks one.
        dltLookUp->setCurrentItem(nullptr);
        dltLookUp->clearSelection();
        lblLookUps->setText(QStringLiteral("LookUp for ") + cls1()->RecSrc());
        // A list is not named by its label's buddy: it is named outright.
        dltLookUp->setAccessibleName(lblLookUps->text());
        if (bAdd)
            cmdAdd_Click();
    });
}

void frmLookUp::dltLookUp_Click()
{
    tovren::traced("frmLookUp.dltLookUp_Click", [&] {
        // A Ctrl+click takes the selection away and names no entry.
        const QVariant bookmark = dltLookUp->SelectedBookmark();
        if (bookmark.isValid())
            cls1()->setVarBkMk(bookmark);
    });
}

void frmLookUp::showEditDialog()
{
    frmEditLookUp edit(this);
    edit.Form_Load();
    platform::prompts().showModal(edit);
}

void frmLookUp::cmdAdd_Click()
{
    bAdd = true;
    showEditDialog();
}

void frmLookUp::cmdModify_Click()
{
    if (!dltLookUp->SelectedBookmark().isValid()) {
        platform::MsgBox(QStringLiteral("Select the item you want to modify."),
                         platform::Buttons::OK, platform::Icon::None, QStringLiteral("Modify"));
        return;
    }
    showEditDialog();
}

void frmLookUp::cmdDel_Click()
{
    if (!dltLookUp->SelectedBookmark().isValid()) {
        platform::MsgBox(QStringLiteral("Select the item you want to delete."),
                         platform::Buttons::OK, platform::Icon::None, QStringLiteral("Delete"));
        return;
    }
    cls1()->Del();
    dltLookUp->ReFill();
}

void frmLookUp::cmdOk_Click()
{
    cls1()->Save();
    // Changes the database did not take (it was busy, say) stay in the
    // dialog, to be sent again or dropped with Cancel.
    if (cls1()->rs->hasPendingChanges())
        return;
    accept();
}

void frmLookUp::cmdCancel_Click()
{
    cls1()->Cancel();
    dltLookUp->ReFill();
    QDialog::reject();
}

void frmLookUp::reject()
{
    cmdCancel_Click();
}
