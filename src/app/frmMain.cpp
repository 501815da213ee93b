#include "app/frmMain.h"

#include "app/QtConvert.h"
#include "bookmarks/ui/NetBookmarks.h"
#include "command/ui/CommandBox.h"
#include "formula/Calcul.h"
#include "formula/Interpreter.h"
#include "launcher/BarLayout.h"
#include "launcher/EntryManager.h"
#include "launcher/StripPlacement.h"
#include "launcher/ui/EntryButtons.h"
#include "launcher/ui/EntrySystem.h"
#include "options/ui/OptionsController.h"
#include "platform/AppPaths.h"
#include "platform/FocusSignal.h"
#include "search/ui/AppSearch.h"
#include "store/SessionState.h"
#include "store/SettingsKeys.h"
#include "timesync/ui/ClockSyncController.h"
#include "tray/ui/TrayController.h"
#include "ui/Prompts.h"
#include "weather/ui/WeatherController.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTime>
#include <QToolButton>
#include <QWindow>

namespace tramble {
namespace {

constexpr Qt::WindowFlags kBarFlags = Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint;
// The caption with its system menu and buttons; without it only the sizing
// border is left.
constexpr Qt::WindowFlags kCaptionFlags =
    Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

constexpr int kCloseByExit = 2;

} // namespace

TfrmMain::TfrmMain(TBarEnvironment env, std::optional<platform::TInstanceClaim> claim, QWidget* parent)
    : QWidget(parent, kBarFlags | kCaptionFlags), m_env(std::move(env)), m_claim(std::move(claim))
{
    setObjectName(QStringLiteral("frmMain"));
    // A new bar shows prompts again after an earlier one closed them.
    ReopenPrompts();
    m_modes.Instance = m_claim ? m_claim->Instance : 0;
    m_modes.PortableMode = m_env.PortableMode;
    m_modes.ChineseSystem = m_env.ChineseSystem;
    CreateControls();
    SetUpStartupLoad();
    SetUpShutdown();
    SetUpEntries();
    SetUpCommandBox();
    m_clockSync = std::make_unique<TClockSyncController>(*this);
    m_tray = std::make_unique<TTrayController>(*this);
    m_weather = std::make_unique<TWeatherController>(*this);
    m_weather->ConnectTray(*m_tray);
    m_options = std::make_unique<TOptionsController>(
        *this, TOptionsParts{.OptionItem = m_menus.pmOption,
                             .AboutItem = m_menus.pmAbout,
                             .LanguageMenu = m_menus.pmLanguage,
                             .Tray = m_tray.get(),
                             .Clock = m_clockSync.get(),
                             .Weather = m_weather.get(),
                             .ApplyBarLook =
                                 [this] {
                                     setFont(ToQFont(m_config.Font));
                                     ApplyStripSettings();
                                     if (InRainbowMode())
                                         return;
                                     const bool shown = isVisible();
                                     ApplyTitleBar();
                                     setVisible(shown);
                                     RequestLayout();
                                 },
                             .ApplyHotkey = [this] { m_search->ApplyShortcut(); },
                             .ApplicationCount = [this] { return m_entries ? uint32_t(m_entries->Count()) : 0u; },
                             .TotalSeconds = [this] { return int64_t(m_clock.Elapse()); },
                             .Folders = std::nullopt,
                             .Program = {}});
    m_bookmarks = std::make_unique<TNetBookmarks>(*this, tbNetBookmark);
    m_search = std::make_unique<TAppSearch>(
        *this, TAppSearchParts{.Box = cbbCmd,
                               .Entries = [this] { return m_entries.get(); },
                               .EntryIcon =
                                   [this](int i) {
                                       return i >= 0 && size_t(i) < m_entryButtons.size() ? m_entryButtons[i]->icon()
                                                                                          : QIcon();
                                   },
                               .Bookmarks = m_bookmarks.get(),
                               .FocusSocket = m_claim ? platform::FocusSocketPath(platform::ExecutablePath()) : ""});

    tmrLayout.setInterval(55);
    connect(&tmrLayout, &QTimer::timeout, this, &TfrmMain::LayOut);
    tmrSeconds.setSingleShot(true);
    tmrSeconds.setTimerType(Qt::PreciseTimer);
    connect(&tmrSeconds, &QTimer::timeout, this, &TfrmMain::OnSecondsTick);
    OnSecondsTick();

    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && cbbCmd->isVisible())
            cbbCmd->setFocus();
    });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { ExitProgram(); });
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::setVisible(bool visible)
{
    if (visible && !m_loaded) {
        m_loaded = true;
        RunLoad();
        // The first layout sizes the bar before it is mapped, so that it never
        // appears at its stored size and then jumps; a second one places it
        // once its frame is known.
        if (tmrLayout.isActive()) {
            LayOut();
            QWidget::setVisible(visible);
            RequestLayout();
            return;
        }
    }
    QWidget::setVisible(visible);
}

