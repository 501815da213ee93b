#pragma once

#include "bookmarks/BrowserProfiles.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

namespace tramble {

class TLanguage;

// Lets the user pick the browser profile whose bookmarks to import.
class TfrmImport : public QDialog {
    Q_OBJECT
public:
    TfrmImport(const std::vector<TBrowserProfile>& profiles, const TLanguage& language, QWidget* parent = nullptr);

    // The profile chosen, by its place in the list given.
    int Chosen() const;

    QLabel* lbBrowser = nullptr;
    QComboBox* cbbBrowser = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
};

} // namespace tramble
