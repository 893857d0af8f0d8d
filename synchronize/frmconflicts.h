#pragma once
// frmConflicts: the contacts both sides changed since the last sync, one at
// a time, the book's version (the server's) beside the person's, a row per
// field that differs. Keep Mine puts the person's version in the book, to
// go up at the next sync; Keep Theirs leaves the server's. Either settles
// the contact at once.

#include "sync/conflicts.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

class frmConflicts : public QDialog {
    Q_OBJECT
public:
    explicit frmConflicts(QWidget* parent = nullptr);
    ~frmConflicts() override;

    // Reads the book's conflicts; false, told in a message, when the book
    // cannot be read.
    bool reread();
    int conflictCount() const { return int(m_conflicts.size()); }

private:
    void showConflict();
    void settle(bool keepMine);

    std::optional<tovren::sync::SyncedBook> m_book;
    std::vector<tovren::sync::Conflict> m_conflicts;

    QLabel* m_heading;
    QTableWidget* m_table;
    QPushButton* m_mine;
    QPushButton* m_theirs;
};