void TfrmMain::ExitProgram()
{
    m_closeTag = kCloseByExit;
    // A prompt runs its own event loop, and its caller still uses the parts
    // that shut-down frees: close every prompt as cancelled and end once the
    // callers have unwound back to the main loop.
    if (OpenPromptCount() > 0) {
        CloseAllPrompts();
        QTimer::singleShot(0, this, &TfrmMain::ExitProgram);
        return;
    }
    CloseAllPrompts();
    close();
}

void TfrmMain::RestoreBar()
{
    if (InRainbowMode()) {
        LeaveRainbowMode();
        return;
    }
    show();
    raise();
    activateWindow();
}

void TfrmMain::OnLanguageApplied(std::function<void()> refresh)
{
    connect(this, &TfrmMain::languageApplied, this, std::move(refresh));
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (m_closeTag != kCloseByExit) {
        event->ignore();
        QTimer::singleShot(0, this, &TfrmMain::EnterRainbowMode);
        return;
    }
    event->accept();
    ShutDown();
    QCoreApplication::quit();
}

void TfrmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Where the compositor places windows, minimising stays minimising.
    if (m_env.CompositorPlaces)
        return;
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        QTimer::singleShot(0, this, &TfrmMain::EnterRainbowMode);
    }
}

void TfrmMain::RequestLayout()
{
    m_resizeHandlerAttached = false;
    tmrLayout.start();
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    KeepOnDesktop(true);
    m_stripControl->UpdateAutoHideProbe();
    if (m_resizeHandlerAttached)
        RequestLayout();
}

void TfrmMain::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    KeepOnDesktop(false);
    m_stripControl->UpdateAutoHideProbe();
}

QRect TfrmMain::Desktop() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry() : QRect(0, 0, 1024, 768);
}

void TfrmMain::KeepOnDesktop(bool sizing)
{
    if (!isVisible() || InRainbowMode() || m_layingOut)
        return;
    const QRect frame = frameGeometry();
    const TRect desk = ToTRect(Desktop());
    const TRect kept =
        sizing ? KeepInsideWhileSizing(ToTRect(frame), desk) : KeepInsideWhileMoving(ToTRect(frame), desk);
    if (kept == ToTRect(frame) || kept.Width <= 0 || kept.Height <= 0)
        return;
    const QRect client = geometry();
    const QRect newFrame = ToQRect(kept);
    if (sizing) {
        setGeometry(newFrame.adjusted(client.left() - frame.left(), client.top() - frame.top(),
                                      client.right() - frame.right(), client.bottom() - frame.bottom()));
    } else {
        move(newFrame.topLeft());
    }
}

