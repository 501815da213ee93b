#include "search/ui/AppSearch.h"

#include "bookmarks/ui/NetBookmarks.h"
#include "launcher/EntryManager.h"
#include "platform/Launch.h"
#include "search/AppStart.h"
#include "search/SearchItems.h"
#include "search/ui/AppIndexWorker.h"
#include "search/ui/GlobalShortcut.h"
#include "search/ui/SearchPopup.h"
#include "store/SettingsKeys.h"
#include "text/Utf8Text.h"
#include "ui/BarLink.h"
#include "ui/Prompts.h"

#include <QComboBox>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QLineEdit>

#include <cstdlib>

namespace tramble {
namespace {

constexpr int kRebuildDelayMs = 500;
constexpr size_t kBookmarkShift = 32;

QIcon AppIcon(const std::string& icon)
{
    QIcon shown;
    if (!icon.empty())
        shown =
            icon.front() == '/' ? QIcon(QString::fromStdString(icon)) : QIcon::fromTheme(QString::fromStdString(icon));
    return shown.isNull() ? QIcon::fromTheme(QStringLiteral("application-x-executable")) : shown;
}

} // namespace

TAppSearch::TAppSearch(TBarLink& link, TAppSearchParts parts) : m_link(link), m_parts(std::move(parts))
{
    m_popup = std::make_unique<TSearchPopup>(m_parts.Box);
    connect(m_popup.get(), &TSearchPopup::rowPicked, this, &TAppSearch::Pick);

    m_worker = new TAppIndexWorker([this] { return Places(); }, this);
    connect(m_worker, &TAppIndexWorker::built, this, &TAppSearch::UseIndex);
    m_watcher = new QFileSystemWatcher(this);
    m_rebuild.setSingleShot(true);
    m_rebuild.setInterval(kRebuildDelayMs);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_rebuild.start(); });
    connect(&m_rebuild, &QTimer::timeout, m_worker, &TAppIndexWorker::Request);

    m_shortcut = new TGlobalShortcut(this);
    connect(m_shortcut, &TGlobalShortcut::activated, this, &TAppSearch::Summon);
    connect(m_shortcut, &TGlobalShortcut::stateChanged, this, &TAppSearch::ReportShortcut);

    // Installed after the command box's own filter, so these run first.
    m_parts.Box->installEventFilter(this);
    m_parts.Box->lineEdit()->installEventFilter(this);
    m_link.BarWindow()->installEventFilter(this);
    connect(m_parts.Box->lineEdit(), &QLineEdit::textEdited, this, &TAppSearch::Refresh);
}

TAppSearch::~TAppSearch() = default;

const std::vector<TDesktopApp>& TAppSearch::Apps() const
{
    static const std::vector<TDesktopApp> kNone;
    return m_index ? m_index->Apps : kNone;
}

void TAppSearch::Begin()
{
    m_launches.Read(m_link.Settings());
    m_worker->Request();
    if (!m_parts.FocusSocket.empty())
        m_shortcut->ListenForFocus(m_parts.FocusSocket);
    ApplyShortcut();
}

void TAppSearch::ApplyShortcut()
{
    const std::string text = ReadSetting(m_link.Settings(), keys::Hotkey);
    ReportShortcut(m_shortcut->SetShortcut(text, m_link.Language().Text("Message", "HotkeyPurpose")));
}

void TAppSearch::ReportShortcut(TGlobalShortcut::TState state)
{
    const char* key = nullptr;
    switch (state) {
    case TGlobalShortcut::TState::Invalid: key = "HotkeyInvalid"; break;
    case TGlobalShortcut::TState::HeldByOther: key = "HotkeyTaken"; break;
    default: return;
    }
    const TLanguage& language = m_link.Language();
    TBarHold hold(m_link);
    ShowMessage(m_link.BarWindow(), QMessageBox::Warning,
                QString::fromStdString(language.Text("Message", key)) + QStringLiteral("\n") +
                    QString::fromStdString(ReadSetting(m_link.Settings(), keys::Hotkey)),
                QString::fromStdString(language.Text("Message", "Error")));
}

