#include "bookmarks/ui/frmNBM.h"

#include "bookmarks/BookmarkHandOver.h"
#include "bookmarks/BrowserImport.h"
#include "bookmarks/NetscapeExport.h"
#include "bookmarks/ui/BookmarkLists.h"
#include "bookmarks/ui/MenuImages.h"
#include "bookmarks/ui/frmAddGroup.h"
#include "bookmarks/ui/frmAddUrl.h"
#include "bookmarks/ui/frmImport.h"
#include "i18n/Language.h"
#include "ui/Prompts.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>

namespace tramble {
namespace {

QString Qs(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

TfrmNBM::TfrmNBM(const TBookmarkModel& bookmarks, TFastIniFile& settings, const TLanguage& language,
                 TBrowserFolders browsers, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_copy(bookmarks), m_settings(settings), m_language(language), m_browsers(std::move(browsers))
{
    setObjectName(QStringLiteral("frmNBM"));
    CreateControls();
    ApplyTexts();
    setMinimumSize(440, 280);
    resize(463, 313);
    FillGroups(m_copy.Empty() ? -1 : 0);
    ShowGroup(m_copy.Empty() ? -1 : 0);
}

void TfrmNBM::CreateControls()
{
    pnl = new QSplitter(Qt::Horizontal, this);
    pnl->setObjectName(QStringLiteral("pnl"));
    lvUrl = new TUrlTable;
    lvUrl->setObjectName(QStringLiteral("lvUrl"));
    lsbGroup = new TGroupList(*lvUrl);
    lsbGroup->setObjectName(QStringLiteral("lsbGroup"));
    pnl->addWidget(lsbGroup);
    pnl->addWidget(lvUrl);
    pnl->setChildrenCollapsible(false);
    pnl->setSizes({121, 320});
    pnl->setStretchFactor(1, 1);

    btnOk = new QPushButton(this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnCancel = new QPushButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnImport = new QPushButton(this);
    btnImport->setObjectName(QStringLiteral("btnImport"));
    btnExport = new QPushButton(this);
    btnExport->setObjectName(QStringLiteral("btnExport"));
    for (QPushButton* button : {btnOk, btnCancel, btnImport, btnExport}) {
        button->setAutoDefault(false);
        button->resize(button->sizeHint().expandedTo(QSize(80, 25)));
    }

    pm = new QMenu(this);
    pm->setObjectName(QStringLiteral("pm"));
    auto item = [this](const char* name, TMenuImage image, const QKeySequence& key) {
        QAction* action = pm->addAction(MenuImage(image), QString());
        action->setObjectName(QLatin1String(name));
        if (!key.isEmpty()) {
            action->setShortcut(key);
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        }
        return action;
    };
    pmAdd = item("pmAdd", miAdd, QKeySequence(Qt::Key_Insert));
    pmEdit = item("pmEdit", miEdit, {});
    pm->addSeparator();
    pmDelete = item("pmDelete", miDelete, QKeySequence(Qt::Key_Delete));
    pm->addSeparator();
    pmUp = item("pmUp", miUp, QKeySequence(Qt::CTRL | Qt::Key_Up));
    pmDown = item("pmDown", miDown, QKeySequence(Qt::CTRL | Qt::Key_Down));

    connect(pmAdd, &QAction::triggered, this, &TfrmNBM::pmAddClick);
    connect(pmEdit, &QAction::triggered, this, &TfrmNBM::pmEditClick);
    connect(pmDelete, &QAction::triggered, this, &TfrmNBM::pmDeleteClick);
    connect(pmUp, &QAction::triggered, this, &TfrmNBM::pmUpClick);
    connect(pmDown, &QAction::triggered, this, &TfrmNBM::pmDownClick);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnImport, &QPushButton::clicked, this, &TfrmNBM::btnImportClick);
    connect(btnExport, &QPushButton::clicked, this, &TfrmNBM::btnExportClick);

    for (QWidget* list : std::initializer_list<QWidget*>{lsbGroup, lvUrl}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
            m_target = list == lsbGroup ? TTarget::Groups : TTarget::Bookmarks;
            pm->popup(list->mapToGlobal(at));
        });
    }
    connect(lsbGroup, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowGroup(lsbGroup->row(item)); });
    connect(lsbGroup, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling && row >= 0)
            ShowGroup(row);
    });
    connect(lsbGroup, &TGroupList::rightPressed, this, &TfrmNBM::RightPressed);
    connect(lsbGroup, &TGroupList::bookmarkDropped, this, &TfrmNBM::DropBookmark);
    connect(lsbGroup, &QListWidget::itemChanged, this, &TfrmNBM::GroupEdited);
    connect(lvUrl, &QTableWidget::itemChanged, this, &TfrmNBM::BookmarkEdited);
}

