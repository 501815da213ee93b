#pragma once

#include "bookmarks/BookmarkModel.h"

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QToolButton;

namespace tramble {

class TBarLink;
class TNetBookmarkMenu;

// The bar's bookmarks: the bookmark button's menu of groups and its
// right-click menu (add a bookmark, add a group, the manager), the add
// dialogs and the manager, loading at start-up and saving after every change.
class TNetBookmarks : public QObject {
    Q_OBJECT
public:
    // Lives as long as the bar window, its parent.
    TNetBookmarks(TBarLink& link, QToolButton* tbNetBookmark);

    const TBookmarkModel& Model() const { return m_model; }
    TNetBookmarkMenu* BookmarkMenu() const { return pmNetBookmark; }
    QMenu* ManagerMenu() const { return pmNetBookmarkManager; }

    // Reads the bookmarks from the settings (the start-up step).
    void LoadNetBookmarks();
    // Opens the bookmark menu at the pointer.
    void tbNetBookmarkClick();
    void pmnetBookmarkAddUrlClick();
    void pmNetBookmarkAddGrounpClick();
    void pmNetBookmarkManageClick();
    // Hands a bookmark's address to the desktop's opener.
    void OpenNetBookmark(const QString& caption, const QString& address);

    QAction* pmnetBookmarkAddUrl = nullptr;
    QAction* pmNetBookmarkAddGrounp = nullptr;
    QAction* pmNetBookmarkManage = nullptr;

private:
    void SaveNetBookmarks();
    void ApplyLanguage();
    QString Text(const char* section, const char* key) const;

    TBarLink& m_link;
    QToolButton* m_button;
    TBookmarkModel m_model;
    TNetBookmarkMenu* pmNetBookmark = nullptr;
    QMenu* pmNetBookmarkManager = nullptr;
};

} // namespace tramble
