// The application entries on the bar: their buttons, the add command, files
// dropped on the bar, the button menu and the entries' part of start-up.
#include "app/frmMain.h"

#include "launcher/EntryManager.h"
#include "launcher/ui/EntryButtons.h"
#include "launcher/ui/EntryEditing.h"
#include "launcher/ui/EntrySystem.h"
#include "launcher/ui/frmProperties.h"
#include "ui/Prompts.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace tramble {
namespace {

// The first local file of a drop; empty when it holds none.
QString FirstDroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

void TfrmMain::SetUpEntries()
{
    m_entrySystem = std::make_unique<TEntrySystem>();
    m_startupLoad.Set(TLoadStep::Entries, [this] {
        ReadIconSize();
        LoadEntriesAtStart();
    });
    m_startupLoad.Set(TLoadStep::DefaultPrograms, [this] {
        if (m_last.Run == 1 && m_entries->Count() == 0)
            m_entries->AddDefaultApplications();
    });
    for (QAction* item : {m_menus.pmAdd, m_menus.pmBtnAdd}) {
        connect(item, &QAction::triggered, this, &TfrmMain::AddChosenFile);
        MarkWired(item);
    }
    connect(m_menus.pmSortByClick, &QAction::triggered, this, [this] {
        if (m_entries)
            m_entries->SortByClickCount();
    });
    MarkWired(m_menus.pmSortByClick);
    connect(m_menus.pmBtnDel, &QAction::triggered, this, [this] {
        if (const std::optional<int> i = m_entryView ? m_entryView->MenuEntry() : std::nullopt)
            m_entries->DeleteEntry(*i);
    });
    MarkWired(m_menus.pmBtnDel);
    connect(m_menus.pmBtnEdit, &QAction::triggered, this, [this] {
        if (const std::optional<int> i = m_entryView ? m_entryView->MenuEntry() : std::nullopt)
            EditEntry(*this, *m_entries, *i, m_iconSize);
    });
    MarkWired(m_menus.pmBtnEdit);
    connect(m_menus.pmBtnProperty, &QAction::triggered, this, &TfrmMain::ShowEntryProperties);
    MarkWired(m_menus.pmBtnProperty);
}

void TfrmMain::LoadEntriesAtStart()
{
    TEntryButtons::THooks hooks;
    hooks.Bar = this;
    hooks.ButtonMenu = m_menus.Button;
    hooks.Buttons = &m_entryButtons;
    hooks.IconSize = m_iconSize;
    hooks.Message = [this](QMessageBox::Icon icon, const QString& text, const QString& caption,
                           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
        return ShowMessage(this, icon, text, caption, buttons, defaultButton);
    };
    hooks.HoldBar = [this] { HoldBar(); };
    hooks.ReleaseBar = [this] { ReleaseBar(); };
    hooks.RequestLayout = [this] { RequestLayout(); };
    hooks.MenuOpened = [this](QPoint global) { NotePopupPoint(global); };
    m_entryView = std::make_unique<TEntryButtons>(std::move(hooks));
    connect(m_entryView.get(), &TEntryButtons::entryClicked, this, [this](int i) { m_entries->LaunchEntry(i); });

    TEntrySettings settings;
    settings.Folders = {m_env.AppDir, m_env.WinDir, m_env.SysDir};
    settings.IconCachePath = m_env.SettingsBase + ".dat";
    settings.IconSize = m_iconSize;
    settings.AutoSortByCount = &m_config.AutoSortByCount;
    m_entries = std::make_unique<TEntryManager>(*m_settings, m_modes, m_language, *m_entryView, *m_entrySystem,
                                                std::move(settings));
    m_entries->LoadEntries();
    m_entries->RunAutorun();
}

void TfrmMain::AddChosenFile()
{
    if (!m_entries)
        return;
    if (const std::optional<std::string> path = ChooseItemToAdd(*this))
        m_entries->AddApplication(*path);
}

void TfrmMain::ShowEntryProperties()
{
    const std::optional<int> i = m_entryView ? m_entryView->MenuEntry() : std::nullopt;
    if (!i)
        return;
    TBarHold hold(*this);
    TfrmProperties window(ExpandMacros(m_entries->Entries()[*i].App, m_entries->Folders()), this);
    RunPrompt(window);
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_modes.ReadOnlyMode && m_entries && !FirstDroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    // Only the first file is taken. The drop is finished before adding, so
    // that a message box of the adding never holds the other program's drag.
    const QString file = FirstDroppedFile(event->mimeData());
    event->acceptProposedAction();
    if (file.isEmpty() || m_modes.ReadOnlyMode || !m_entries)
        return;
    QTimer::singleShot(0, this, [this, file] {
        if (m_modes.ReadOnlyMode || !m_entries)
            return;
        activateWindow();
        m_entries->AddApplication(file.toStdString());
    });
}

} // namespace tramble
