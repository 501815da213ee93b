#pragma once

#include "bookmarks/BookmarkModel.h"

#include <QMenu>

namespace tramble {

// The bookmark button's menu, "pmNetBookmark": one submenu per group with an
// entry per bookmark, the address as its tooltip. A group's entries are made
// when its submenu first opens, so a large collection costs nothing until
// it is looked at.
class TNetBookmarkMenu : public QMenu {
    Q_OBJECT
public:
    explicit TNetBookmarkMenu(QWidget* parent = nullptr);

    // Builds the group submenus anew. The model must stay alive and unchanged
    // until the next Rebuild.
    void Rebuild(const TBookmarkModel& model);

signals:
    void bookmarkChosen(const QString& caption, const QString& address);

private:
    void FillGroup(QMenu* submenu, size_t group);

    const TBookmarkModel* m_model = nullptr;
};

} // namespace tramble
