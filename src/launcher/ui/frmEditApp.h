#pragma once

#include "launcher/AppEntry.h"
#include "launcher/PathMacros.h"
#include "launcher/ui/EntryIcons.h"
#include "launcher/ui/frmIconPicker.h"

#include <QDialog>
#include <QImage>

#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace tramble {

class TLanguage;

// The theme icon an entry's icon picker opens on when its icon is gone.
inline constexpr const char* kDefaultPickerIcon = "application-x-executable";

// Where the icon picker opens for an entry's icon: its file (macros expanded)
// or theme icon with its index while that is there, else the theme's default
// application icon at index 0.
TIconChoice IconPickerStart(const std::string& iconFile, int index, const TMacroFolders& folders);

// Edits every field of one application entry. The dialog keeps its own copy
// of the icon file and index, with a preview drawn as the bar draws buttons;
// nothing reaches the entry unless the caller takes Edited() after OK.
class TfrmEditApp : public QDialog {
    Q_OBJECT
public:
    TfrmEditApp(const TAppEntry& entry, const TLanguage& language, TMacroFolders folders, int iconSize,
                QWidget* parent = nullptr);
    ~TfrmEditApp() override;

    // The entry as the controls show it; App exactly as typed. The run
    // counter and timer are the entry's own.
    TAppEntry Edited() const;
    // The icon the button gets.
    const QImage& Preview() const { return m_preview; }

    QLineEdit* edtDescript = nullptr;
    QLineEdit* edtApp = nullptr;
    QToolButton* btnSelApp = nullptr;
    QLineEdit* edtStartFolder = nullptr;
    QToolButton* btnSelFolder = nullptr;
    QLineEdit* edtArguments = nullptr;
    QCheckBox* chkPrompt = nullptr;
    QComboBox* cbbWS = nullptr;
    QCheckBox* chkAutoRun = nullptr;
    QFrame* pnlIcon = nullptr;
    QToolButton* btnIcon = nullptr;
    QPushButton* btnSelectIcon = nullptr;
    QLabel* lbNote = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void SelectApp();
    void SelectFolder();
    void SelectIcon();
    void RebuildPreview();

    TAppEntry m_entry;
    const TLanguage& m_language;
    TMacroFolders m_folders;
    int m_iconSize;
    std::string m_iconFile;
    int32_t m_iconIndex = 0;
    QImage m_preview;
    TEntryIconSource m_icons;
};

} // namespace tramble
