#pragma once
// frmDuplicates: one group of duplicates at a time, its contacts side by
// side (a column each, a row per field). In a row where the contacts
// differ, the checked value is the one the kept contact ends with; Space
// or a click checks another. Merge asks first and writes the group as one
// contact; Skip leaves the group alone; Undo Last Merge takes back the
// latest merge of this run. A group too large to compare at a glance
// shows its first members only, and says so: a merge takes those, and the
// group comes back with the rest.

#include "transfer/contacts_merge.h"

#include <QDialog>

#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

class frmDuplicates : public QDialog {
    Q_OBJECT
public:
    explicit frmDuplicates(QWidget* parent = nullptr);
    ~frmDuplicates() override;

    // Groups the contacts of the rows the card holds (while no card is
    // open, of the book read for the window); false, told in a message,
    // when the book cannot be read.
    bool reread();
    int groupCount() const { return int(m_groups.size()); }
    // Whether a merge of this run can still be taken back.
    static bool canUndo();

private:
    void showGroup();
    void choose(QTableWidgetItem* item);
    void merge();
    void skip();
    void undoLast();

    std::shared_ptr<data::Connection> m_connection;
    std::shared_ptr<data::Recordset> m_rows;
    std::optional<transfer::PickLists> m_lists;
    std::vector<std::vector<int>> m_groups; // stored rows of m_rows
    size_t m_shown = 0;
    std::vector<transfer::BookContact> m_members; // those shown of the group shown
    transfer::MergeChoices m_choices{};

    QLabel* m_heading;
    QTableWidget* m_table;
    QPushButton* m_merge;
    QPushButton* m_skip;
    QPushButton* m_undo;
};
