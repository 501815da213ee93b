#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;

namespace tramble {

class TLanguage;

// The figures the about window shows; it changes none of them.
struct TAboutFigures {
    uint32_t AppCount = 0;
    uint32_t RunCount = 0;
    int64_t TotalSeconds = 0;
    int64_t ThisRunSeconds = 0;
    bool ReadOnlyMode = false;
    bool PortableMode = false;
};

// The product, its version, the usage figures, the translator, the weather
// data's source and the licences of the libraries the program links.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    TfrmAbout(const TAboutFigures& figures, const TLanguage& language, const QFont& font);

    QLabel* lbAppName = nullptr;
    QLabel* lbVersion = nullptr;
    QLabel* lbAppCnt = nullptr;
    QLabel* lbRunCnt = nullptr;
    QLabel* lbRunTime = nullptr;
    QLabel* lbThisTime = nullptr;
    QLabel* lbTranslator = nullptr;
    QLabel* lbLanguage = nullptr;
    QLabel* lbSpecialThanks = nullptr;
    QLabel* lbReadonlyMode = nullptr;
    QLabel* lbPortMode = nullptr;
    QLabel* lbWeatherCredit = nullptr;
    QLabel* lbLibraries = nullptr;
    QLabel* lbHomepage = nullptr;
    QLabel* lbHelpToTranslate = nullptr;
    QPushButton* btnOk = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    const TLanguage& m_language;
    TAboutFigures m_figures;
};

// The libraries the program links and their licences, one per line.
QString LibraryLicences();

} // namespace tramble
