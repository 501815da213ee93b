#pragma once

#include <QDialog>
#include <QTimer>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QListView;
class QPushButton;
class QSplitter;
class QTreeView;

namespace tramble {

class TFolderListModel;
class TLanguage;

// Picks a file or a folder: a tree of folders beside a sorted list of the
// chosen folder's folders and files, the two following each other. The tree
// starts at the user's home; the places above it lead to the desktop folder,
// the mounted volumes and the whole file system, and a path may be typed.
class TfrmSelect : public QDialog {
    Q_OBJECT
public:
    enum class TMode {
        FilesAndFolders,
        FoldersOnly, // the tree alone
    };

    TfrmSelect(TMode mode, const TLanguage& language, QWidget* parent = nullptr);
    ~TfrmSelect() override;

    // Opens the tree at an existing folder, or at the folder of an existing
    // file with the file selected in the list. Anything else changes nothing.
    void OpenAt(const QString& path);

    // The item selected in the list, or, with nothing selected there, the
    // folder selected in the tree; empty when neither gives one.
    QString SelectedPath() const;

    // The folder selected in the tree; empty when there is none.
    QString SelectedFolder() const;

    // The folder the tree shows its folders from.
    QString PlaceRoot() const;

    QComboBox* cbbPlaces = nullptr;
    QLineEdit* edtPath = nullptr;
    QSplitter* splitter = nullptr;
    QTreeView* tvFolders = nullptr;
    QListView* lvItems = nullptr;
    QWidget* pnlButtons = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QTimer tmrReload;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddPlaces();
    void SetPlace(const QString& root);
    void SelectFolderInTree(const QString& folder);
    void FolderChosen();
    void ItemActivated(int row);
    void PathTyped();
    void ShowSelectedPath();
    void PlaceButtons();
    void ReloadList();

    TMode m_mode;
    QFileSystemModel* m_folders = nullptr;
    TFolderListModel* m_items = nullptr;
};

} // namespace tramble
