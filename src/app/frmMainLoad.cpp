// Window creation, the start-up load and shut-down of the bar, step by step.
#include "app/frmMain.h"

#include "app/LanguageMenu.h"
#include "app/MainImage.h"
#include "app/QtConvert.h"
#include "launcher/BarPosition.h"
#include "store/Backups.h"
#include "store/InstanceNames.h"
#include "store/SessionState.h"
#include "store/SettingsKeys.h"
#include "ui/Prompts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QToolButton>

#include <algorithm>

namespace tramble {

void TfrmMain::CreateControls()
{
    m_menus = CreateBarMenus(this);
    connect(m_menus.pmExit, &QAction::triggered, this, &TfrmMain::ExitProgram);
    m_languageMenu = new TLanguageMenu(m_menus.pmLanguage);
    connect(m_languageMenu, &TLanguageMenu::languageChosen, this, &TfrmMain::ChooseLanguage);

    tbMain = new QLabel(this);
    tbMain->setObjectName(QStringLiteral("tbMain"));
    tbMain->setAlignment(Qt::AlignCenter);
    tbMain->setPixmap(MainImage(m_modes.Instance));

    tbNetBookmark = new QToolButton(this);
    tbNetBookmark->setObjectName(QStringLiteral("tbNetBookmark"));
    tbNetBookmark->setAutoRaise(true);
    tbNetBookmark->setIcon(QIcon(BookmarkImage()));

    cbbCmd = new QComboBox(this);
    cbbCmd->setObjectName(QStringLiteral("cbbCmd"));
    cbbCmd->setEditable(true);
    cbbCmd->setMaxVisibleItems(12);
    cbbCmd->setInsertPolicy(QComboBox::NoInsert);
    cbbCmd->resize(cbbCmd->sizeHint());
    cbbCmd->hide();

    btnGrp = new QToolButton(this);
    btnGrp->setObjectName(QStringLiteral("btnGrp"));
    btnGrp->setAutoRaise(true);
    btnGrp->hide();

    // Folded, the bar keeps its size for its return and lays out nothing.
    TStripBar strip{.Window = *this,
                    .Config = m_config,
                    .CompositorPlaces = m_env.CompositorPlaces,
                    .Desktop = [this] { return Desktop(); },
                    .Fold =
                        [this] {
                            m_normalClient = size();
                            m_resizeHandlerAttached = false;
                            m_layoutPermitted = false;
                        },
                    .Unfold =
                        [this] {
                            m_layoutPermitted = true;
                            m_resizeHandlerAttached = true;
                            resize(m_normalClient);
                            setAcceptDrops(!m_modes.ReadOnlyMode);
                        }};
    m_stripControl = std::make_unique<TStripController>(std::move(strip));

    setWindowTitle(Qs(InstanceCaption(m_modes.Instance)));
    setWindowIcon(InstanceIcon(m_modes.Instance));
    resize(m_normalClient);

    RotateBackups(m_env.SettingsBase);
    m_settings = std::make_unique<TFastIniFile>(m_env.SettingsBase + ".ini");
}

void TfrmMain::SetUpStartupLoad()
{
    TStartupLoad& load = m_startupLoad;
    load.Set(TLoadStep::RunCounter, [this] { CountRunAndDetectReadOnly(); });
    load.Set(TLoadStep::ElapseAndFont, [this] { ReadElapseAndFont(); });
    load.Set(TLoadStep::BarLook, [this] { ReadBarLook(); });
    load.Set(TLoadStep::CommandHistory, [this] { ReadCommandHistory(); });
    load.Set(TLoadStep::Language, [this] { LoadLanguageAtStart(); });
    load.Set(TLoadStep::ShowCommandBox, [this] { ShowCommandBox(); });
    load.Set(TLoadStep::SizeAndPosition, [this] { ApplySizeAndPosition(); });
    load.Set(TLoadStep::Caption, [this] { UpdateCaption(); });
    load.Set(TLoadStep::Alarms, [this] { ReadAlarmSettings(*m_settings, m_config); });
    load.Set(TLoadStep::ReadOnlyMenus, [this] { EnableItemsOutsideReadOnly(); });
}

void TfrmMain::SetUpShutdown()
{
    TShutdownOrder& order = m_shutdownOrder;
    order.Set(TShutdownStep::StopTimers, [this] {
        m_resizeHandlerAttached = false;
        tmrLayout.stop();
        tmrSeconds.stop();
        m_stripControl->Stop();
        hide();
    });
    order.Set(TShutdownStep::ReleaseLocks, [this] { m_claim.reset(); });
    order.Set(TShutdownStep::StoreState, [this] { StoreShutdownState(); });
    order.Set(TShutdownStep::FreeObjects, [this] { FreeParts(); });
}

void TfrmMain::RunLoad()
{
    // Each step that completes is recorded, so that shut-down never writes
    // back a value the load did not read.
    RunStartupLoad(m_startupLoad, m_modes, [this](TLoadStep step) { m_stepsDone.insert(step); });
    // Said once, after the bar has appeared: what the compositor turns off.
    if (m_env.CompositorPlaces) {
        QTimer::singleShot(0, this, [this] {
            ShowMessage(this, QMessageBox::Information, Qs(m_language.Text("Message", "WaylandLimits")),
                        Qs(m_language.Text("About", "KuvName")));
        });
    }
    if (!m_modes.ReadOnlyMode) {
        try {
            m_settings->Flush();
        } catch (const EFileError&) {
            // Written again at the next save.
        }
    }
}

void TfrmMain::CountRunAndDetectReadOnly()
{
    try {
        m_last.Run = CountRun(*m_settings);
    } catch (const EFileError&) {
        m_modes.ReadOnlyMode = true;
        // A file that cannot even be read runs on the defaults, and the
        // store never writes over it.
        if (!m_settings->Loaded())
            m_settings->DetachFromFile();
    }
    if (m_modes.ReadOnlyMode) {
        m_last.Run = ReadSettingNumber(*m_settings, keys::Run);
        if (ReadSettingFlag(*m_settings, keys::ShowReadonlyAlarm)) {
            ShowMessage(this, QMessageBox::Warning, Qs(m_language.Text("Message", "ReadOnlyWarning")) + "!   \r\n",
                        Qs(m_language.Text("Message", "Warning")));
        }
        for (QAction* item : {m_menus.pmBtnDel, m_menus.pmAdd, m_menus.pmOption})
            item->setEnabled(false);
    }
    setAcceptDrops(!m_modes.ReadOnlyMode);
    move(0, 0);
}

void TfrmMain::ReadElapseAndFont()
{
    m_last.Elapse = ReadSettingNumber(*m_settings, keys::Elapse);
    m_clock.SetElapse(m_last.Elapse);
    ReadFontSetting(*m_settings, m_modes.ChineseSystem, m_config);
    setFont(ToQFont(m_config.Font));
    if (const QColor colour = ToQColor(m_config.Font.Color); colour.isValid()) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::Text, colour);
        palette.setColor(QPalette::ButtonText, colour);
        setPalette(palette);
    }
}

