#include "options/ui/frmOption.h"

#include "i18n/Language.h"
#include "launcher/ui/RainbowStrip.h"
#include "options/SyncTexts.h"
#include "options/ui/ColorShape.h"
#include "search/Hotkey.h"
#include "text/TextConvert.h"
#include "ui/Prompts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <chrono>

namespace tramble {
namespace {

constexpr int kPreviewLength = 150;
constexpr int kPreviewThickness = 3;
// The strips lie level with the style buttons.
constexpr std::array kPreviewRows{7, 30, 54, 78, 102};
constexpr int kPreviewHeight = 112;
constexpr std::array kButtonSizes{16, 24, 32, 48, 64, 96};
constexpr const char* kProviderAddress = "https://open-meteo.com/";

QString Qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QFont ToQtFont(const TFont& font)
{
    QFont result(Qs(font.Name));
    result.setPointSize(std::max(font.Size, 1));
    result.setBold(font.Style & fsBold);
    result.setItalic(font.Style & fsItalic);
    result.setUnderline(font.Style & fsUnderline);
    result.setStrikeOut(font.Style & fsStrikeOut);
    return result;
}

// The chosen font; colour, pitch and character set stay the stored font's.
TFont FromQtFont(const QFont& font, TFont base)
{
    base.Name = font.family().toStdString();
    base.Size = font.pointSize() > 0 ? font.pointSize() : base.Size;
    base.Style = (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) | (font.underline() ? fsUnderline : 0) |
                 (font.strikeOut() ? fsStrikeOut : 0);
    return base;
}

QSlider* SpeedSlider(const char* name, int low, int high)
{
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(QLatin1String(name));
    slider->setRange(low, high);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

// The setting text of the first chord ("Ctrl+Alt+Space"); "" for none.
std::string HotkeyText(const QKeySequence& keys)
{
    return keys.isEmpty() ? std::string() : QKeySequence(keys[0]).toString(QKeySequence::PortableText).toStdString();
}

template <class T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TfrmOption::TfrmOption(TOptionInput input, TFastIniFile& settings, const TLanguage& language, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_input(std::move(input)), m_settings(settings), m_language(language),
      m_random(static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count())),
      m_result(m_input.Config), m_iconSize(m_input.IconSize)
{
    setObjectName(QStringLiteral("frmOption"));
    if (owner)
        setFont(owner->font());

    pgcOption = Named(new QTabWidget, "pgcOption");
    pgcOption->addTab(CreateSystemPage(), {});
    pgcOption->addTab(CreateShortcutPage(), {});
    pgcOption->addTab(CreateTrayPage(), {});
    pgcOption->addTab(CreateRainbowPage(), {});
    pgcOption->addTab(CreateWeatherPage(), {});
    pgcOption->addTab(CreateAlarmPage(), {});
    pgcOption->setTabVisible(tsAlarm, false);

    btnOk = Named(new QPushButton, "btnOk");
    btnCancel = Named(new QPushButton, "btnCancel");
    btnDefault = Named(new QPushButton, "btnDefault");
    btnOk->setAutoDefault(false);
    btnDefault->setAutoDefault(false);
    btnCancel->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnDefault);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pgcOption);
    layout->addLayout(buttons);

    connect(btnOk, &QPushButton::clicked, this, &TfrmOption::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnDefault, &QPushButton::clicked, this, &TfrmOption::btnDefaultClick);
    tmrPreview.setInterval(100);
    connect(&tmrPreview, &QTimer::timeout, this, &TfrmOption::tmrPreviewTimer);

    SetTexts();
    ShowConfig(m_input.Config);
    ShowFont(m_input.Config.Font);
    edtBtnWidth->setCurrentText(QString::number(m_input.IconSize));

    m_firstShortcuts = ReadShortcutStates(m_input.Folders, m_input.Program);
    const std::array boxes{chkShortcutStartmenu, chkShortcutDesktop, chkShortcutQuickLaunch, chkAutoRun};
    for (size_t i = 0; i < boxes.size(); ++i) {
        boxes[i]->setChecked(m_firstShortcuts[i]);
        boxes[i]->setEnabled(!m_input.PortableMode && ShortcutFile(m_input.Folders, kShortcutPlaces[i]));
    }
    lbShortPortMode->setVisible(m_input.PortableMode);

    m_cities.Load(m_settings, m_input.Config.CityCode);
    ShowCities();
    btnFindCity->setEnabled(static_cast<bool>(m_input.FindCity));

    for (TRainbowState& state : m_preview)
        state.Blocks = TBlockColours(m_random);

