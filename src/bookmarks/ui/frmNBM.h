#pragma once

#include "bookmarks/BookmarkModel.h"
#include "bookmarks/BrowserProfiles.h"

#include <QDialog>

class QAction;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QSplitter;
class QTableWidgetItem;

namespace tramble {

class TFastIniFile;
class TGroupList;
class TLanguage;
class TUrlTable;

// The bookmark manager: adds, edits, deletes, reorders and regroups groups
// and bookmarks in a working copy of the bar's bookmarks, imports a
// browser's bookmarks into it and exports it. Nothing reaches the bar before
// OK; the caller then takes WorkingCopy().
class TfrmNBM : public QDialog {
    Q_OBJECT
public:
    TfrmNBM(const TBookmarkModel& bookmarks, TFastIniFile& settings, const TLanguage& language,
            TBrowserFolders browsers, QWidget* parent = nullptr);

    const TBookmarkModel& WorkingCopy() const { return m_copy; }
    // The group whose bookmarks the list shows, -1 for none.
    int ShownGroup() const { return m_shownGroup; }

    // The popup menu's commands. They act on groups when the menu was last
    // opened on the group list, else on bookmarks.
    void pmAddClick();
    void pmEditClick();
    void pmDeleteClick();
    void pmUpClick();
    void pmDownClick();
    void btnImportClick();
    void btnExportClick();

    TGroupList* lsbGroup = nullptr;
    TUrlTable* lvUrl = nullptr;
    QSplitter* pnl = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnImport = nullptr;
    QPushButton* btnExport = nullptr;
    QMenu* pm = nullptr;
    QAction* pmAdd = nullptr;
    QAction* pmEdit = nullptr;
    QAction* pmDelete = nullptr;
    QAction* pmUp = nullptr;
    QAction* pmDown = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class TTarget { Bookmarks, Groups };

    void CreateControls();
    void ApplyTexts();
    QString Text(const char* section, const char* key) const;

    // Refills the group list from the copy and selects a group (-1: none).
    void FillGroups(int select);
    // Shows a group's bookmarks in the list (-1: an empty list).
    void ShowGroup(int group);
    int SelectedGroup() const;
    int SelectedRow() const;
    void SelectGroup(int group);

    void AddGroup();
    void AddBookmark();
    void MoveGroup(bool up);
    void MoveBookmark(bool up);
    void GroupEdited(QListWidgetItem* item);
    void BookmarkEdited(QTableWidgetItem* item);
    void DropBookmark(int row, int target);
    void RightPressed(int row);

    TBookmarkModel m_copy;
    TFastIniFile& m_settings;
    const TLanguage& m_language;
    TBrowserFolders m_browsers;
    TTarget m_target = TTarget::Bookmarks;
    int m_shownGroup = -1;
    // Set while the lists are filled, so that their change signals are not
    // taken for the user's edits.
    bool m_filling = false;
};

} // namespace tramble
