#include "bookmarks/ui/BookmarkLists.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>

#include <unistd.h>

namespace tramble {

const QString TUrlTable::kMimeType = QStringLiteral("application/x-tramble-bookmark-row");

TUrlTable::TUrlTable(QWidget* parent) : QTableWidget(0, 2, parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(0, 80);
    setColumnWidth(1, 220);
}

QByteArray TUrlTable::DragTag() const
{
    return QByteArray::number(static_cast<qlonglong>(::getpid())) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(this));
}

int TUrlTable::DraggedRow(const QMimeData* data) const
{
    if (!data || !data->hasFormat(kMimeType))
        return -1;
    const QList<QByteArray> parts = data->data(kMimeType).split(' ');
    bool ok = false;
    const int row = parts.size() == 2 && parts[0] == DragTag() ? parts[1].toInt(&ok) : -1;
    return ok && row >= 0 && row < rowCount() ? row : -1;
}

QStringList TUrlTable::mimeTypes() const
{
    return {kMimeType};
}

QMimeData* TUrlTable::mimeData(const QList<QTableWidgetItem*>& items) const
{
    if (items.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(kMimeType, DragTag() + ' ' + QByteArray::number(items.front()->row()));
    return data;
}

TGroupList::TGroupList(const TUrlTable& source, QWidget* parent) : QListWidget(parent), m_source(source)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDropIndicatorShown(true);
}

void TGroupList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        QListWidget::mousePressEvent(event);
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    emit rightPressed(index.isValid() ? index.row() : -1);
}

void TGroupList::dragEnterEvent(QDragEnterEvent* event)
{
    if (m_source.DraggedRow(event->mimeData()) >= 0)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TGroupList::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_source.DraggedRow(event->mimeData()) >= 0 && indexAt(event->position().toPoint()).isValid())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TGroupList::dropEvent(QDropEvent* event)
{
    const int row = m_source.DraggedRow(event->mimeData());
    const QModelIndex target = indexAt(event->position().toPoint());
    if (row < 0 || !target.isValid()) {
        event->ignore();
        return;
    }
    // The window moves the bookmark itself; a move action would have the
    // bookmark list remove the row once more.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit bookmarkDropped(row, target.row());
}

} // namespace tramble
