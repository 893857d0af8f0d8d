#pragma once
// A data-bound list over a recordset: one column of every row, in the
// recordset's order. Filling it selects the row the recordset stands on,
// and the bookmark of the entry the user picks tells the recordset where
// to go.

#include <QListWidget>

#include <memory>

namespace data {
class Recordset;
}

namespace widgets {

class DataList : public QListWidget {
    Q_OBJECT
public:
    explicit DataList(QWidget* parent = nullptr);

    // Binds the list and fills it; null rows unbind and empty it. Raises
    // RunTimeError, changing nothing, when the rows lack `listField`.
    void setRowSource(std::shared_ptr<data::Recordset> rows, const QString& listField);
    // Reads the rows again, after rows were added, changed or deleted. Like
    // every move, this completes an edit in progress in the recordset.
    void ReFill();
    // The bookmark of the selected entry; invalid when none is selected.
    QVariant SelectedBookmark() const;

    // A locked list keeps its selection: it can be scrolled, not picked in.
    bool Locked() const { return m_locked; }
    void setLocked(bool locked) { m_locked = locked; }

Q_SIGNALS:
    void Click(); // the user picked an entry, by mouse or by key

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void fill(data::Recordset* rows, const QString& listField);

    std::shared_ptr<data::Recordset> m_rows;
    QString m_listField;
    bool m_locked = false;
};

} // namespace widgets