void TfrmMain::ReadBarLook()
{
    ReadBarLookSettings(*m_settings, m_config);
    ApplyTitleBar();
}

void TfrmMain::ReadCommandHistory()
{
    cbbCmd->clear();
    for (const std::string& text : tramble::ReadCommandHistory(*m_settings))
        cbbCmd->addItem(Qs(text));
}

void TfrmMain::ReadIconSize()
{
    // A size below one pixel would leave no grid to lay out.
    m_iconSize = std::clamp(ReadSettingNumber(*m_settings, keys::IconSize), 1, 1024);
    const int cell = m_iconSize + 4;
    tbMain->resize(cell, cell);
    tbNetBookmark->resize(cell, cell);
    tbNetBookmark->setIconSize(QSize(m_iconSize, m_iconSize));
}

void TfrmMain::LoadLanguageAtStart()
{
    m_languageMenu->AddLanguageFiles(ListLanguageFiles(m_env.LanguageFolders));
    const std::string name = ReadLanguageSetting(*m_settings, m_env.SystemLanguage);
    m_languageMenu->Check(name);
    m_language.LoadLanguage(name, m_env.LanguageFolders);
    ApplyLanguage(m_menus, m_language);
    emit languageApplied();
}

void TfrmMain::ChooseLanguage(const std::string& name)
{
    m_language.LoadLanguage(name, m_env.LanguageFolders);
    ApplyLanguage(m_menus, m_language);
    emit languageApplied();
    if (m_modes.ReadOnlyMode)
        return;
    try {
        WriteSetting(*m_settings, keys::Language, name);
        m_settings->Flush();
    } catch (const EFileError&) {
        // The choice holds for this run; the next save writes it.
    }
}

void TfrmMain::ShowCommandBox()
{
    cbbCmd->show();
    btnGrp->show();
    RequestLayout();
}

void TfrmMain::ApplySizeAndPosition()
{
    const TStoredPlace place = ReadBarPlace(*m_settings);
    resize(std::max(place.Width, 1), std::max(place.Height, 1));
    m_normalClient = size();
    if (place.Left && place.Top) {
        move(*place.Left, *place.Top);
        return;
    }
    std::optional<TTaskbar> taskbar;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        taskbar = TaskbarFromWorkArea(ToTRect(screen->geometry()), ToTRect(screen->availableGeometry()));
    const QRect frame = frameGeometry();
    const TPoint at = DefaultBarPosition(taskbar, frame.width(), frame.height());
    move(at.X, at.Y);
}

void TfrmMain::UpdateCaption()
{
    QString caption = Qs(InstanceCaption(m_modes.Instance));
    if (m_modes.PortableMode)
        caption += ' ' + Qs(m_language.Text("msg", "Portable"));
    if (m_modes.ReadOnlyMode)
        caption += ' ' + Qs(m_language.Text("msg", "Readonly"));
    setWindowTitle(caption);
}

void TfrmMain::EnableItemsOutsideReadOnly()
{
    EnableWritingItems(m_menus, m_modes.ReadOnlyMode);
    if (!m_modes.ReadOnlyMode)
        RemoveScratchSection(*m_settings);
}

void TfrmMain::StoreShutdownState()
{
    if (m_modes.ReadOnlyMode)
        return;
    TShutdownState state;
    if (m_stepsDone.contains(TLoadStep::SizeAndPosition))
        state.Place = PlaceToStore();
    if (m_stepsDone.contains(TLoadStep::ElapseAndFont))
        state.Elapse = m_clock.Elapse();
    if (m_stepsDone.contains(TLoadStep::CommandHistory)) {
        std::vector<std::string> history;
        for (int i = 0; i < cbbCmd->count(); ++i)
            history.push_back(cbbCmd->itemText(i).toStdString());
        state.History = std::move(history);
    }
    tramble::StoreShutdownState(*m_settings, state);
}

void TfrmMain::FreeParts()
{
    for (QAbstractButton* button : m_entryButtons)
        delete button;
    m_entryButtons.clear();
    // In read-only mode nothing may reach the file, not even on the way out.
    if (m_modes.ReadOnlyMode)
        m_settings->Reset();
    m_settings.reset();
}

void TfrmMain::ShutDown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_shutdownOrder.RunAll();
}

} // namespace tramble