    connect(pgcOption, &QTabWidget::currentChanged, this, &TfrmOption::PageChanged);
    const int page = m_input.Page >= tsSystem && m_input.Page < tsAlarm ? m_input.Page : tsSystem;
    pgcOption->setCurrentIndex(page);
    PageChanged(page);
}

TfrmOption::~TfrmOption() = default;

QString TfrmOption::Text(const char* section, const char* key) const
{
    return Qs(m_language.Text(section, key));
}

QWidget* TfrmOption::CreateSystemPage()
{
    auto* page = Named(new QWidget, "tsSystem");
    chkTitleBar = Named(new QCheckBox, "chkTitleBar");
    chkAutoSortByCount = Named(new QCheckBox, "chkAutoSortByCount");
    chkAutoSortByTime = Named(new QCheckBox, "chkAutoSortByTime");
    chkAutoSortByTime->setEnabled(false);
    chkSyncTime = Named(new QCheckBox, "chkSyncTime");
    lbSyncTimeTime = Named(new QLabel, "lbSyncTimeTime");
    lbSyncExchange = Named(new QLabel, "lbSyncExchange");
    lbSyncExchange->setWordWrap(true);
    cbbNTP = Named(new QComboBox, "cbbNTP");
    cbbNTP->setEditable(true);
    cbbNTP->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string_view server : TimeServers())
        cbbNTP->addItem(Qs(std::string(server)));
    lbUnit = Named(new QLabel, "lbUnit");
    rbUintMetric = Named(new QRadioButton, "rbUintMetric");
    rbUnitNonMetric = Named(new QRadioButton, "rbUnitNonMetric");
    btnFont = Named(new QPushButton, "btnFont");
    btnFont->setAutoDefault(false);
    lbFont = Named(new QLabel, "lbFont");
    cbbLang = Named(new QComboBox, "cbbLang");
    cbbLang->addItems(m_input.LanguageNames);
    MinSpeed = SpeedSlider("MinSpeed", keys::HideSpeed.Range.Min, keys::HideSpeed.Range.Max);
    ResSpeed = SpeedSlider("ResSpeed", keys::ResSpeed.Range.Min, keys::ResSpeed.Range.Max);
    edtBtnWidth = Named(new QComboBox, "edtBtnWidth");
    edtBtnWidth->setEditable(true);
    for (const int size : kButtonSizes)
        edtBtnWidth->addItem(QString::number(size));
    edtBtnWidth->setVisible(false);
    edtBtnWidth->setEnabled(false);
    lbPortMode = Named(new QLabel, "lbPortMode");
    lbReadonlyMode = Named(new QLabel, "lbReadonlyMode");
    lbPortMode->setVisible(m_input.PortableMode);
    lbReadonlyMode->setVisible(m_input.ReadOnlyMode);
    connect(btnFont, &QPushButton::clicked, this, &TfrmOption::btnFontClick);

