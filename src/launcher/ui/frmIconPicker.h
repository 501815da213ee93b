#pragma once

#include "launcher/ui/EntryIcons.h"

#include <QDialog>
#include <QString>

#include <optional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSortFilterProxyModel;
class QSpinBox;
class QStringListModel;
class QTabWidget;
class QToolButton;

namespace tramble {

class TLanguage;

// An icon as an entry stores it: a theme icon's name (index 0), or an image
// file and the number of the picture in it.
struct TIconChoice {
    QString File;
    int Index = 0;

    bool operator==(const TIconChoice&) const = default;
};

// Picks an entry's icon: the icons of the current theme by name, with their
// pictures and a search field, or an image file (PNG, SVG, XPM, ICO with the
// number of its picture).
class TfrmIconPicker : public QDialog {
    Q_OBJECT
public:
    explicit TfrmIconPicker(const TLanguage& language, QWidget* parent = nullptr);
    ~TfrmIconPicker() override;

    // Shows this icon: a name without "/" among the theme icons, else the file.
    void OpenOn(const TIconChoice& icon);
    // What OK would give; nothing while no icon is chosen.
    std::optional<TIconChoice> Chosen() const;

    QTabWidget* pgcKind = nullptr;
    QLineEdit* edtSearch = nullptr;
    QListView* lvThemeIcons = nullptr;
    QLineEdit* edtIconFile = nullptr;
    QToolButton* btnBrowse = nullptr;
    QSpinBox* udIndex = nullptr;
    QLabel* lbPreview = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BrowseFile();
    void FileChanged();
    void UpdatePreview();

    QString m_imageFilter;
    QStringListModel* m_names = nullptr;
    QSortFilterProxyModel* m_found = nullptr;
    TEntryIconSource m_icons;
};

} // namespace tramble
