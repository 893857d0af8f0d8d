#include "data_combo.h"

#include "ado_data_control.h"
#include "listed_rows.h"

#include "data/recordset.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QSignalBlocker>

namespace widgets {

DataCombo::DataCombo(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    // The text is what the user typed: nothing completes it into an entry,
    // and nothing typed becomes an entry.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::editTextChanged, this, [this] {
        m_heldId.clear();
        Q_EMIT Change();
    });
    connect(this, &QComboBox::activated, this, [this] {
        if (m_choosing)
            Q_EMIT Click(ListPart);
    });
}

void DataCombo::setRowSource(AdoDataControl* source)
{
    m_rowSource = source;
    Refresh();
}

AdoDataControl* DataCombo::RowSource() const
{
    return m_rowSource;
}

void DataCombo::Refresh()
{
    const std::shared_ptr<data::Recordset> rows = m_rowSource ? m_rowSource->recordset() : nullptr;
    const QString bound = m_boundColumn.isEmpty() ? m_listField : m_boundColumn;
    const ListedRows listed =
        rows && !m_listField.isEmpty() ? listRows(*rows, {m_listField, bound}) : ListedRows();
    const QString before = currentText();
    const QString chosen = m_heldId.isEmpty() ? BoundText() : m_heldId;
    {
        // Emptying and filling the list passes the text through other
        // values; only where it ends up is a change.
        const QSignalBlocker quiet(this);
        clear();
        for (const ListedRow& row : listed.rows)
            addItem(row.values[0].toString(), row.values[1].toString());
        const int row = chosen.isEmpty() ? -1 : findData(chosen);
        setCurrentIndex(row);
        setEditText(row < 0 ? before : itemText(row));
    }
    // Unbinding and binding again must not lose the record's entry.
    m_heldId = count() == 0 ? chosen : QString();
    if (currentText() != before)
        Q_EMIT Change();
}

QString DataCombo::BoundText() const
{
    const int row = rowOfText(currentText());
    return row < 0 ? QString() : itemData(row).toString();
}

void DataCombo::setBoundText(const QString& id)
{
    m_heldId.clear();
    const int row = id.isEmpty() ? -1 : findData(id);
    // Qt puts the entry's text in the line edit even when the index stays.
    setCurrentIndex(row);
}

int DataCombo::rowOfText(const QString& text) const
{
    if (text.isEmpty())
        return -1;
    // Of entries with the same text, the chosen one is meant.
    const int chosen = currentIndex();
    if (chosen >= 0 && itemText(chosen).compare(text, Qt::CaseInsensitive) == 0)
        return chosen;
    for (int row = 0; row < count(); ++row) {
        if (itemText(row).compare(text, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

void DataCombo::setLocked(bool locked)
{
    m_locked = locked;
    lineEdit()->setReadOnly(locked);
    if (locked)
        hidePopup();
}

void DataCombo::showPopup()
{
    if (m_locked)
        return;
    m_choosing = true;
    QComboBox::showPopup();
}

void DataCombo::hidePopup()
{
    QComboBox::hidePopup();
    // The entry chosen in the list is reported right after the list closes.
    QTimer::singleShot(0, this, [this] { m_choosing = false; });
}

bool DataCombo::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == lineEdit()
        && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (type == QEvent::MouseButtonPress)
            Q_EMIT Click(TextPart);
        else
            Q_EMIT DblClick(TextPart);
    }
    return QComboBox::eventFilter(watched, event);
}

void DataCombo::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // These step through the list, which a locked combo keeps still.
        if (m_locked) {
            event->ignore();
            return;
        }
        break;
    default:
        break;
    }
    m_choosing = true;
    QComboBox::keyPressEvent(event);
    m_choosing = false;
}

void DataCombo::mousePressEvent(QMouseEvent* event)
{
    // The line edit takes the presses on the text, so this is the button.
    if (event->button() == Qt::LeftButton)
        Q_EMIT Click(ButtonPart);
    QComboBox::mousePressEvent(event);
}

void DataCombo::wheelEvent(QWheelEvent* event)
{
    if (m_locked)
        event->ignore();
    else
        QComboBox::wheelEvent(event);
}

} // namespace widgets
