#pragma once
// frmContactsList: every contact of the book at a glance, beside the card.
// A search box narrows the table as the person types; the table reads the
// card's rows in place and never writes them. Its columns' widths, order,
// visibility and sort are kept in the program's settings between runs.

#include "core/frame.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QTableView;

namespace tovren {

class ContactsModel;

class frmContactsList : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    explicit frmContactsList(QWidget* parent = nullptr);
    ~frmContactsList() override;

    // The one list, or nullptr when it is not open.
    static frmContactsList* instance();
    // Opens the list over the card's rows (or brings it forward); the card
    // must be open.
    static frmContactsList* open();

    QLineEdit* txtSearch = nullptr;
    QLabel* lblCount = nullptr;
    QTableView* tblContacts = nullptr;
    ContactsModel& model() const { return *m_model; }

    // Takes the card's rows as they stand now.
    void refresh();
    // Shows the contact of the table's row `row` on the card, opening the
    // card when it is closed; the card asks its save question first.
    void showOnCard(int row);

    // View, Refresh while the list is active: the book read again, by the
    // card when it is open (which asks to finish typing first).
    void refreshBook();

    void Form_Activate() override;
    void Form_Deactivate() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showCount();
    // With no card open, View, Refresh belongs to the list while it is
    // active; an open card sets it itself.
    static void offerRefresh(bool on);
    // Wide enough for every column's heading and typical contents, beside
    // the card inside the main window, which grows when it must.
    void placeBesideCard();
    // With the card closed, reads the book again after it was written.
    void followBook();
    // Reads the rows again when they changed, and selects the card's row.
    void followCard();
    void restoreColumns();
    void saveColumns() const;

    ContactsModel* m_model = nullptr;
    QMetaObject::Connection m_cardWatch;
    QMetaObject::Connection m_cardClosing;
};

} // namespace tovren