    auto* grid = new QGridLayout(page);
    int row = 0;
    grid->addWidget(chkTitleBar, row++, 0, 1, 3);
    grid->addWidget(chkAutoSortByCount, row++, 0, 1, 3);
    grid->addWidget(chkAutoSortByTime, row++, 0, 1, 3);
    grid->addWidget(chkSyncTime, row, 0);
    grid->addWidget(cbbNTP, row++, 1, 1, 2);
    grid->addWidget(lbSyncTimeTime, row++, 0, 1, 3);
    grid->addWidget(lbSyncExchange, row++, 0, 1, 3);
    auto* units = new QHBoxLayout;
    units->addWidget(rbUintMetric);
    units->addWidget(rbUnitNonMetric);
    grid->addWidget(lbUnit, row, 0);
    grid->addLayout(units, row++, 1, 1, 2);
    grid->addWidget(btnFont, row, 0);
    grid->addWidget(lbFont, row++, 1, 1, 2);
    auto* language = new QLabel(QStringLiteral("Language"));
    grid->addWidget(language, row, 0);
    grid->addWidget(cbbLang, row++, 1, 1, 2);
    auto* speeds = Named(new QGroupBox, "gbHideSpeed");
    auto* speedGrid = new QGridLayout(speeds);
    speedGrid->addWidget(Named(new QLabel, "lbMinimize"), 0, 0);
    speedGrid->addWidget(MinSpeed, 0, 1);
    speedGrid->addWidget(Named(new QLabel, "lbRestore"), 1, 0);
    speedGrid->addWidget(ResSpeed, 1, 1);
    auto* scale = new QHBoxLayout;
    scale->addWidget(Named(new QLabel, "lbFast"));
    scale->addStretch();
    scale->addWidget(Named(new QLabel, "lbSlow"));
    speedGrid->addLayout(scale, 2, 1);
    grid->addWidget(speeds, row++, 0, 1, 3);
    grid->addWidget(edtBtnWidth, row++, 0);
    grid->addWidget(lbPortMode, row, 0);
    grid->addWidget(lbReadonlyMode, row++, 1);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* TfrmOption::CreateShortcutPage()
{
    auto* page = Named(new QWidget, "tsShortcut");
    chkShortcutStartmenu = Named(new QCheckBox, "chkShortcutStartmenu");
    chkShortcutDesktop = Named(new QCheckBox, "chkShortcutDesktop");
    chkShortcutQuickLaunch = Named(new QCheckBox, "chkShortcutQuickLaunch");
    chkAutoRun = Named(new QCheckBox, "chkAutoRun");
    lbQuickLaunchHint = Named(new QLabel, "lbQuickLaunchHint");
    lbShortPortMode = Named(new QLabel, "lbShortPortMode");
    lbHotkey = Named(new QLabel, "lbHotkey");
    edtHotkey = Named(new QKeySequenceEdit, "edtHotkey");
    edtHotkey->setClearButtonEnabled(true);
    // Shown in the spelling the edit reads, whichever the setting has.
    const std::optional<THotkey> stored = ParseHotkey(m_input.Hotkey);
    edtHotkey->setKeySequence(
        QKeySequence::fromString(Qs(stored ? HotkeySettingText(*stored) : m_input.Hotkey), QKeySequence::PortableText));
    m_hotkeyShown = HotkeyText(edtHotkey->keySequence());
    // The edit takes up to four chords in a row; a global shortcut is one.
    connect(edtHotkey, &QKeySequenceEdit::editingFinished, this, [this] {
        const QKeySequence keys = edtHotkey->keySequence();
        if (keys.count() > 1)
            edtHotkey->setKeySequence(QKeySequence(keys[0]));
    });
    auto* box = new QVBoxLayout(page);
    box->addWidget(chkShortcutQuickLaunch);
    box->addWidget(lbQuickLaunchHint);
    box->addWidget(chkShortcutDesktop);
    box->addWidget(chkShortcutStartmenu);
    box->addWidget(chkAutoRun);
    box->addWidget(lbShortPortMode);
    box->addSpacing(12);
    box->addWidget(lbHotkey);
    box->addWidget(edtHotkey);
    box->addStretch();
    return page;
}

QWidget* TfrmOption::CreateTrayPage()
{
    auto* page = Named(new QWidget, "tsTrayIcon");
    chkShowFreeMem = Named(new QCheckBox, "chkShowFreeMem");
    chkShowBatteryPercent = Named(new QCheckBox, "chkShowBatteryPercent");
    chkShowHarddiskTemperature = Named(new QCheckBox, "chkShowHarddiskTemperature");
    chkShowCPUTemperature = Named(new QCheckBox, "chkShowCPUTemperature");
    chkShowCPUUsage = Named(new QCheckBox, "chkShowCPUUsage");
    chkShowNetTraffic = Named(new QCheckBox, "chkShowNetTraffic");
    chkShowWeather = Named(new QCheckBox, "chkShowWeather");
    shpTrayFontColor = Named(new TColorShape, "shpTrayFontColor");
    auto* box = new QVBoxLayout(page);
    for (QCheckBox* check : {chkShowFreeMem, chkShowBatteryPercent, chkShowHarddiskTemperature, chkShowCPUTemperature,
                             chkShowCPUUsage, chkShowNetTraffic, chkShowWeather})
        box->addWidget(check);
    auto* colour = new QHBoxLayout;
    colour->addWidget(Named(new QLabel, "lbTrayFontColor"));
    colour->addWidget(shpTrayFontColor);
    colour->addStretch();
    box->addLayout(colour);
    box->addStretch();
    return page;
}

QWidget* TfrmOption::CreateRainbowPage()
{
    auto* page = Named(new QWidget, "tsRainbowBar");
    edtRainBowWidth = Named(new QLineEdit, "edtRainBowWidth");
    edtRainBowHeight = Named(new QLineEdit, "edtRainBowHeight");
    RainbowSpeed = SpeedSlider("RainbowSpeed", keys::RainBowSpeed.Range.Min, keys::RainBowSpeed.Range.Max);
    lbRainbowSpeed = Named(new QLabel, "lbRainbowSpeed");
    connect(RainbowSpeed, &QSlider::valueChanged, lbRainbowSpeed,
            [this](int value) { lbRainbowSpeed->setText(QString::number(value)); });
    chkm6 = Named(new QCheckBox, "chkm6");
    shpRB1 = Named(new TColorShape, "shpRB1");
    shpRB2 = Named(new TColorShape, "shpRB2");
    img = Named(new QLabel, "img");
    img->setFixedSize(kPreviewLength, kPreviewHeight);

    auto* styles = Named(new QGroupBox, "gbRainbowStyle");
    auto* styleGrid = new QGridLayout(styles);
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        rbm[i] = new QRadioButton(QString::number(i + 1));
        rbm[i]->setObjectName(QStringLiteral("rbm%1").arg(i + 1));
        group->addButton(rbm[i], i);
        styleGrid->addWidget(rbm[i], i, 0);
    }
    styleGrid->addWidget(img, 0, 1, 5, 1, Qt::AlignTop);

