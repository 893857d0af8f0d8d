#pragma once
// frmAddress: the address card, a child window of the main window in which
// the user sees and edits one contact. The shared commands reach it as the
// main window's active form and use its public members by name; the card
// itself notices edits, keeps its toolbar state, offers the date picker and
// the combos' undo, and checks the fields into its record before a save.

#include "core/frame.h"
#include "core/toolbar_state.h"

#include <QColor>
#include <QSet>
#include <QVariant>
#include <QVector>
#include <QWidget>

#include <memory>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QPushButton;

namespace widgets {
class AdoDataControl;
class DataCombo;
} // namespace widgets

namespace records {
class Address;
} // namespace records

class frmAddress : public QWidget, public tovren::ChildWindow {
    Q_OBJECT
public:
    static inline const QColor kNormalColor{224, 199, 112};
    static inline const QColor kAddingColor{192, 255, 255};

    explicit frmAddress(QWidget* parent = nullptr);
    ~frmAddress() override;

    // The one card, or nullptr when it is not open.
    static frmAddress* instance();
    // Masters, Addresses: opens the card in the main window (or brings it forward).
    static frmAddress* open();

    // The card's record, created on first use.
    records::Address* cls1();
    // The card's edit state, owned here: the commands read it and change
    // it only through these calls.
    // A new record is being entered.
    bool bAdd() const { return m_bAdd; }
    // The shown record has been changed and not yet saved or cancelled.
    bool bEdit() const { return m_bEdit; }
    // The record to return to after a cancel or a filter.
    const QVariant& mvarBkmk() const { return m_mvarBkmk; }
    void markChanged() { m_bEdit = true; }
    // Adding begins: bAdd, and the background that marks adding.
    void beginAdding();
    // The record was saved or cancelled: neither adding nor changed.
    void endEditing();
    void rememberRecord(const QVariant& bookmark) { m_mvarBkmk = bookmark; }

    QVector<QLineEdit*> txtFld;
    QVector<QLineEdit*> txtDt;
    QVector<widgets::DataCombo*> dbcFld;
    QVector<QPushButton*> cmdDt;
    QVector<widgets::AdoDataControl*> adcFld;
    QVector<QLabel*> lblTxt;
    QVector<QLabel*> lblDt;
    QVector<QLabel*> lblDbc;
    QCalendarWidget* mvwDt = nullptr;

    void frmLetTbrbtns();
    void frmGetTbrbtns();
    void frmLetFilterTbrbtns();
    void frmGetFilterTbrbtns();
    bool bValDat();
    void dbcFld_Undo(qint16 Index);

    // The whole card, at the size it was laid out for.
    QSize sizeHint() const override;

    QColor backColor() const;
    // The fields hold query values while a filter is being entered.
    static bool isFilterEntry();

    void Form_Load();
    void Form_Activate() override;
    void Form_Deactivate() override;
    void cmdDt_Click(int Index);
    void mvwDt_DateClick(QDate DateClicked);

Q_SIGNALS:
    // The card shows another row, or none: after a move, a save, a delete,
    // a refresh, a filter. Windows beside the card follow it.
    void recordShown();
    // The card is closing and has set the commands as for no card.
    void unloaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void Form_Unload(bool& Cancel);
    void fieldGotFocus(QLineEdit* field);
    void fieldChange();
    void dbcFld_GotFocus(int Index);
    void dbcFld_Click(int Index, int Area);
    void dbcFld_DblClick(int Index, int Area);
    void dbcFld_Change(int Index);
    void dbcFld_MouseDown(int Index, const QPoint& globalPos);
    // The date picker closes, and the focus goes back to its date box.
    void closeCalendar();
    bool isLocked(QWidget* field) const;
    bool checked(QWidget* field); // after a Let: false moves the focus there

    void setBackColor(const QColor& color);

    std::unique_ptr<records::Address> m_cls1;
    bool m_bAdd = false;
    bool m_bEdit = false;
    QVariant m_mvarBkmk;
    bool bActivated = false;
    QWidget* ctlLast = nullptr;
    QLineEdit* ctlDate = nullptr;
    QString sUndo[3];
    QString sUndoTmp[3];
    modGenProcedures::TbrState TbrNormal;
    modGenProcedures::TbrState TbrFilter;
    QWidget* m_content = nullptr;
    QSet<int> m_pressedKeys;
};
