#include "search/ui/SearchPopup.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace tramble {

TSearchPopup::TSearchPopup(QWidget* anchor) : QListWidget(nullptr), m_anchor(anchor)
{
    setObjectName(QStringLiteral("lsbSearch"));
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(16, 16));
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { emit rowPicked(row(item)); });
}

void TSearchPopup::Clear()
{
    clear();
    setCurrentRow(-1);
}

void TSearchPopup::AddRow(const QIcon& icon, const QString& title)
{
    addItem(new QListWidgetItem(icon, title));
}

void TSearchPopup::ShowUnderAnchor()
{
    setCurrentRow(-1);
    setFont(m_anchor->font());
    const int rowHeight = std::max(sizeHintForRow(0), 18);
    const int height = rowHeight * count() + 2 * frameWidth();
    const int width = std::max(m_anchor->width(), 280);
    QPoint at = m_anchor->mapToGlobal(QPoint(0, m_anchor->height()));
    if (const QScreen* screen = m_anchor->screen()) {
        const QRect desk = screen->availableGeometry();
        if (at.y() + height > desk.bottom())
            at.setY(m_anchor->mapToGlobal(QPoint(0, 0)).y() - height);
        at.setX(std::clamp(at.x(), desk.left(), std::max(desk.left(), desk.right() - width)));
    }
    setGeometry(QRect(at, QSize(width, height)));
    show();
    raise();
}

void TSearchPopup::MoveChoice(int step)
{
    if (count() == 0)
        return;
    const int next = currentRow() + step;
    if (next < 0) {
        setCurrentRow(-1);
        clearSelection();
        return;
    }
    setCurrentRow(std::min(next, count() - 1));
}

} // namespace tramble