    auto* sizes = new QFormLayout;
    sizes->addRow(Named(new QLabel, "lbRainbowWidth"), edtRainBowWidth);
    sizes->addRow(Named(new QLabel, "lbRainbowHeight"), edtRainBowHeight);
    auto* speed = new QHBoxLayout;
    speed->addWidget(new QLabel(QStringLiteral("-10")));
    speed->addWidget(RainbowSpeed);
    speed->addWidget(new QLabel(QStringLiteral("10")));
    speed->addWidget(lbRainbowSpeed);
    sizes->addRow(Named(new QLabel, "lbRainbowSpeedCaption"), speed);
    auto* colours = new QHBoxLayout;
    colours->addWidget(chkm6);
    colours->addWidget(shpRB1);
    colours->addWidget(shpRB2);
    colours->addStretch();
    sizes->addRow(colours);

    auto* presets = Named(new QGroupBox, "gbPreset");
    auto* presetRow = new QHBoxLayout(presets);
    for (int i = 0; i < 9; ++i) {
        Button[i] = new QPushButton(i < 8 ? QString::number(i + 1) : QString());
        Button[i]->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        Button[i]->setAutoDefault(false);
        presetRow->addWidget(Button[i]);
        if (i < 8)
            connect(Button[i], &QPushButton::clicked, this, [this, i] { PresetClick(i); });
    }
    connect(Button[8], &QPushButton::clicked, this, &TfrmOption::btnRandomClick);

    auto* box = new QVBoxLayout(page);
    box->addLayout(sizes);
    box->addWidget(styles);
    box->addWidget(presets);
    box->addStretch();
    return page;
}

QWidget* TfrmOption::CreateWeatherPage()
{
    auto* page = Named(new QWidget, "tsWeather");
    cbbCityName = Named(new QComboBox, "cbbCityName");
    cbbCityCode = Named(new QComboBox, "cbbCityCode");
    btnFindCity = Named(new QPushButton, "btnFindCity");
    btnDeleteCity = Named(new QPushButton, "btnDeleteCity");
    btnFindCity->setAutoDefault(false);
    btnDeleteCity->setAutoDefault(false);
    lbAccu = Named(new QLabel, "lbAccu");
    lbAccu->setOpenExternalLinks(true);
    lbAccu->setCursor(Qt::PointingHandCursor);
    // Either list picks the same entry in the other.
    connect(cbbCityName, &QComboBox::activated, this, [this](int i) {
        m_cities.Choose(i);
        cbbCityCode->setCurrentIndex(i);
    });
    connect(cbbCityCode, &QComboBox::activated, this, [this](int i) {
        m_cities.Choose(i);
        cbbCityName->setCurrentIndex(i);
    });
    connect(btnFindCity, &QPushButton::clicked, this, &TfrmOption::btnFindCityClick);
    connect(btnDeleteCity, &QPushButton::clicked, this, &TfrmOption::btnDeleteCityClick);
    auto* form = new QFormLayout(page);
    form->addRow(Named(new QLabel, "lbCityName"), cbbCityName);
    form->addRow(Named(new QLabel, "lbLocationCode"), cbbCityCode);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnFindCity);
    buttons->addWidget(btnDeleteCity);
    buttons->addStretch();
    form->addRow(buttons);
    form->addRow(lbAccu);
    return page;
}

