#include "weather/ui/WeatherController.h"

#include "store/SettingsKeys.h"
#include "tray/TrayPictures.h"
#include "tray/ui/TrayController.h"
#include "ui/BarLink.h"
#include "ui/Prompts.h"
#include "weather/ForecastLines.h"
#include "weather/GatewayServer.h"
#include "weather/WeatherGateway.h"
#include "weather/ui/frmFindCity.h"

#include <QDate>
#include <QIcon>
#include <QImage>
#include <QLocale>
#include <QMenu>
#include <QPixmap>

#include <cmath>

namespace tramble {
namespace {

bool Chinese(const TLanguage& language)
{
    return language.Name() == kLangSimplifiedChinese;
}

TGatewayLanguage GatewayLanguageOf(const TLanguage& language)
{
    return Chinese(language) ? TGatewayLanguage::Chinese : TGatewayLanguage::English;
}

QIcon PictureIcon(const TTrayCanvas& picture)
{
    const QImage image(reinterpret_cast<const uchar*>(picture.Pixels().data()), TTrayCanvas::kSize, TTrayCanvas::kSize,
                       QImage::Format_ARGB32);
    return QIcon(QPixmap::fromImage(image.copy()));
}

QString Q(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

TWeatherController::TWeatherController(TBarLink& bar, const TClock& clock, QObject* parent)
    : QObject(parent), m_bar(bar), m_clock(clock), m_worker(clock), m_pacing(clock), tmrWeather(this)
{
    setObjectName(QStringLiteral("Weather"));
    tmrWeather.setObjectName(QStringLiteral("tmrWeather"));
    // Each tick arms the next one itself, so ticks never overlap.
    tmrWeather.setSingleShot(true);
    connect(&tmrWeather, &QTimer::timeout, this, &TWeatherController::tmrWeatherTimer);
    m_bar.StartupLoad().Set(TLoadStep::WeatherTimer, [this] { LoadTimer(); });
    m_bar.ShutdownOrder().Set(TShutdownStep::StopWeather, [this] { StopWeather(); });
    m_bar.OnLanguageApplied([this] { ApplyLanguage(); });
}

TWeatherController::~TWeatherController()
{
    if (m_tray)
        m_tray->SetWeatherSource({});
    StopWeather();
}

void TWeatherController::ConnectTray(TTrayController& tray)
{
    m_tray = &tray;
    tray.SetWeatherSource([this] { return std::optional<TTrayWeather>(TrayFigures()); });
    QMenu* weatherMenu = tray.WeatherMenu();
    if (!weatherMenu)
        return;
    pmTrayWeatherForecast = std::make_unique<QMenu>();
    pmTrayWeatherForecast->setObjectName(QStringLiteral("pmTrayWeatherForecast"));
    pmTrayWeatherForecast->setIcon(PictureIcon(MenuPicture(kPictureWeatherUnknown)));
    weatherMenu->addMenu(pmTrayWeatherForecast.get());
    ApplyLanguage();
    FillForecastMenu(*pmTrayWeatherForecast);
    connect(weatherMenu, &QMenu::aboutToShow, this, [this] { FillForecastMenu(*pmTrayWeatherForecast); });
}

void TWeatherController::LoadTimer()
{
    if (m_bar.Config().ShowWeather)
        StartTimer();
}

void TWeatherController::StartTimer()
{
    m_pacing.Start();
    tmrWeather.start(int(m_pacing.Interval().count()));
}

void TWeatherController::ApplyOptions()
{
    if (m_stopped)
        return;
    if (!m_bar.Config().ShowWeather) {
        tmrWeather.stop();
        m_pacing.Stop();
        return;
    }
    if (m_bar.Settings().ReadFlag(keys::kTempSection, "QueryWeather", false)) {
        m_worker.ClearHumidity();
        StartTimer();
    } else if (!tmrWeather.isActive()) {
        m_pacing.Resume();
        tmrWeather.start(int(m_pacing.Interval().count()));
    }
}

void TWeatherController::tmrWeatherTimer()
{
    tmrWeather.stop();
    if (m_stopped)
        return;
    m_worker.SetCityCode(m_bar.Config().CityCode);
    m_worker.SetHost(Host());
    m_pacing.Tick(m_worker);
    tmrWeather.start(int(m_pacing.Interval().count()));
}

std::string TWeatherController::Host()
{
    const TConfig& config = m_bar.Config();
    if (!config.WeatherHost.empty())
        return config.WeatherHost;
    if (!m_server && !m_stopped) {
        TGatewaySettings settings;
        settings.ForecastBase = config.WeatherForecastUrl;
        settings.GeocodingBase = config.WeatherGeocodingUrl;
        auto gateway = std::make_unique<TWeatherGateway>(settings, m_clock);
        gateway->SetLanguage(GatewayLanguageOf(m_bar.Language()));
        auto server = std::make_unique<TGatewayServer>(*gateway);
        if (!server->Start("127.0.0.1", 0))
            return {};
        m_gateway = std::move(gateway);
        m_server = std::move(server);
    }
    return m_server ? "127.0.0.1:" + std::to_string(m_server->Port()) : std::string();
}

void TWeatherController::ApplyLanguage()
{
    if (pmTrayWeatherForecast)
        pmTrayWeatherForecast->setTitle(QString::fromStdString(m_bar.Language().Text("Weather", "Forecast")));
    if (m_gateway)
        m_gateway->SetLanguage(GatewayLanguageOf(m_bar.Language()));
}

void TWeatherController::StopWeather()
{
    if (m_stopped)
        return;
    m_stopped = true;
    tmrWeather.stop();
    m_pacing.Stop();
    // At most about a second; a worker stuck in a request is left behind.
    m_worker.Stop();
    if (m_gateway)
        m_gateway->Close();
    m_server.reset();
    m_gateway.reset();
}

TTrayWeather TWeatherController::TrayFigures() const
{
    const TWeather weather = m_worker.Snapshot();
    TTrayWeather figures;
    figures.Humidity = weather.CurrentConditions.Humidity;
    figures.Temperature = weather.CurrentConditions.Temperature;
    figures.WeatherIcon = weather.CurrentConditions.WeatherIcon;
    figures.WeatherText = weather.CurrentConditions.WeatherText;
    figures.City = weather.Local.City;
    figures.UpdateTime = UpdateTimeText(weather);
    figures.FailureCount = m_worker.AttemptCount();
    return figures;
}

void TWeatherController::FillForecastMenu(QMenu& menu) const
{
    menu.clear();
    const TWeather weather = m_worker.Snapshot();
    const bool metric = m_bar.Config().Metric;
    const std::vector<TForecastLine> lines = ForecastLines(weather, metric);
    const QLocale locale = Chinese(m_bar.Language()) ? QLocale(QLocale::Chinese, QLocale::China)
                                                     : QLocale(QLocale::English, QLocale::UnitedStates);
    const QDate updated = QDate(1899, 12, 30).addDays(qint64(std::floor(weather.UpdateTime)));
    const QString unit = metric ? QStringLiteral("°C") : QStringLiteral("°F");
    for (const TForecastLine& line : lines) {
        const QString day = locale.dayName(updated.addDays(line.Day).dayOfWeek(), QLocale::ShortFormat);
        const QString text = QStringLiteral("%1: %2 / %3, %4 / %5 %6")
                                 .arg(day, Q(line.DayText), Q(line.NightText), Q(line.High), Q(line.Low), unit);
        menu.addAction(PictureIcon(WeatherPicture(line.WeatherIcon - 1)), text);
    }
    menu.setEnabled(!lines.empty());
    menu.menuAction()->setEnabled(!lines.empty());
}

std::optional<TCityRow> TWeatherController::FindCity(QWidget* owner)
{
    TBarHold hold(m_bar);
    TfrmFindCity finder(owner ? owner : m_bar.BarWindow(), m_bar.Language(), Host());
    if (RunPrompt(finder) != QDialog::Accepted)
        return std::nullopt;
    return finder.Result();
}

} // namespace tramble
