#pragma once

#include "weather/HttpClient.h"
#include "weather/WeatherXml.h"

#include <QDialog>
#include <QTimer>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace tramble {

class TLanguage;

// Asks the weather service for the places matching a typed city name and
// lets the user pick one. A search makes up to five attempts, each cut off by
// the watchdog after five seconds; the window stays responsive meanwhile.
class TfrmFindCity : public QDialog {
    Q_OBJECT
public:
    // host: host[:port] of the weather service.
    TfrmFindCity(QWidget* owner, const TLanguage& language, std::string host);
    ~TfrmFindCity() override;

    // The chosen row (city, state, code) once closed with OK.
    const std::optional<TCityRow>& Result() const { return m_result; }

    static constexpr int kAttempts = 5;
    static constexpr int kWatchdogMs = 5000;

    QLabel* lbFindCityTip = nullptr;
    QLineEdit* edtCity = nullptr;
    QPushButton* btnSearch = nullptr;
    QTreeWidget* lvCity = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QTimer tmrCity;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnSearchClick();
    void tmrCityTimer();
    void btnOkClick();
    // One GET on a thread of its own while this window's events run.
    THttpResult Fetch(const std::string& url);
    void FillList(const std::string& xml);

    const TLanguage& m_language;
    std::string m_host;
    THttpClient m_http;
    bool m_searching = false;
    bool m_closing = false;
    std::optional<TCityRow> m_result;
};

} // namespace tramble
