#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tramble {

class TFastIniFile;
class TLanguage;

// Asks for a group name; OK hands it over in "temp"/"group".
class TfrmAddGroup : public QDialog {
    Q_OBJECT
public:
    TfrmAddGroup(TFastIniFile& settings, const TLanguage& language, QWidget* parent = nullptr);

    QLabel* lbGroup = nullptr;
    QLineEdit* edtGroup = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnOkClick();

    TFastIniFile& m_settings;
};

} // namespace tramble
