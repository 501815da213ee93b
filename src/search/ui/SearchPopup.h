#pragma once

#include <QIcon>
#include <QListWidget>
#include <QString>

namespace tramble {

// The list of matches under the command box. It never takes the keyboard:
// the box keeps it, and moves the choice here with the arrow keys.
class TSearchPopup : public QListWidget {
    Q_OBJECT
public:
    explicit TSearchPopup(QWidget* anchor);

    void Clear();
    void AddRow(const QIcon& icon, const QString& title);
    // Shows the rows under the anchor (above it where the screen ends), with
    // no row chosen.
    void ShowUnderAnchor();
    // Moves the choice one row down (step 1) or up (-1); up from the first
    // row chooses none again.
    void MoveChoice(int step);
    // The chosen row, or -1.
    int Choice() const { return currentRow(); }

signals:
    void rowPicked(int row);

private:
    QWidget* m_anchor;
};

} // namespace tramble
