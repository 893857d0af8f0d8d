#include "data_list.h"

#include "listed_rows.h"

#include "data/recordset.h"

#include <QKeyEvent>

namespace widgets {

DataList::DataList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this, &DataList::Click);
}

void DataList::setRowSource(std::shared_ptr<data::Recordset> rows, const QString& listField)
{
    fill(rows.get(), listField);
    m_rows = std::move(rows);
    m_listField = listField;
}

void DataList::ReFill()
{
    fill(m_rows.get(), m_listField);
}

void DataList::fill(data::Recordset* rows, const QString& listField)
{
    const ListedRows listed = rows ? listRows(*rows, {listField}) : ListedRows();
    clear();
    for (const ListedRow& row : listed.rows) {
        auto* item = new QListWidgetItem(row.values[0].toString(), this);
        item->setData(Qt::UserRole, row.bookmark);
    }
    if (listed.current >= 0)
        setCurrentRow(listed.current);
}

QVariant DataList::SelectedBookmark() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QVariant() : selected.first()->data(Qt::UserRole);
}

void DataList::keyPressEvent(QKeyEvent* event)
{
    if (m_locked) {
        event->ignore();
        return;
    }
    // With nothing chosen, the first arrow key chooses the entry the list
    // stands on rather than moving past it.
    if (selectedItems().isEmpty() && currentItem()
        && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
        currentItem()->setSelected(true);
        Q_EMIT Click();
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        Q_EMIT Click();
}

bool DataList::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        if (m_locked)
            return true;
        break;
    default:
        break;
    }
    return QListWidget::viewportEvent(event);
}

} // namespace widgets
