#pragma once

#include "platform/Clock.h"
#include "tray/TrayMonitors.h"
#include "weather/WeatherPacing.h"
#include "weather/WeatherWorker.h"
#include "weather/WeatherXml.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

class QMenu;
class QWidget;

namespace tramble {

class TBarLink;
class TGatewayServer;
class TTrayController;
class TWeatherGateway;

// The weather in the running bar: the worker and the timer that paces it,
// the built-in gateway when no weather host is set, the city finder and the
// forecast of the weather icon's menu. It takes part in start-up (the timer)
// and shut-down (the worker stops without the bar waiting on it long).
class TWeatherController : public QObject {
    Q_OBJECT
public:
    // clock must outlive the controller and its worker.
    explicit TWeatherController(TBarLink& bar, const TClock& clock = SystemClock(), QObject* parent = nullptr);
    ~TWeatherController() override;

    // After the options were confirmed: the timer runs while weather is
    // shown; "temp"/"QueryWeather" restarts fetching at once, showing no
    // weather until the new city's has arrived.
    void ApplyOptions();

    // What the weather icon draws.
    TTrayWeather TrayFigures() const;
    // The last weather record and the attempts since the last success.
    TWeather Weather() const { return m_worker.Snapshot(); }
    int32_t AttemptCount() const { return m_worker.AttemptCount(); }

    // Fills the Forecast submenu: one entry per forecast day.
    void FillForecastMenu(QMenu& menu) const;

    // The tray's weather icon draws from this controller's record, and its
    // menu gains the Forecast item.
    void ConnectTray(TTrayController& tray);
    // The Forecast item (a submenu filled whenever the menu opens).
    QMenu* ForecastMenu() const { return pmTrayWeatherForecast.get(); }

    // The city finder on owner (the bar when null): city, state and code of
    // the chosen place; nothing when cancelled.
    std::optional<TCityRow> FindCity(QWidget* owner = nullptr);

    // host[:port] the client asks: the setting, or the built-in gateway
    // (started on first need); empty when neither is there.
    std::string Host();
    bool GatewayRunning() const { return m_server != nullptr; }

    const TWeatherPacing& Pacing() const { return m_pacing; }
    bool TimerActive() const { return tmrWeather.isActive(); }

private:
    void LoadTimer();
    void StopWeather();
    void tmrWeatherTimer();
    void StartTimer();
    void ApplyLanguage();

    TBarLink& m_bar;
    const TClock& m_clock;
    TWeatherWorker m_worker;
    TWeatherPacing m_pacing;
    QTimer tmrWeather;
    std::unique_ptr<TWeatherGateway> m_gateway;
    std::unique_ptr<TGatewayServer> m_server;
    std::unique_ptr<QMenu> pmTrayWeatherForecast;
    QPointer<TTrayController> m_tray;
    bool m_stopped = false;
};

} // namespace tramble