QWidget* TfrmOption::CreateAlarmPage()
{
    auto* page = Named(new QWidget, "tsAlarm");
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < 5; ++i) {
        chkAlarm[i] = new QCheckBox;
        chkAlarm[i]->setObjectName(QStringLiteral("chkAlarm%1").arg(i + 1));
        edtAlarm[i] = new QSpinBox;
        edtAlarm[i]->setObjectName(QStringLiteral("edtAlarm%1").arg(i + 1));
        edtAlarm[i]->setRange(0, 1000000);
        grid->addWidget(chkAlarm[i], i, 0);
        grid->addWidget(edtAlarm[i], i, 1);
        grid->addWidget(new QLabel, i, 2);
    }
    return page;
}

void TfrmOption::SetTexts()
{
    setWindowTitle(Text("main", "Option"));
    pgcOption->setTabText(tsSystem, Text("main", "System"));
    pgcOption->setTabText(tsShortcut, Text("Option", "Shortcut"));
    pgcOption->setTabText(tsTrayIcon, Text("Option", "TrayIcon"));
    pgcOption->setTabText(tsRainbowBar, Text("Option", "RainbowBar"));
    pgcOption->setTabText(tsWeather, Text("Weather", "Weather"));
    pgcOption->setTabText(tsAlarm, Text("Option", "Alarm"));
    btnOk->setText(Text("main", "Ok"));
    btnCancel->setText(Text("main", "Cancel"));
    btnDefault->setText(Text("main", "Default"));

    chkTitleBar->setText(Text("Option", "showTitleBar"));
    chkAutoSortByCount->setText(Text("Option", "AutoSortByCount"));
    chkAutoSortByTime->setText(Text("Option", "AutoSortByTime"));
    chkSyncTime->setText(Text("main", "SyncTime"));
    cbbNTP->setToolTip(Text("main", "NTPServer"));
    lbUnit->setText(Text("Weather", "Units"));
    rbUintMetric->setText(Text("Weather", "metric"));
    rbUnitNonMetric->setText(Text("Weather", "nonmetric"));
    btnFont->setText(Text("Option", "Font"));
    findChild<QGroupBox*>(QStringLiteral("gbHideSpeed"))->setTitle(Text("Option", "ShowHideSpeed"));
    findChild<QLabel*>(QStringLiteral("lbMinimize"))->setText(Text("Option", "Minimize"));
    findChild<QLabel*>(QStringLiteral("lbRestore"))->setText(Text("Option", "Restore"));
    findChild<QLabel*>(QStringLiteral("lbFast"))->setText(Text("Option", "Fast"));
    findChild<QLabel*>(QStringLiteral("lbSlow"))->setText(Text("Option", "Slow"));
    lbPortMode->setText(Text("Option", "PortableMode"));
    lbReadonlyMode->setText(Text("Option", "ReadonlyMode"));
    lbSyncTimeTime->setText(Qs(LastSyncCaption(m_language, m_input.LastSyncText)));
    lbSyncExchange->setText(Qs(ExchangeText(m_language, m_input.LastExchange)));

    chkShortcutQuickLaunch->setText(Text("Option", "QuickLaunch"));
    chkShortcutDesktop->setText(Text("Option", "Desktop"));
    chkShortcutStartmenu->setText(Text("Option", "Startmenu"));
    chkAutoRun->setText(Text("Option", "AutoRun"));
    lbQuickLaunchHint->setText(Text("Option", "NoQuickLaunch"));
    lbShortPortMode->setText(Text("Option", "ShortcutDisableInPortMode"));
    lbHotkey->setText(Text("Option", "GlobalShortcut"));

    chkShowFreeMem->setText(Text("Option", "ShowFreeMem"));
    chkShowBatteryPercent->setText(Text("Option", "ShowBatteryPercent"));
    chkShowHarddiskTemperature->setText(Text("Option", "ShowHarddiskTemperature"));
    chkShowCPUTemperature->setText(Text("Option", "ShowCPUTemperature"));
    chkShowCPUUsage->setText(Text("Option", "ShowCPUUsage"));
    chkShowNetTraffic->setText(Text("Option", "ShowNetTrafficMonitor"));
    chkShowWeather->setText(Text("Option", "ShowWeather"));
    findChild<QLabel*>(QStringLiteral("lbTrayFontColor"))->setText(Text("Option", "FontColor"));

    findChild<QLabel*>(QStringLiteral("lbRainbowWidth"))->setText(Text("Option", "Width"));
    findChild<QLabel*>(QStringLiteral("lbRainbowHeight"))->setText(Text("Option", "Height"));
    findChild<QLabel*>(QStringLiteral("lbRainbowSpeedCaption"))->setText(Text("Option", "Speed"));
    findChild<QGroupBox*>(QStringLiteral("gbRainbowStyle"))->setTitle(Text("Option", "RainbowBarStyle"));
    findChild<QGroupBox*>(QStringLiteral("gbPreset"))->setTitle(Text("Option", "preset"));
    chkm6->setText(Text("Option", "UserColor"));
    Button[8]->setText(Text("main", "Random"));

    findChild<QLabel*>(QStringLiteral("lbCityName"))->setText(Text("Weather", "CityName"));
    findChild<QLabel*>(QStringLiteral("lbLocationCode"))->setText(Text("Weather", "LocationCode"));
    btnFindCity->setText(Text("Weather", "FindCity"));
    btnDeleteCity->setText(Text("Weather", "DeleteCity"));
    lbAccu->setText(QStringLiteral("<a href=\"%1\" style=\"color:blue\">%2</a>")
                        .arg(QLatin1String(kProviderAddress), Text("Weather", "Provider").toHtmlEscaped()));

    const std::array<const char*, 5> alarms{"UploadSpeedBelow", "DownloadSpeedBelow", "UploadFlowGreaterThan",
                                            "DownloadFlowGreaterThan", "OnlineTimeGreaterThan"};
    const std::array<const char*, 5> units{"KBytePerSec", "KBytePerSec", "MByte", "MByte", "MinutesPerDay"};
    auto* grid = static_cast<QGridLayout*>(pgcOption->widget(tsAlarm)->layout());
    for (int i = 0; i < 5; ++i) {
        chkAlarm[i]->setText(Text("Option", alarms[i]));
        static_cast<QLabel*>(grid->itemAtPosition(i, 2)->widget())->setText(Text("Option", units[i]));
    }
}

