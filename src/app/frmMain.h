#pragma once

#include "app/BarEnvironment.h"
#include "app/BarMenus.h"
#include "i18n/Language.h"
#include "launcher/ui/StripController.h"
#include "platform/Instance.h"
#include "store/Config.h"
#include "store/FastIniFile.h"
#include "store/Modes.h"
#include "store/SessionClock.h"
#include "store/SessionState.h"
#include "store/StartupOrder.h"
#include "ui/BarLink.h"

#include <QPoint>
#include <QSize>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLabel;
class QToolButton;

namespace tramble {

class TAppSearch;
class TCalcul;
class TClockSyncController;
class TCommandBox;
class TEntryButtons;
class TEntryManager;
class TEntrySystem;
class TInterpreter;
class TLanguageMenu;
class TNetBookmarks;
class TOptionsController;
class TTrayController;
class TWeatherController;

// The launcher bar: a small topmost tool window with the main image, the
// bookmark button and the application buttons in a grid above the command
// box. It owns the settings store and the program's parts and wires them;
// the rules it follows live in the core (layout, strip, settings, start-up
// and shut-down order).
class TfrmMain : public QWidget, public TBarLink {
    Q_OBJECT
public:
    // claim: the instance locks this copy holds (none in tests).
    TfrmMain(TBarEnvironment env, std::optional<platform::TInstanceClaim> claim, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // "Exit", the command box's exit commands and the end of the session:
    // the bar closes and the program ends through the shut-down order.
    void ExitProgram();
    // Starts the layout timer; the buttons are laid out once it fires.
    void RequestLayout();
    // A requested layout has not run yet.
    bool LayoutPending() const { return tmrLayout.isActive(); }
    // Collapses the bar into the strip at the nearest desktop edge.
    void EnterRainbowMode() { m_stripControl->EnterRainbowMode(); }
    // Brings the bar back from the strip.
    void LeaveRainbowMode() { m_stripControl->LeaveRainbowMode(); }
    bool InRainbowMode() const { return m_stripControl->InRainbowMode(); }
    // Places the shown strip again after its size settings changed.
    void ApplyStripSettings() { m_stripControl->ApplyStripSettings(); }

    // Every dialog of the bar and every launch runs between these two (see
    // TBarHold): while the bar is held it neither hides nor leaves the strip.
    void HoldBar() override { m_stripControl->HoldBar(); }
    void ReleaseBar() override { m_stripControl->ReleaseBar(); }
    bool ModalGuard() const override { return m_stripControl->ModalGuard(); }
    // A bar or button menu opens at this screen point.
    void NotePopupPoint(const QPoint& global) override { m_stripControl->NotePopupPoint(global); }

    QWidget* BarWindow() override { return this; }
    TFastIniFile& Settings() override { return *m_settings; }
    const TModes& Modes() const override { return m_modes; }
    TConfig& Config() override { return m_config; }
    const TConfig& Config() const { return m_config; }
    const TLanguage& Language() const override { return m_language; }
    const TBarEnvironment& Environment() const override { return m_env; }
    int32_t SecondsCounter() const override { return m_clock.SecondsCounter(); }
    void RestoreBar() override;
    void OnLanguageApplied(std::function<void()> refresh) override;
    const TBarMenus& Menus() const { return m_menus; }
    TRainbowStrip* Strip() const { return m_stripControl->Strip(); }
    // Where the last bar or button menu opened, relative to the window.
    QPoint PopupPoint() const { return m_stripControl->PopupPoint(); }

    // The application buttons in bar order; the entries' owner fills it and
    // requests a layout.
    std::vector<QAbstractButton*>& EntryButtons() { return m_entryButtons; }
    // The application entries; there once the start-up load read them.
    TEntryManager* Entries() const { return m_entries.get(); }

    // The script interpreter, bound to the evaluator of the command box.
    TInterpreter& Interpreter() { return *m_interpreter; }

    // The steps of start-up and shut-down; a part of the program that takes
    // part sets the action of its step before the bar is first shown.
    TStartupLoad& StartupLoad() override { return m_startupLoad; }
    TShutdownOrder& ShutdownOrder() override { return m_shutdownOrder; }

    // The start-up load runs on the first showing, before the window appears.
    void setVisible(bool visible) override;

signals:
    // The language table holds a new language; windows and icons that show
    // its texts refresh them.
    void languageApplied();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Window creation and the start-up load (frmMainLoad.cpp).
    void CreateControls();
    void SetUpStartupLoad();
    void SetUpShutdown();
    void RunLoad();
    void CountRunAndDetectReadOnly();
    void ReadElapseAndFont();
    void ReadBarLook();
    void ReadCommandHistory();
    void ReadIconSize();
    void LoadLanguageAtStart();
    void ShowCommandBox();
    void ApplySizeAndPosition();
    void UpdateCaption();
    void EnableItemsOutsideReadOnly();
    void ChooseLanguage(const std::string& name);
    void StoreShutdownState();
    void FreeParts();
    void ShutDown();

    // The application entries (frmMainEntries.cpp).
    void SetUpEntries();
    void LoadEntriesAtStart();
    void AddChosenFile();
    void ShowEntryProperties();

    // The command box and the evaluator (frmMainCommand.cpp).
    void SetUpCommandBox();

    // Window behaviour (frmMain.cpp).
    void LayOut();
    void OnSecondsTick();
    void StorePlace();
    TBarPlace PlaceToStore() const;
    void ApplyTitleBar();
    void KeepOnDesktop(bool sizing);
    QRect Desktop() const;
    bool StartDrag(QMouseEvent* event);

    TBarEnvironment m_env;
    std::optional<platform::TInstanceClaim> m_claim;
    TModes m_modes;
    TConfig m_config;
    TLastState m_last;
    std::unique_ptr<TFastIniFile> m_settings;
    TLanguage m_language;
    TSessionClock m_clock;
    TStartupLoad m_startupLoad;
    TShutdownOrder m_shutdownOrder;
    std::set<TLoadStep> m_stepsDone;

    TBarMenus m_menus;
    TLanguageMenu* m_languageMenu = nullptr;
    QLabel* tbMain = nullptr;
    QToolButton* tbNetBookmark = nullptr;
    QComboBox* cbbCmd = nullptr;
    QToolButton* btnGrp = nullptr;
    std::vector<QAbstractButton*> m_entryButtons;
    // The strip and auto-hide.
    std::unique_ptr<TStripController> m_stripControl;

    QTimer tmrLayout;
    // The seconds counter's look at the wall clock, once just after each
    // whole second.
    QTimer tmrSeconds;

    int m_iconSize = 32;
    QSize m_normalClient{140, 32};
    bool m_layoutPermitted = true;
    bool m_resizeHandlerAttached = true;
    bool m_layingOut = false;
    int m_closeTag = 0;
    bool m_loaded = false;
    bool m_shutDown = false;
    std::optional<QPoint> m_dragOffset;

    std::unique_ptr<TEntrySystem> m_entrySystem;
    std::unique_ptr<TEntryButtons> m_entryView;
    std::unique_ptr<TEntryManager> m_entries;

    std::unique_ptr<TCalcul> m_calcul;
    std::unique_ptr<TInterpreter> m_interpreter;
    std::unique_ptr<TCommandBox> m_commandBox;

    std::unique_ptr<TClockSyncController> m_clockSync;
    std::unique_ptr<TTrayController> m_tray;
    std::unique_ptr<TWeatherController> m_weather;
    std::unique_ptr<TNetBookmarks> m_bookmarks;
    std::unique_ptr<TAppSearch> m_search;
    std::unique_ptr<TOptionsController> m_options;
};

} // namespace tramble
