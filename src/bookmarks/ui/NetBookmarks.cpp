#include "bookmarks/ui/NetBookmarks.h"

#include "bookmarks/BookmarkHandOver.h"
#include "bookmarks/BookmarkStore.h"
#include "bookmarks/ui/MenuImages.h"
#include "bookmarks/ui/NetBookmarkMenu.h"
#include "bookmarks/ui/frmAddGroup.h"
#include "bookmarks/ui/frmAddUrl.h"
#include "bookmarks/ui/frmNBM.h"
#include "platform/Launch.h"
#include "ui/BarLink.h"
#include "ui/Prompts.h"

#include <QCursor>
#include <QDir>
#include <QStandardPaths>
#include <QToolButton>

namespace tramble {

TNetBookmarks::TNetBookmarks(TBarLink& link, QToolButton* tbNetBookmark)
    : QObject(link.BarWindow()), m_link(link), m_button(tbNetBookmark)
{
    setObjectName(QStringLiteral("NetBookmarks"));
    QWidget* bar = link.BarWindow();
    pmNetBookmark = new TNetBookmarkMenu(bar);
    connect(pmNetBookmark, &TNetBookmarkMenu::bookmarkChosen, this, &TNetBookmarks::OpenNetBookmark);

    pmNetBookmarkManager = new QMenu(bar);
    pmNetBookmarkManager->setObjectName(QStringLiteral("pmNetBookmarkManager"));
    pmnetBookmarkAddUrl = pmNetBookmarkManager->addAction(MenuImage(miBookmark), QStringLiteral("Add Url"));
    pmnetBookmarkAddUrl->setObjectName(QStringLiteral("pmnetBookmarkAddUrl"));
    pmNetBookmarkAddGrounp = pmNetBookmarkManager->addAction(MenuImage(miAddGroup), QStringLiteral("Add Group"));
    pmNetBookmarkAddGrounp->setObjectName(QStringLiteral("pmNetBookmarkAddGrounp"));
    pmNetBookmarkManager->addSeparator();
    pmNetBookmarkManage = pmNetBookmarkManager->addAction(QStringLiteral("manage"));
    pmNetBookmarkManage->setObjectName(QStringLiteral("pmNetBookmarkManage"));
    // Enabled by the start-up step once the read-only mode is known.
    for (QAction* item : {pmnetBookmarkAddUrl, pmNetBookmarkAddGrounp, pmNetBookmarkManage})
        item->setEnabled(false);
    connect(pmnetBookmarkAddUrl, &QAction::triggered, this, &TNetBookmarks::pmnetBookmarkAddUrlClick);
    connect(pmNetBookmarkAddGrounp, &QAction::triggered, this, &TNetBookmarks::pmNetBookmarkAddGrounpClick);
    connect(pmNetBookmarkManage, &QAction::triggered, this, &TNetBookmarks::pmNetBookmarkManageClick);

    m_button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_button, &QToolButton::clicked, this, &TNetBookmarks::tbNetBookmarkClick);
    connect(m_button, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QPoint global = m_button->mapToGlobal(at);
        m_link.NotePopupPoint(global);
        pmNetBookmarkManager->popup(global);
    });

    m_link.StartupLoad().Set(TLoadStep::BookmarkMenu, [this] { LoadNetBookmarks(); });
    m_link.OnLanguageApplied([this] { ApplyLanguage(); });
}

QString TNetBookmarks::Text(const char* section, const char* key) const
{
    return QString::fromStdString(m_link.Language().Text(section, key));
}

void TNetBookmarks::ApplyLanguage()
{
    pmNetBookmarkAddGrounp->setText(Text("main", "AddGroup"));
    pmnetBookmarkAddUrl->setText(Text("main", "Addurl"));
    pmNetBookmarkManage->setText(Text("main", "NetBookmarkManage"));
}

void TNetBookmarks::LoadNetBookmarks()
{
    try {
        m_model =
            tramble::LoadNetBookmarks(m_link.Settings(), m_link.Modes(), m_link.Language().Text("main", "Undefined"));
    } catch (const EFileError&) {
        // The default group stands for this run; the next save writes it.
        m_model = DefaultNetBookmarks(m_link.Language().Text("main", "Undefined"));
    }
    pmNetBookmark->Rebuild(m_model);
    for (QAction* item : {pmnetBookmarkAddUrl, pmNetBookmarkAddGrounp, pmNetBookmarkManage})
        item->setEnabled(!m_link.Modes().ReadOnlyMode);
}

void TNetBookmarks::SaveNetBookmarks()
{
    pmNetBookmark->Rebuild(m_model);
    try {
        tramble::SaveNetBookmarks(m_link.Settings(), m_link.Modes(), m_model);
    } catch (const EFileError&) {
        // The menu keeps the change; the next save writes it.
    }
}

void TNetBookmarks::tbNetBookmarkClick()
{
    const QPoint at = QCursor::pos();
    m_link.NotePopupPoint(at);
    pmNetBookmark->popup(at);
}

void TNetBookmarks::pmNetBookmarkAddGrounpClick()
{
    TBarHold hold(m_link);
    TfrmAddGroup dialog(m_link.Settings(), m_link.Language());
    dialog.setFont(m_link.BarWindow()->font());
    if (RunPrompt(dialog) != QDialog::Accepted)
        return;
    switch (AddGroupFromInput(m_model, m_link.Settings())) {
    case TAddGroupResult::Added: SaveNetBookmarks(); break;
    case TAddGroupResult::Duplicate:
        ShowMessage(nullptr, QMessageBox::Critical, Text("Message", "GroupExist") + "     \r\n",
                    Text("Message", "Error"));
        break;
    case TAddGroupResult::EmptyName: break;
    }
}

void TNetBookmarks::pmnetBookmarkAddUrlClick()
{
    TBarHold hold(m_link);
    TfrmAddUrl dialog(m_link.Settings(), m_link.Language(), m_model, m_link.BarWindow());
    dialog.setFont(m_link.BarWindow()->font());
    if (RunPrompt(dialog) != QDialog::Accepted)
        return;
    switch (AddBookmarkFromInput(m_model, m_link.Settings())) {
    case TAddBookmarkResult::Added: SaveNetBookmarks(); break;
    case TAddBookmarkResult::NoGroup:
        ShowMessage(nullptr, QMessageBox::Warning, Text("Bookmark", "NoGroup"), Text("Message", "Warning"));
        break;
    case TAddBookmarkResult::NoAddress: break;
    }
}

void TNetBookmarks::pmNetBookmarkManageClick()
{
    TBarHold hold(m_link);
    TBrowserFolders browsers;
    browsers.Home = QDir::homePath().toStdString();
    browsers.ConfigHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
    TfrmNBM manager(m_model, m_link.Settings(), m_link.Language(), std::move(browsers));
    manager.setFont(m_link.BarWindow()->font());
    if (RunPrompt(manager) != QDialog::Accepted)
        return;
    m_model = manager.WorkingCopy();
    SaveNetBookmarks();
}

void TNetBookmarks::OpenNetBookmark(const QString& caption, const QString& address)
{
    if (caption.isEmpty() || address.isEmpty())
        return;
    // Straight to the desktop's opener: the address is one argument and no
    // shell sees it, whatever blanks, quotes or ";" it holds.
    TBarHold hold(m_link);
    platform::SpawnDetached({"xdg-open", address.toStdString()}, "");
}

} // namespace tramble
