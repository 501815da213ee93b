#include "launcher/ui/frmSelect.h"

#include "i18n/Language.h"
#include "launcher/ui/EntryIcons.h"
#include "launcher/ui/FolderListModel.h"
#include "platform/SpecialFolders.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace tramble {
namespace {

constexpr int kButtonPanelHeight = 40;
constexpr int kOkRightGap = 16;
constexpr int kCancelGap = 24;
constexpr int kReloadDelayMs = 100;

QString Text(const TLanguage& language, const char* section, const char* key)
{
    return QString::fromStdString(language.Text(section, key));
}

bool Inside(const QString& path, const QString& folder)
{
    return folder == QLatin1String("/") || path == folder || path.startsWith(folder + '/');
}

// Volumes a user keeps files on: disks and partitions, and whatever is
// mounted where removable media and manual mounts go.
bool IsUserVolume(const QStorageInfo& volume)
{
    if (!volume.isValid() || !volume.isReady() || volume.isRoot())
        return false;
    const QString root = volume.rootPath();
    for (const char* place : {"/media/", "/run/media/", "/mnt/"}) {
        if (root.startsWith(QLatin1String(place)))
            return true;
    }
    return volume.device().startsWith("/dev/") && !root.startsWith(QLatin1String("/boot"));
}

// The folder tree shows one place: the place's folder is its only top item.
class TPlaceFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetPlace(QFileSystemModel* folders, const QString& root)
    {
        m_root = root;
        m_parent = folders->index(root).parent();
        invalidateFilter();
    }
    QModelIndex RootParent() const { return mapFromSource(m_parent); }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override
    {
        if (sourceParent != m_parent)
            return true;
        const auto* folders = static_cast<const QFileSystemModel*>(sourceModel());
        return folders->filePath(folders->index(sourceRow, 0, sourceParent)) == m_root;
    }

private:
    QString m_root;
    QPersistentModelIndex m_parent;
};

TPlaceFilter* PlaceFilterOf(const QTreeView* tree)
{
    return static_cast<TPlaceFilter*>(tree->model());
}

} // namespace

TfrmSelect::TfrmSelect(TMode mode, const TLanguage& language, QWidget* parent) : QDialog(parent), m_mode(mode)
{
    setObjectName(QStringLiteral("frmSelect"));
    setWindowTitle(Text(language, "main", "SelectItem"));
    if (parent)
        setFont(parent->font()); // the bar's font
    PrepareIconThemes();

    cbbPlaces = new QComboBox(this);
    cbbPlaces->setObjectName(QStringLiteral("cbbPlaces"));
    edtPath = new QLineEdit(this);
    edtPath->setObjectName(QStringLiteral("edtPath"));
    edtPath->installEventFilter(this);

    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folders->setReadOnly(true);
    auto* places = new TPlaceFilter(this);
    places->setSourceModel(m_folders);

    splitter = new QSplitter(Qt::Horizontal, this);
    tvFolders = new QTreeView(splitter);
    tvFolders->setObjectName(QStringLiteral("tvFolders"));
    tvFolders->setModel(places);
    tvFolders->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        tvFolders->hideColumn(column);

    m_items = new TFolderListModel(this);
    lvItems = new QListView(splitter);
    lvItems->setObjectName(QStringLiteral("lvItems"));
    lvItems->setModel(m_items);
    lvItems->setUniformItemSizes(true);
    lvItems->setSelectionMode(QAbstractItemView::SingleSelection);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({180, 320});
    if (mode == TMode::FoldersOnly) {
        lvItems->hide();
        splitter->setHandleWidth(0);
    }

    pnlButtons = new QWidget(this);
    pnlButtons->setFixedHeight(kButtonPanelHeight);
    btnOk = new QPushButton(Text(language, "main", "Ok"), pnlButtons);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(Text(language, "main", "Cancel"), pnlButtons);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(cbbPlaces);
    top->addWidget(edtPath, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(4);
    top->setContentsMargins(4, 0, 4, 0);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addWidget(pnlButtons);

    connect(tvFolders->selectionModel(), &QItemSelectionModel::currentChanged, this, &TfrmSelect::FolderChosen);
    // Folders are read in the background: the chosen one stays in sight as
    // the folders above it fill in.
    connect(m_folders, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        const QModelIndex current = tvFolders->currentIndex();
        if (current.isValid() && Inside(SelectedFolder(), loaded))
            tvFolders->scrollTo(current);
    });
    connect(lvItems->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TfrmSelect::ShowSelectedPath);
    connect(lvItems, &QListView::activated, this, [this](const QModelIndex& index) { ItemActivated(index.row()); });
    connect(cbbPlaces, &QComboBox::activated, this, [this](int i) {
        const QString root = cbbPlaces->itemData(i).toString();
        SetPlace(root);
        SelectFolderInTree(root);
    });
    auto* typePath = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(typePath, &QShortcut::activated, this, [this] {
        edtPath->setFocus();
        edtPath->selectAll();
    });

    tmrReload.setInterval(kReloadDelayMs);
    connect(&tmrReload, &QTimer::timeout, this, [this] {
        // Not while the frame is still being dragged.
        if (QApplication::mouseButtons() & Qt::LeftButton)
            return;
        tmrReload.stop();
        ReloadList();
    });

    AddPlaces();
    const QString home = QDir::homePath();
    SetPlace(home);
    SelectFolderInTree(home);
    resize(519, 484);
}

TfrmSelect::~TfrmSelect() = default;

