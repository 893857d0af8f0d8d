#pragma once
// frmLookUp: the entries of one pick list (salutations or religions) with
// Add, Modify and Delete. Every change stays pending in memory until OK
// sends them all to the database at once; Cancel drops them, and so do the
// close box and Escape.
//
// The lookup commands set cls1()->setRecSrc() (and bAdd, to open the add
// dialog at once), run Form_Load() and show the dialog modally.

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;

namespace widgets {
class DataList;
} // namespace widgets

namespace records {
class LookUp;
} // namespace records

class frmLookUp : public QDialog {
    Q_OBJECT
public:
    explicit frmLookUp(QWidget* parent = nullptr);
    ~frmLookUp() override;

    // The one list dialog, or nullptr when none exists.
    static frmLookUp* instance();

    // The pick list being maintained, created on first use.
    records::LookUp* cls1();
    // True while an entry is being added: set by a caller to open the add
    // dialog on load and by Add; the edit dialog clears it when it closes.
    bool bAdd = false;

    void Form_Load();

    widgets::DataList* dltLookUp = nullptr;
    QLabel* lblLookUps = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdModify = nullptr;
    QPushButton* cmdDel = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The close box and Escape act as Cancel.
    void reject() override;

private:
    void dltLookUp_Click();
    void cmdAdd_Click();
    void cmdModify_Click();
    void cmdDel_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
    void showEditDialog();

    std::unique_ptr<records::LookUp> m_cls1;
};