void TfrmOption::ShowConfig(const TConfig& cfg)
{
    chkTitleBar->setChecked(cfg.TitleBar);
    chkAutoSortByCount->setChecked(cfg.AutoSortByCount);
    chkSyncTime->setChecked(cfg.SyncTime);
    const QString server = Qs(cfg.NTPServer);
    int at = cbbNTP->findText(server, Qt::MatchFixedString);
    if (at < 0 && !server.isEmpty()) {
        cbbNTP->addItem(server);
        at = cbbNTP->count() - 1;
    }
    cbbNTP->setCurrentIndex(at);
    cbbNTP->setEditText(server);
    rbUintMetric->setChecked(cfg.Metric);
    rbUnitNonMetric->setChecked(!cfg.Metric);
    MinSpeed->setValue(cfg.HideSpeed);
    ResSpeed->setValue(cfg.ResSpeed);
    for (int i = 0; i < cbbLang->count(); ++i) {
        if (SameTextAscii(cbbLang->itemText(i).toStdString(), m_input.Language))
            cbbLang->setCurrentIndex(i);
    }

    chkShowFreeMem->setChecked(cfg.ShowFreeMem);
    chkShowBatteryPercent->setChecked(cfg.ShowBattery);
    chkShowHarddiskTemperature->setChecked(cfg.ShowDiskTemp);
    chkShowCPUTemperature->setChecked(cfg.ShowCPUTemp);
    chkShowCPUUsage->setChecked(cfg.ShowCPUusage);
    chkShowNetTraffic->setChecked(cfg.ShowNetMon);
    chkShowWeather->setChecked(cfg.ShowWeather);
    shpTrayFontColor->SetColour(cfg.TrayColor);

    edtRainBowWidth->setText(QString::number(cfg.RainBowWidth));
    edtRainBowHeight->setText(QString::number(cfg.RainBowHeight));
    RainbowSpeed->setValue(cfg.RainBowSpeed);
    lbRainbowSpeed->setText(QString::number(RainbowSpeed->value()));
    rbm[InRange(keys::RainbowStyle, cfg.RainbowStyle) ? cfg.RainbowStyle : 0]->setChecked(true);
    chkm6->setChecked(cfg.UserColor);
    shpRB1->SetColour(cfg.RBCC1);
    shpRB2->SetColour(cfg.RBCC2);

    const std::array flags{cfg.AlarmUploadSpeed, cfg.AlarmDownloadSpeed, cfg.AlarmUploadFlow, cfg.AlarmDownloadFlow,
                           cfg.AlarmOnlineTime};
    const std::array values{cfg.UploadSpeed, cfg.DownloadSpeed, cfg.UploadFlow, cfg.DownloadFlow, cfg.OnlineTime};
    for (int i = 0; i < 5; ++i) {
        chkAlarm[i]->setChecked(flags[i]);
        edtAlarm[i]->setValue(values[i]);
    }
}

