#pragma once

#include "search/AppIndex.h"
#include "search/LaunchCounts.h"
#include "search/SearchMatch.h"
#include "search/ui/GlobalShortcut.h"

#include <QIcon>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QFileSystemWatcher;

namespace tramble {

class TAppIndexWorker;
class TBarLink;
class TEntryManager;
class TNetBookmarks;
class TSearchPopup;

// What the search reaches besides the bar's link.
struct TAppSearchParts {
    QComboBox* Box = nullptr;
    std::function<TEntryManager*()> Entries; // the bar's entries once loaded
    std::function<QIcon(int)> EntryIcon;     // the icon of entry i on the bar
    TNetBookmarks* Bookmarks = nullptr;      // may be missing
    std::string FocusSocket;                 // where "--focus" calls; empty: not listened for
};

// The command box's search: installed applications, the bar's entries and
// the bookmarks listed under the box as the user types, and the global
// shortcut that calls the bar with the box focused. Enter with no row
// chosen leaves the line to the command box as before.
class TAppSearch : public QObject {
    Q_OBJECT
public:
    TAppSearch(TBarLink& link, TAppSearchParts parts);
    ~TAppSearch() override;

    TSearchPopup* Popup() const { return m_popup.get(); }
    // The applications indexed so far.
    const std::vector<TDesktopApp>& Apps() const;

    // The shortcut: the bar comes forward with the box focused, or goes
    // back to where it was when the box already has the focus.
    void Summon();
    // Binds the shortcut again from its setting, as after the options
    // changed it.
    void ApplyShortcut();

signals:
    // A new index is in use.
    void indexReady();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Begin();
    void ReportShortcut(TGlobalShortcut::TState state);
    TIndexPlaces Places() const;
    void UseIndex(std::shared_ptr<const TAppIndex> index);
    void Refresh();
    void ClosePopup();
    void Pick(int row);
    void LaunchApp(const TDesktopApp& app);
    bool HandleKey(int key);
    void SetHeld(bool held);
    void ReturnBar();

    TBarLink& m_link;
    TAppSearchParts m_parts;
    std::unique_ptr<TSearchPopup> m_popup;
    TAppIndexWorker* m_worker = nullptr;
    QFileSystemWatcher* m_watcher = nullptr;
    TGlobalShortcut* m_shortcut = nullptr;
    QTimer m_rebuild;

    std::shared_ptr<const TAppIndex> m_index;
    TLaunchCounts m_launches;
    std::vector<TSearchItem> m_items; // the applications first, then the rest of the last query
    size_t m_appItems = 0;
    std::vector<TSearchHit> m_hits;

    bool m_begun = false;
    bool m_held = false;
    // Where the last call found the bar: in the strip, or shown.
    bool m_returnToStrip = false;
};

} // namespace tramble
