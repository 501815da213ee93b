#pragma once

#include <QList>

class QAction;
class QMenu;
class QWidget;

namespace tramble {

class TLanguage;

// The bar's pop-up menus and their items, named as the language table and
// the other parts of the program know them. Items whose work another part of
// the program provides start disabled; that part connects the item and calls
// MarkWired, after which the item follows the read-only rule.
struct TBarMenus {
    QMenu* Bar = nullptr;
    QAction* pmAdd = nullptr;
    QMenu* pmsort = nullptr;
    QAction* pmSortByClick = nullptr;
    QAction* pmSortByTime = nullptr;
    QAction* pmOption = nullptr;
    QAction* pmTaskList = nullptr;
    QMenu* pmLanguage = nullptr;
    QAction* pmStatics = nullptr;
    QAction* pmHelp = nullptr;
    QAction* pmAbout = nullptr;
    QAction* pmExit = nullptr;

    QMenu* Button = nullptr;
    QAction* pmBtnAdd = nullptr;
    QAction* pmBtnEdit = nullptr;
    QAction* pmBtnDel = nullptr;
    QAction* pmBtnProperty = nullptr;

    // Items that change the settings, disabled in read-only mode.
    QList<QAction*> WritingItems() const;
};

// Builds the two menus as children of the owner; items with a key are added
// to the owner so that the key works while the bar is active.
TBarMenus CreateBarMenus(QWidget* owner);

// An item whose work is connected now; it is enabled.
void MarkWired(QAction* item);
bool IsWired(const QAction* item);

// Enables each wired item that changes the settings unless read-only; items
// whose work is not there yet stay disabled.
void EnableWritingItems(const TBarMenus& menus, bool readOnly);

// Sets the captions of the bar's menu items from the language table.
void ApplyLanguage(const TBarMenus& menus, const TLanguage& language);

} // namespace tramble