QString TfrmNBM::Text(const char* section, const char* key) const
{
    return Qs(m_language.Text(section, key));
}

void TfrmNBM::ApplyTexts()
{
    setWindowTitle(Text("main", "NetBookmarkManage"));
    btnOk->setText(Text("main", "Ok"));
    btnCancel->setText(Text("main", "Cancel"));
    btnImport->setText(Text("Bookmark", "Import"));
    btnExport->setText(Text("Bookmark", "Export"));
    pmAdd->setText(Text("main", "Add"));
    pmEdit->setText(Text("main", "Edit"));
    pmDelete->setText(Text("main", "Delete"));
    pmUp->setText(Text("main", "Up"));
    pmDown->setText(Text("main", "Down"));
    lvUrl->setHorizontalHeaderLabels({Text("EditApp", "Description"), Text("main", "Url")});
}

void TfrmNBM::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const QSize client = size();
    btnOk->move(client.width() - 12 - btnOk->width(), client.height() - 12 - btnOk->height());
    btnCancel->move(btnOk->x() - 100, btnOk->y());
    btnImport->move(12, btnOk->y());
    btnExport->move(btnImport->x() + btnImport->width() + 6, btnOk->y());
    pnl->setGeometry(0, 0, client.width(), std::max(0, client.height() - btnOk->height() - 24));
}

