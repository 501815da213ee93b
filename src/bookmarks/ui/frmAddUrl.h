#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tramble {

class TBookmarkModel;
class TFastIniFile;
class TLanguage;

// Asks for a bookmark: description, group and address. The groups are those
// of the model it is given (the bar's bookmarks or the manager's working
// copy); the group in "temp"/"group" is preselected. OK hands the input over
// in "temp"; the address is not checked.
class TfrmAddUrl : public QDialog {
    Q_OBJECT
public:
    TfrmAddUrl(TFastIniFile& settings, const TLanguage& language, const TBookmarkModel& groups,
               QWidget* parent = nullptr);

    QLabel* lbDescription = nullptr;
    QLineEdit* edtDescription = nullptr;
    QLabel* lbGroup = nullptr;
    QComboBox* cbbGroup = nullptr;
    QLabel* lbUrl = nullptr;
    QLineEdit* edtUrl = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnOkClick();

    TFastIniFile& m_settings;
};

} // namespace tramble