TIndexPlaces TAppSearch::Places() const
{
    TIndexPlaces places = PlacesFromEnvironment();
    // The bar in Chinese finds the Chinese names also under another locale.
    if (m_link.Language().Name() == kLangSimplifiedChinese && !places.Filter.Locale.starts_with("zh"))
        places.Filter.Locale = "zh_CN";
    return places;
}

void TAppSearch::UseIndex(std::shared_ptr<const TAppIndex> index)
{
    m_index = std::move(index);
    m_items.clear();
    for (size_t i = 0; i < m_index->Apps.size(); ++i)
        m_items.push_back(AppItem(m_index->Apps[i], i, m_launches));
    m_appItems = m_items.size();
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    QStringList folders;
    for (const std::string& folder : m_index->Folders)
        folders << QString::fromStdString(folder);
    if (!folders.isEmpty())
        m_watcher->addPaths(folders);
    if (m_popup->isVisible())
        Refresh();
    emit indexReady();
}

void TAppSearch::Refresh()
{
    const std::string query = SearchQuery(m_parts.Box->currentText().toStdString());
    if (query.empty() || !m_link.BarWindow()->isVisible()) {
        ClosePopup();
        return;
    }
    m_items.resize(m_appItems);
    if (TEntryManager* entries = m_parts.Entries ? m_parts.Entries() : nullptr) {
        for (int i = 0; i < entries->Count(); ++i) {
            const TAppEntry& entry = entries->Entries()[i];
            const std::string file = FileNamePart(entry.App);
            m_items.push_back(TextItem(TSearchSource::Entry, static_cast<size_t>(i),
                                       entry.Descript.empty() ? file : entry.Descript, {entry.Descript, file}));
        }
    }
    if (m_parts.Bookmarks) {
        const TBookmarkModel& model = m_parts.Bookmarks->Model();
        for (size_t g = 0; g < model.GroupCount(); ++g) {
            const std::vector<TBookmark>& items = model.Group(g).Items;
            for (size_t b = 0; b < items.size(); ++b)
                m_items.push_back(TextItem(TSearchSource::Bookmark, (g << kBookmarkShift) | b, items[b].Caption,
                                           {items[b].Caption, items[b].Address}));
        }
    }
    m_hits = RankItems(m_items, FoldText(query));
    if (m_hits.empty()) {
        ClosePopup();
        return;
    }
    m_popup->Clear();
    for (const TSearchHit& hit : m_hits) {
        const TSearchItem& item = m_items[hit.Item];
        QIcon icon;
        switch (item.Source) {
        case TSearchSource::App: icon = AppIcon(m_index->Apps[item.Index].Icon); break;
        case TSearchSource::Entry:
            if (m_parts.EntryIcon)
                icon = m_parts.EntryIcon(static_cast<int>(item.Index));
            break;
        case TSearchSource::Bookmark: icon = QIcon::fromTheme(QStringLiteral("text-html")); break;
        }
        m_popup->AddRow(icon, QString::fromStdString(item.Title));
    }
    m_popup->ShowUnderAnchor();
    SetHeld(true);
}

void TAppSearch::ClosePopup()
{
    m_popup->hide();
    m_hits.clear();
    SetHeld(false);
}

void TAppSearch::Pick(int row)
{
    if (row < 0 || static_cast<size_t>(row) >= m_hits.size())
        return;
    const TSearchItem item = m_items[m_hits[static_cast<size_t>(row)].Item];
    ClosePopup();
    switch (item.Source) {
    case TSearchSource::App:
        if (m_index && item.Index < m_index->Apps.size())
            LaunchApp(m_index->Apps[item.Index]);
        break;
    case TSearchSource::Entry:
        if (TEntryManager* entries = m_parts.Entries ? m_parts.Entries() : nullptr;
            entries && static_cast<int>(item.Index) < entries->Count())
            entries->LaunchEntry(static_cast<int>(item.Index));
        break;
    case TSearchSource::Bookmark: {
        const size_t group = item.Index >> kBookmarkShift;
        const size_t index = item.Index & ((size_t{1} << kBookmarkShift) - 1);
        const TBookmarkModel& model = m_parts.Bookmarks->Model();
        if (group < model.GroupCount() && index < model.Group(group).Items.size()) {
            const TBookmark& bookmark = model.Group(group).Items[index];
            m_parts.Bookmarks->OpenNetBookmark(QString::fromStdString(bookmark.Caption),
                                               QString::fromStdString(bookmark.Address));
        }
        break;
    }
    }
    m_parts.Box->lineEdit()->selectAll();
    m_parts.Box->setFocus();
}