void TfrmMain::LayOut()
{
    if ((QGuiApplication::mouseButtons() & Qt::LeftButton) || !m_layoutPermitted)
        return;
    m_layoutPermitted = false;
    tmrLayout.stop();

    const int cell = m_iconSize + 4;
    TLayoutInput in;
    in.Cell = cell;
    in.EntryCount = static_cast<int>(m_entryButtons.size());
    in.Window = ToTRect(frameGeometry());
    in.ClientWidth = width();
    in.ClientHeight = height();
    in.NormalClientWidth = m_normalClient.width();
    in.CommandBoxHeight = cbbCmd->height();
    in.Desktop = ToTRect(Desktop());
    const TLayout out = LayOutBar(in);

    tbMain->setGeometry(0, 0, cell, cell);
    tbNetBookmark->setGeometry(cell, 0, cell, cell);
    for (size_t i = 0; i < m_entryButtons.size(); ++i) {
        const TPoint at = CellPosition(static_cast<int>(i) + 2, out.Columns, cell);
        m_entryButtons[i]->setGeometry(at.X, at.Y, cell, cell);
        m_entryButtons[i]->show();
    }
    cbbCmd->setGeometry(ToQRect(out.CommandBox));
    btnGrp->setGeometry(ToQRect(out.GroupButton));
    m_layingOut = true;
    if (isVisible()) {
        // Size and place in one step, so that no half-done geometry is clamped.
        const QPoint clientOffset = geometry().topLeft() - frameGeometry().topLeft();
        setGeometry(out.Window.Left + clientOffset.x(), out.Window.Top + clientOffset.y(), out.ClientWidth,
                    out.ClientHeight);
    } else {
        // Without a frame yet the place is not known; the stored one holds.
        resize(out.ClientWidth, out.ClientHeight);
    }
    m_layingOut = false;

    m_normalClient = QSize(out.ClientWidth, out.ClientHeight);
    m_layoutPermitted = true;
    m_resizeHandlerAttached = true;
    setAcceptDrops(!m_modes.ReadOnlyMode);
    StorePlace();
}

TBarPlace TfrmMain::PlaceToStore() const
{
    TBarPlace place{x(), y(), m_normalClient.width(), m_normalClient.height()};
    // The compositor put the bar where it liked: the place stored in an X11
    // session stays for the next one.
    if (m_env.CompositorPlaces) {
        const TStoredPlace stored = ReadBarPlace(*m_settings);
        place.Left = stored.Left.value_or(place.Left);
        place.Top = stored.Top.value_or(place.Top);
    }
    return place;
}

void TfrmMain::StorePlace()
{
    // A place the load never read is not written over the stored one.
    if (m_modes.ReadOnlyMode || !m_settings || !m_stepsDone.contains(TLoadStep::SizeAndPosition))
        return;
    try {
        StoreBarPlace(*m_settings, PlaceToStore());
    } catch (const EFileError&) {
        // The store keeps the old place; the next save tries again.
    }
}

void TfrmMain::OnSecondsTick()
{
    const QTime now = QTime::currentTime();
    // Just past the next whole second, so each one is seen once.
    tmrSeconds.start(1000 - now.msec() + 20);
    const TClockTick tick = m_clock.Look(now.second());
    if (m_modes.ReadOnlyMode || !tick.StoreState || !m_settings)
        return;
    try {
        StorePlace();
        if (m_stepsDone.contains(TLoadStep::ElapseAndFont))
            WriteSettingNumber(*m_settings, keys::Elapse, m_clock.Elapse());
        if (tick.FlushSettings)
            m_settings->Flush();
    } catch (const EFileError&) {
        // Periodic saving tries again later.
    }
}

void TfrmMain::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    m_stripControl->OnPointerEntered();
}

void TfrmMain::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    m_stripControl->UpdateAutoHideProbe();
}

bool TfrmMain::StartDrag(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    if (windowHandle() && windowHandle()->startSystemMove())
        return true;
    // Without a window manager to move it, the bar follows the mouse itself.
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    return true;
}

void TfrmMain::mousePressEvent(QMouseEvent* event)
{
    if (!StartDrag(event))
        QWidget::mousePressEvent(event);
}

void TfrmMain::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragOffset && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - *m_dragOffset);
    else
        QWidget::mouseMoveEvent(event);
}

void TfrmMain::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragOffset.reset();
    QWidget::mouseReleaseEvent(event);
}

void TfrmMain::contextMenuEvent(QContextMenuEvent* event)
{
    NotePopupPoint(event->globalPos());
    m_menus.Bar->popup(event->globalPos());
}

void TfrmMain::ApplyTitleBar()
{
    Qt::WindowFlags flags = kBarFlags;
    if (m_config.TitleBar)
        flags |= kCaptionFlags;
    if (flags != windowFlags())
        setWindowFlags(flags);
}

} // namespace tramble