TConfig TfrmOption::ReadControls() const
{
    TConfig cfg = m_input.Config;
    cfg.TitleBar = chkTitleBar->isChecked();
    cfg.AutoSortByCount = chkAutoSortByCount->isChecked();
    cfg.SyncTime = chkSyncTime->isChecked();
    cfg.NTPServer = cbbNTP->currentText().trimmed().toStdString();
    if (cfg.NTPServer.empty())
        cfg.NTPServer = keys::NTPServer.Text;
    cfg.Metric = rbUintMetric->isChecked();
    cfg.HideSpeed = MinSpeed->value();
    cfg.ResSpeed = ResSpeed->value();
    cfg.Font = m_font;

    cfg.ShowFreeMem = chkShowFreeMem->isChecked();
    cfg.ShowBattery = chkShowBatteryPercent->isChecked();
    cfg.ShowDiskTemp = chkShowHarddiskTemperature->isChecked();
    cfg.ShowCPUTemp = chkShowCPUTemperature->isChecked();
    cfg.ShowCPUusage = chkShowCPUUsage->isChecked();
    cfg.ShowNetMon = chkShowNetTraffic->isChecked();
    cfg.ShowWeather = chkShowWeather->isChecked();
    cfg.TrayColor = shpTrayFontColor->Colour();

    cfg.RainBowSpeed = RainbowSpeed->value();
    if (const auto width = DialogSize(edtRainBowWidth->text().toStdString(), keys::RainBowWidth))
        cfg.RainBowWidth = *width;
    if (const auto height = DialogSize(edtRainBowHeight->text().toStdString(), keys::RainBowHeight))
        cfg.RainBowHeight = *height;
    for (int i = 0; i < 5; ++i) {
        if (rbm[i]->isChecked())
            cfg.RainbowStyle = i;
    }
    cfg.UserColor = chkm6->isChecked();
    cfg.RBCC1 = shpRB1->Colour();
    cfg.RBCC2 = shpRB2->Colour();

    bool* flags[] = {&cfg.AlarmUploadSpeed, &cfg.AlarmDownloadSpeed, &cfg.AlarmUploadFlow, &cfg.AlarmDownloadFlow,
                     &cfg.AlarmOnlineTime};
    int32_t* values[] = {&cfg.UploadSpeed, &cfg.DownloadSpeed, &cfg.UploadFlow, &cfg.DownloadFlow, &cfg.OnlineTime};
    for (int i = 0; i < 5; ++i) {
        *flags[i] = chkAlarm[i]->isChecked();
        *values[i] = edtAlarm[i]->value();
    }
    return cfg;
}

void TfrmOption::ShowFont(const TFont& font)
{
    m_font = font;
    lbFont->setFont(ToQtFont(font));
    lbFont->setText(Qs(FontCaption(font)));
}

void TfrmOption::ShowPreset(const TRainbowPreset& preset)
{
    edtRainBowWidth->setText(QString::number(preset.Width));
    edtRainBowHeight->setText(QString::number(preset.Height));
    RainbowSpeed->setValue(preset.Speed);
    rbm[preset.Style]->setChecked(true);
    chkm6->setChecked(preset.UserColor);
    if (preset.Colour1)
        shpRB1->SetColour(*preset.Colour1);
    if (preset.Colour2)
        shpRB2->SetColour(*preset.Colour2);
}

void TfrmOption::ShowCities()
{
    cbbCityName->clear();
    cbbCityCode->clear();
    for (const TCity& city : m_cities.Cities()) {
        cbbCityName->addItem(Qs(city.Name));
        cbbCityCode->addItem(Qs(city.Code));
    }
    cbbCityName->setCurrentIndex(m_cities.Chosen());
    cbbCityCode->setCurrentIndex(m_cities.Chosen());
}

int TfrmOption::Page() const
{
    return pgcOption->currentIndex();
}

void TfrmOption::PageChanged(int index)
{
    if (index == tsRainbowBar)
        tmrPreview.start();
    else
        tmrPreview.stop();
}

void TfrmOption::btnDefaultClick()
{
    TConfig cfg = ReadControls();
    ApplyDefaultButton(cfg);
    ShowConfig(cfg);
    edtBtnWidth->setCurrentText(QString::number(*keys::IconSize.OnDefault));
    const int language = m_input.ChineseSystem ? 1 : 0;
    if (language < cbbLang->count())
        cbbLang->setCurrentIndex(language);
}

