#pragma once
// A data-bound combo with an editable text part (style 0). Its list shows
// one column (ListField) of the rows of a data control, in their order; each
// entry stands for the value of another column (BoundColumn, an id). The
// text is matched against the list without regard to case, and BoundText
// is the id of the entry it names.

#include <QComboBox>
#include <QPointer>

namespace widgets {

class AdoDataControl;

class DataCombo : public QComboBox {
    Q_OBJECT
public:
    // Where the user clicked, as Click and DblClick report it.
    enum ClickArea { ButtonPart = 0, TextPart = 1, ListPart = 2 };

    explicit DataCombo(QWidget* parent = nullptr);

    // Binding fills the list from the data control's rows at once; nullptr
    // unbinds and empties the list. The text stays as it was either way.
    void setRowSource(AdoDataControl* source);
    AdoDataControl* RowSource() const;
    // The columns are read at the next Refresh or binding. Without a
    // BoundColumn the ListField is the bound value.
    void setListField(const QString& field) { m_listField = field; }
    QString ListField() const { return m_listField; }
    void setBoundColumn(const QString& column) { m_boundColumn = column; }
    QString BoundColumn() const { return m_boundColumn; }
    // The column of the form's record that the bound value belongs to.
    void setDataField(const QString& field) { m_dataField = field; }
    QString DataField() const { return m_dataField; }

    // Re-reads the list from the row source's recordset (none: an empty
    // list). The chosen entry stays chosen by its id, even if its text
    // changed, and even across an unbound spell with an empty list as long
    // as the text is left alone; a text that named no entry stays as it
    // was. Raises RunTimeError, leaving the list as it was, when the rows
    // lack a column.
    void Refresh();

    // "" when the text names no entry.
    QString BoundText() const;
    // Chooses the entry with that id; "" or an unknown id empties the text.
    void setBoundText(const QString& id);
    QString Text() const { return currentText(); }
    void setText(const QString& text) { setEditText(text); }
    int Style() const { return 0; }

    // A locked combo takes no typing, opens no list and lets neither keys
    // nor the wheel change its entry; the program still may.
    bool Locked() const { return m_locked; }
    void setLocked(bool locked);

    void showPopup() override;
    void hidePopup() override;

Q_SIGNALS:
    // Clicks on the button and the text are reported while locked too; a
    // locked combo's list cannot be opened, so it reports no list clicks.
    void Click(int Area);
    void DblClick(int Area);
    void Change(); // the text changed, by the user or by the program

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int rowOfText(const QString& text) const;

    QPointer<AdoDataControl> m_rowSource;
    QString m_listField;
    QString m_boundColumn;
    QString m_dataField;
    QString m_heldId; // the chosen entry's id while the list is empty
    bool m_locked = false;
    // An entry chosen by the user (from the list, or with the arrow keys),
    // as against one that leaving the text part settles on.
    bool m_choosing = false;
};

} // namespace widgets