void TAppSearch::LaunchApp(const TDesktopApp& app)
{
    TBarHold hold(m_link);
    std::vector<std::string> terminal;
    if (app.Terminal) {
        const char* path = std::getenv("PATH");
        terminal = FindTerminal(path ? path : "/usr/local/bin:/usr/bin:/bin", std::getenv("TERMINAL"));
    }
    const std::optional<TAppStart> start = AppStartOf(app, terminal);
    if (!start || platform::SpawnDetached(start->Argv, start->Folder) != 0) {
        const TLanguage& language = m_link.Language();
        ShowMessage(m_link.BarWindow(), QMessageBox::Warning,
                    QString::fromStdString(language.Text("Message", "RunError")) + QStringLiteral("\n") +
                        QString::fromStdString(app.Name),
                    QString::fromStdString(language.Text("Message", "Error")));
        return;
    }
    m_launches.Note(app.Id);
    for (size_t i = 0; i < m_appItems; ++i) {
        if (m_index->Apps[m_items[i].Index].Id == app.Id)
            m_items[i].Launches = m_launches.Count(app.Id);
    }
    if (m_link.Modes().ReadOnlyMode)
        return;
    m_launches.Write(m_link.Settings());
    try {
        m_link.Settings().Flush();
    } catch (const EFileError&) {
        // Only the count is lost; the start itself went through.
    }
}

bool TAppSearch::HandleKey(int key)
{
    switch (key) {
    case Qt::Key_Down: m_popup->MoveChoice(1); return true;
    case Qt::Key_Up: m_popup->MoveChoice(-1); return true;
    case Qt::Key_Escape: ClosePopup(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_popup->Choice() >= 0) {
            Pick(m_popup->Choice());
            return true;
        }
        // Nothing chosen: the command box runs the line as it always did.
        ClosePopup();
        return false;
    default: return false;
    }
}

bool TAppSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_link.BarWindow()) {
        if (event->type() == QEvent::Show && !m_begun) {
            m_begun = true;
            // After the bar is on the screen: nothing here delays its mapping.
            QTimer::singleShot(0, this, &TAppSearch::Begin);
        } else if (event->type() == QEvent::Hide) {
            ClosePopup();
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress: return m_popup->isVisible() && HandleKey(static_cast<QKeyEvent*>(event)->key());
    case QEvent::FocusOut:
        if (watched == m_parts.Box->lineEdit())
            ClosePopup();
        return false;
    default: return false;
    }
}

void TAppSearch::SetHeld(bool held)
{
    if (held == m_held)
        return;
    m_held = held;
    if (held)
        m_link.HoldBar();
    else
        m_link.ReleaseBar();
}

void TAppSearch::Summon()
{
    QWidget* bar = m_link.BarWindow();
    QComboBox* box = m_parts.Box;
    const bool boxFocused = bar->focusWidget() == box->lineEdit() || bar->focusWidget() == box;
    const bool barHasKeyboard =
        m_shortcut->HasKeyboard(static_cast<uint32_t>(bar->winId())).value_or(bar->isActiveWindow());
    if (bar->isVisible() && boxFocused && barHasKeyboard) {
        ReturnBar();
        return;
    }
    m_returnToStrip = !bar->isVisible();
    m_link.RestoreBar();
    bar->raise();
    bar->activateWindow();
    box->setFocus(Qt::ShortcutFocusReason);
    box->lineEdit()->selectAll();
}

void TAppSearch::ReturnBar()
{
    ClosePopup();
    QWidget* bar = m_link.BarWindow();
    // Closing the bar's window folds it into the strip; only the exit ends it.
    if (m_returnToStrip)
        bar->close();
    else
        bar->lower();
}

} // namespace tramble