void TfrmSelect::AddPlaces()
{
    const QString home = QDir::homePath();
    cbbPlaces->addItem(QIcon::fromTheme(QStringLiteral("user-home")), home, home);
    const QString desktop = QString::fromStdString(platform::SpecialFolderPath(platform::TSpecialFolder::Desktop));
    if (desktop != home && QFileInfo(desktop).isDir())
        cbbPlaces->addItem(QIcon::fromTheme(QStringLiteral("user-desktop")), desktop, desktop);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (IsUserVolume(volume) && cbbPlaces->findData(volume.rootPath()) < 0)
            cbbPlaces->addItem(QIcon::fromTheme(QStringLiteral("drive-harddisk")), volume.displayName(),
                               volume.rootPath());
    }
    cbbPlaces->addItem(QIcon::fromTheme(QStringLiteral("drive-harddisk")), QStringLiteral("/"), QStringLiteral("/"));
}

QString TfrmSelect::PlaceRoot() const
{
    return cbbPlaces->currentData().toString();
}

void TfrmSelect::SetPlace(const QString& root)
{
    cbbPlaces->setCurrentIndex(std::max(0, cbbPlaces->findData(root)));
    m_folders->setRootPath(root);
    TPlaceFilter* places = PlaceFilterOf(tvFolders);
    places->SetPlace(m_folders, root);
    tvFolders->setRootIndex(places->RootParent());
    tvFolders->expand(places->mapFromSource(m_folders->index(root)));
}

void TfrmSelect::SelectFolderInTree(const QString& folder)
{
    if (!Inside(folder, PlaceRoot())) {
        // The innermost place that holds the folder; "/" holds every one.
        QString best = QStringLiteral("/");
        for (int i = 0; i < cbbPlaces->count(); ++i) {
            const QString root = cbbPlaces->itemData(i).toString();
            if (Inside(folder, root) && root.size() > best.size())
                best = root;
        }
        SetPlace(best);
    }
    const QModelIndex index = PlaceFilterOf(tvFolders)->mapFromSource(m_folders->index(folder));
    if (index.isValid()) {
        tvFolders->setCurrentIndex(index);
        tvFolders->scrollTo(index);
    }
    if (m_items->Folder() != folder) {
        m_items->SetFolder(folder);
        ShowSelectedPath();
    }
}

void TfrmSelect::OpenAt(const QString& path)
{
    const QFileInfo info(QDir::cleanPath(path));
    if (info.isDir()) {
        SelectFolderInTree(info.absoluteFilePath());
        lvItems->clearSelection();
    } else if (info.exists()) {
        SelectFolderInTree(info.absolutePath());
        if (const std::optional<int> row = m_items->RowOf(info.absoluteFilePath()); row && m_mode != TMode::FoldersOnly)
            lvItems->setCurrentIndex(m_items->index(*row));
    }
}

QString TfrmSelect::SelectedPath() const
{
    if (m_mode != TMode::FoldersOnly) {
        const QModelIndexList selected = lvItems->selectionModel()->selectedIndexes();
        if (!selected.isEmpty())
            return m_items->PathAt(selected.first().row());
    }
    return SelectedFolder();
}

QString TfrmSelect::SelectedFolder() const
{
    const QModelIndex folder = tvFolders->selectionModel()->currentIndex();
    if (!folder.isValid())
        return {};
    return m_folders->filePath(PlaceFilterOf(tvFolders)->mapToSource(folder));
}

void TfrmSelect::FolderChosen()
{
    const QModelIndex current = tvFolders->selectionModel()->currentIndex();
    if (current.isValid())
        m_items->SetFolder(m_folders->filePath(PlaceFilterOf(tvFolders)->mapToSource(current)));
    ShowSelectedPath();
}

void TfrmSelect::ItemActivated(int row)
{
    if (m_items->IsFolderAt(row))
        SelectFolderInTree(m_items->PathAt(row));
    else
        accept();
}

void TfrmSelect::PathTyped()
{
    QString typed = edtPath->text().trimmed();
    if (typed.startsWith(QLatin1String("~/")) || typed == QLatin1String("~"))
        typed.replace(0, 1, QDir::homePath());
    const QFileInfo info(typed);
    if (!info.isAbsolute() || !info.exists() || (m_mode == TMode::FoldersOnly && !info.isDir())) {
        QApplication::beep();
        return;
    }
    OpenAt(typed);
    accept();
}

void TfrmSelect::ShowSelectedPath()
{
    if (!edtPath->hasFocus())
        edtPath->setText(SelectedPath());
}

void TfrmSelect::PlaceButtons()
{
    const int y = (kButtonPanelHeight - btnOk->sizeHint().height()) / 2;
    btnOk->resize(btnOk->sizeHint());
    btnCancel->resize(btnCancel->sizeHint());
    btnOk->move(width() - kOkRightGap - btnOk->width(), y);
    btnCancel->move(btnOk->x() - kCancelGap - btnCancel->width(), y);
}

void TfrmSelect::ReloadList()
{
    const QModelIndexList selected = lvItems->selectionModel()->selectedIndexes();
    const int row = selected.isEmpty() ? -1 : selected.first().row();
    const QString path = m_items->PathAt(row);
    m_items->Reload();
    if (row < 0 || m_items->rowCount() == 0)
        return;
    const int keep = m_items->RowOf(path).value_or(std::min(row, m_items->rowCount() - 1));
    lvItems->setCurrentIndex(m_items->index(keep));
}

void TfrmSelect::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceButtons();
    tmrReload.start();
}

void TfrmSelect::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    tvFolders->scrollTo(tvFolders->currentIndex());
    if (m_mode == TMode::FoldersOnly)
        tvFolders->setFocus();
    else
        lvItems->setFocus();
}

bool TfrmSelect::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtPath && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            PathTyped();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tramble
