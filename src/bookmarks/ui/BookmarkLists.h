#pragma once

#include <QListWidget>
#include <QTableWidget>

namespace tramble {

// The manager's bookmark list, "lvUrl": one row per bookmark (description,
// address). A row dragged from it carries its number and a tag of the list,
// so that only the group list of the same window takes the drop.
class TUrlTable : public QTableWidget {
    Q_OBJECT
public:
    explicit TUrlTable(QWidget* parent = nullptr);

    static const QString kMimeType;
    // The tag that marks drags out of this list.
    QByteArray DragTag() const;
    // The row a drag of this list carries, or -1 when the data is not one.
    int DraggedRow(const QMimeData* data) const;

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;
};

// The manager's group list, "lsbGroup". A right press selects the group
// under the pointer (or none) without showing it; bookmarks dragged from the
// bookmark list may be dropped on a group.
class TGroupList : public QListWidget {
    Q_OBJECT
public:
    TGroupList(const TUrlTable& source, QWidget* parent = nullptr);

signals:
    // A right press selected this group (-1: none).
    void rightPressed(int row);
    // The bookmark in row of the bookmark list was dropped on group target.
    void bookmarkDropped(int row, int target);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    const TUrlTable& m_source;
};

} // namespace tramble