void TfrmOption::PresetClick(int index)
{
    ShowPreset(RainbowPresets()[index]);
}

void TfrmOption::btnRandomClick()
{
    ShowPreset(RandomRainbow(m_random));
}

void TfrmOption::btnFontClick()
{
    QFontDialog dialog(lbFont->font(), this);
    dialog.setObjectName(QStringLiteral("FontDialog"));
    if (RunPrompt(dialog) == QDialog::Accepted)
        ShowFont(FromQtFont(dialog.selectedFont(), m_font));
}

void TfrmOption::btnFindCityClick()
{
    if (!m_input.FindCity)
        return;
    const std::optional<TCityRow> row = m_input.FindCity(this);
    if (!row)
        return;
    m_cities.Add(row->City, row->State, row->Location);
    ShowCities();
}

void TfrmOption::btnDeleteCityClick()
{
    m_cities.Choose(cbbCityName->currentIndex());
    m_cities.DeleteChosen();
    ShowCities();
}

TShortcutStates TfrmOption::ShortcutBoxes() const
{
    return {chkShortcutStartmenu->isChecked(), chkShortcutDesktop->isChecked(), chkShortcutQuickLaunch->isChecked(),
            chkAutoRun->isChecked()};
}

void TfrmOption::btnOkClick()
{
    // A size that is no number would stop OK half-way: ask again before
    // anything takes effect.
    for (QLineEdit* edit : {edtRainBowWidth, edtRainBowHeight}) {
        const TSettingKey& key = edit == edtRainBowWidth ? keys::RainBowWidth : keys::RainBowHeight;
        if (!DialogSize(edit->text().toStdString(), key)) {
            pgcOption->setCurrentIndex(tsRainbowBar);
            edit->setFocus();
            edit->selectAll();
            ShowMessage(this, QMessageBox::Warning, Text("Message", "DataError"), Text("Message", "Error"));
            return;
        }
    }
    const std::string hotkey = HotkeyText(edtHotkey->keySequence());
    if (hotkey != m_hotkeyShown && !hotkey.empty() && !ParseHotkey(hotkey)) {
        pgcOption->setCurrentIndex(tsShortcut);
        edtHotkey->setFocus();
        ShowMessage(this, QMessageBox::Warning, Text("Message", "HotkeyInvalid") + '\n' + Qs(hotkey),
                    Text("Message", "Error"));
        return;
    }
    if (hotkey != m_hotkeyShown)
        m_hotkeyChange = hotkey;
    if (!m_input.PortableMode)
        ApplyShortcutStates(m_input.Folders, m_input.Program, m_firstShortcuts, ShortcutBoxes());
    m_result = ReadControls();
    m_iconSize = edtBtnWidth->currentText().toInt();

    m_cities.Choose(cbbCityCode->currentIndex());
    if (m_cities.ChosenCode() != m_input.Config.CityCode) {
        m_result.CityName = m_cities.ChosenName();
        m_result.CityCode = m_cities.ChosenCode();
        m_settings.WriteFlag(keys::kTempSection, "QueryWeather", true);
    }
    m_cities.Store(m_settings);

    const int language = cbbLang->currentIndex();
    if (language >= 0 && !SameTextAscii(cbbLang->currentText().toStdString(), m_input.Language))
        m_languageChange = language;
    accept();
}

void TfrmOption::tmrPreviewTimer()
{
    const TConfig cfg = ReadControls();
    QImage picture(kPreviewLength, kPreviewHeight, QImage::Format_RGB32);
    picture.fill(palette().color(QPalette::Window));
    QPainter painter(&picture);
    for (int style = 0; style < 5; ++style) {
        TRainbowSettings settings;
        settings.Speed = cfg.RainBowSpeed;
        settings.Width = kPreviewLength;
        settings.Height = kPreviewThickness;
        settings.Style = style;
        settings.UserColor = cfg.UserColor;
        settings.RBCC1 = cfg.RBCC1;
        settings.RBCC2 = cfg.RBCC2;
        m_preview[style].Phase = m_phase;
        m_preview[style] = NextRainbowState(settings, std::move(m_preview[style]), m_random);
        painter.drawImage(0, kPreviewRows[style], FrameImage(m_preview[style].Frame, true));
    }
    painter.end();
    img->setPixmap(QPixmap::fromImage(picture));
    m_phase = NextPreviewPhase(m_phase, cfg.RainBowSpeed);
}

void TfrmOption::done(int result)
{
    tmrPreview.stop();
    QDialog::done(result);
}

} // namespace tramble