void TfrmNBM::FillGroups(int select)
{
    m_filling = true;
    lsbGroup->clear();
    for (const TBookmarkGroup& group : m_copy.Groups()) {
        auto* item = new QListWidgetItem(Qs(group.Caption), lsbGroup);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    SelectGroup(select);
    m_filling = false;
}

void TfrmNBM::SelectGroup(int group)
{
    const bool filling = m_filling;
    m_filling = true;
    if (group >= 0 && group < lsbGroup->count()) {
        lsbGroup->setCurrentRow(group);
    } else {
        lsbGroup->clearSelection();
        lsbGroup->setCurrentItem(nullptr);
    }
    m_filling = filling;
}

void TfrmNBM::ShowGroup(int group)
{
    m_filling = true;
    lvUrl->clearContents();
    lvUrl->setRowCount(0);
    m_shownGroup = group >= 0 && static_cast<size_t>(group) < m_copy.GroupCount() ? group : -1;
    if (m_shownGroup >= 0) {
        const auto& items = m_copy.Group(static_cast<size_t>(m_shownGroup)).Items;
        lvUrl->setRowCount(static_cast<int>(items.size()));
        for (int row = 0; row < static_cast<int>(items.size()); ++row) {
            lvUrl->setItem(row, 0, new QTableWidgetItem(Qs(items[static_cast<size_t>(row)].Caption)));
            lvUrl->setItem(row, 1, new QTableWidgetItem(Qs(items[static_cast<size_t>(row)].Address)));
        }
    }
    m_filling = false;
}

int TfrmNBM::SelectedGroup() const
{
    const QList<QListWidgetItem*> selected = lsbGroup->selectedItems();
    return selected.isEmpty() ? -1 : lsbGroup->row(selected.front());
}

int TfrmNBM::SelectedRow() const
{
    const QModelIndexList rows = lvUrl->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void TfrmNBM::RightPressed(int row)
{
    SelectGroup(row);
}

void TfrmNBM::pmAddClick()
{
    if (m_target == TTarget::Groups)
        AddGroup();
    else
        AddBookmark();
}

void TfrmNBM::AddGroup()
{
    TfrmAddGroup dialog(m_settings, m_language);
    dialog.setFont(font());
    if (RunPrompt(dialog) != QDialog::Accepted)
        return;
    switch (AddGroupFromInput(m_copy, m_settings)) {
    case TAddGroupResult::Added:
        FillGroups(static_cast<int>(m_copy.GroupCount()) - 1);
        ShowGroup(static_cast<int>(m_copy.GroupCount()) - 1);
        break;
    case TAddGroupResult::Duplicate:
        ShowMessage(this, QMessageBox::Critical, Text("Message", "GroupExist") + "     \r\n", Text("Message", "Error"));
        break;
    case TAddGroupResult::EmptyName: break;
    }
}

void TfrmNBM::AddBookmark()
{
    WritePreselectedGroup(m_settings, std::max(SelectedGroup(), 0));
    TfrmAddUrl dialog(m_settings, m_language, m_copy, this);
    dialog.setFont(font());
    if (RunPrompt(dialog) != QDialog::Accepted)
        return;
    size_t group = 0;
    switch (AddBookmarkFromInput(m_copy, m_settings, &group)) {
    case TAddBookmarkResult::Added:
        SelectGroup(static_cast<int>(group));
        ShowGroup(static_cast<int>(group));
        break;
    case TAddBookmarkResult::NoGroup:
        ShowMessage(this, QMessageBox::Warning, Text("Bookmark", "NoGroup"), Text("Message", "Warning"));
        break;
    case TAddBookmarkResult::NoAddress: break;
    }
}

void TfrmNBM::pmEditClick()
{
    if (m_target == TTarget::Groups) {
        if (QListWidgetItem* item = lsbGroup->item(SelectedGroup()))
            lsbGroup->editItem(item);
        return;
    }
    if (const int row = SelectedRow(); row >= 0 && m_shownGroup >= 0)
        lvUrl->editItem(lvUrl->item(row, 0));
}

void TfrmNBM::GroupEdited(QListWidgetItem* item)
{
    if (m_filling)
        return;
    const int row = lsbGroup->row(item);
    if (row < 0 || static_cast<size_t>(row) >= m_copy.GroupCount())
        return;
    const TAddGroupResult result = m_copy.RenameGroup(static_cast<size_t>(row), item->text().toStdString());
    m_filling = true;
    item->setText(Qs(m_copy.Group(static_cast<size_t>(row)).Caption));
    m_filling = false;
    if (result == TAddGroupResult::Duplicate)
        ShowMessage(this, QMessageBox::Critical, Text("Message", "GroupExist") + "     \r\n", Text("Message", "Error"));
}

void TfrmNBM::BookmarkEdited(QTableWidgetItem* item)
{
    if (m_filling || m_shownGroup < 0)
        return;
    const int row = item->row();
    QTableWidgetItem* caption = lvUrl->item(row, 0);
    QTableWidgetItem* address = lvUrl->item(row, 1);
    if (!caption || !address)
        return;
    const auto group = static_cast<size_t>(m_shownGroup);
    m_copy.EditBookmark(group, static_cast<size_t>(row), caption->text().toStdString(), address->text().toStdString());
    // The cells show what the copy holds: a refused edit is undone.
    const TBookmark& held = m_copy.Group(group).Items.at(static_cast<size_t>(row));
    m_filling = true;
    caption->setText(Qs(held.Caption));
    address->setText(Qs(held.Address));
    m_filling = false;
}

void TfrmNBM::pmDeleteClick()
{
    if (m_target == TTarget::Groups) {
        const int group = SelectedGroup();
        if (group < 0)
            return;
        const QString text =
            Text("Message", "DeleteGroup") + " [" + Qs(m_copy.Group(static_cast<size_t>(group)).Caption) + "]\r\n";
        if (ShowMessage(this, QMessageBox::Question, text, Text("Message", "Warning"),
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
        m_copy.RemoveGroup(static_cast<size_t>(group), m_language.Text("main", "Undefined"));
        FillGroups(-1);
        ShowGroup(-1);
        return;
    }
    const int row = SelectedRow();
    if (row < 0 || m_shownGroup < 0)
        return;
    m_copy.RemoveBookmark(static_cast<size_t>(m_shownGroup), static_cast<size_t>(row));
    m_filling = true;
    lvUrl->removeRow(row);
    m_filling = false;
}

void TfrmNBM::pmUpClick()
{
    if (m_target == TTarget::Groups)
        MoveGroup(true);
    else
        MoveBookmark(true);
}

void TfrmNBM::pmDownClick()
{
    if (m_target == TTarget::Groups)
        MoveGroup(false);
    else
        MoveBookmark(false);
}

void TfrmNBM::MoveGroup(bool up)
{
    const int group = SelectedGroup();
    if (group < 0 || !m_copy.MoveGroup(static_cast<size_t>(group), up))
        return;
    const int other = up ? group - 1 : group + 1;
    // The list keeps showing the same group, wherever it went.
    if (m_shownGroup == group)
        m_shownGroup = other;
    else if (m_shownGroup == other)
        m_shownGroup = group;
    FillGroups(other);
}

void TfrmNBM::MoveBookmark(bool up)
{
    const int row = SelectedRow();
    if (row < 0 || m_shownGroup < 0 ||
        !m_copy.MoveBookmark(static_cast<size_t>(m_shownGroup), static_cast<size_t>(row), up))
        return;
    ShowGroup(m_shownGroup);
    lvUrl->selectRow(up ? row - 1 : row + 1);
}

void TfrmNBM::DropBookmark(int row, int target)
{
    if (m_shownGroup < 0 || !m_copy.MoveBookmarkToGroup(static_cast<size_t>(m_shownGroup), static_cast<size_t>(row),
                                                        static_cast<size_t>(target)))
        return;
    ShowGroup(m_shownGroup);
}

void TfrmNBM::btnImportClick()
{
    const std::vector<TBrowserProfile> profiles = ListBrowserProfiles(m_browsers);
    if (profiles.empty()) {
        ShowMessage(this, QMessageBox::Information, Text("Bookmark", "NoBrowser"), Text("Bookmark", "ImportTitle"));
        return;
    }
    TfrmImport dialog(profiles, m_language, this);
    dialog.setFont(font());
    if (RunPrompt(dialog) != QDialog::Accepted || dialog.Chosen() < 0)
        return;
    TBookmarkModel imported;
    try {
        imported = ReadProfileBookmarks(profiles[static_cast<size_t>(dialog.Chosen())]);
    } catch (const EImportError& error) {
        ShowMessage(this, QMessageBox::Critical, Text("Bookmark", "ImportError") + "\r\n" + Qs(error.what()),
                    Text("Message", "Error"));
        return;
    }
    const size_t added = MergeImport(m_copy, imported);
    const int shown = m_shownGroup >= 0 ? m_shownGroup : 0;
    FillGroups(shown);
    ShowGroup(shown);
    ShowMessage(this, QMessageBox::Information, Text("Bookmark", "Imported") + ' ' + QString::number(added),
                Text("Bookmark", "ImportTitle"));
}

void TfrmNBM::btnExportClick()
{
    QFileDialog dialog(this, Text("Bookmark", "ExportTitle"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("HTML (*.html *.htm)"));
    dialog.setDefaultSuffix(QStringLiteral("html"));
    dialog.selectFile(QStringLiteral("bookmarks.html"));
    if (RunPrompt(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    if (const auto error = ExportNetscapeBookmarks(dialog.selectedFiles().front().toStdString(), m_copy)) {
        ShowMessage(this, QMessageBox::Critical, Text("Bookmark", "ExportError") + "\r\n" + Qs(*error),
                    Text("Message", "Error"));
    }
}

} // namespace tramble
