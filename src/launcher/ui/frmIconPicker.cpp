#include "launcher/ui/frmIconPicker.h"

#include "i18n/Language.h"
#include "launcher/IconThemeNames.h"
#include "ui/Prompts.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QStringListModel>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace tramble {
namespace {

constexpr int kListIconSize = 32;
constexpr int kPreviewSize = 64;
constexpr int kThemePage = 0;
constexpr int kFilePage = 1;

QString Text(const TLanguage& language, const char* key)
{
    return QString::fromStdString(language.Text("EditApp", key));
}

// Theme icon names, each drawn with its picture once it is shown.
class TThemeIconModel : public QStringListModel {
public:
    using QStringListModel::QStringListModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DecorationRole)
            return QIcon::fromTheme(QStringListModel::data(index, Qt::DisplayRole).toString());
        if (role == Qt::ToolTipRole)
            return QStringListModel::data(index, Qt::DisplayRole);
        return QStringListModel::data(index, role);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QStringListModel::flags(index) & ~Qt::ItemIsEditable;
    }
};

QStringList ThemeIconNames()
{
    PrepareIconThemes();
    std::vector<std::string> folders;
    for (const QString& path : QIcon::themeSearchPaths()) {
        if (!path.startsWith(':')) // Qt's own resources hold no themes of the desktop
            folders.push_back(path.toStdString());
    }
    QStringList names;
    for (const std::string& name :
         IconThemeNames(folders, {QIcon::themeName().toStdString(), QIcon::fallbackThemeName().toStdString()}))
        names << QString::fromStdString(name);
    return names;
}

} // namespace

TfrmIconPicker::TfrmIconPicker(const TLanguage& language, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmIconPicker"));
    setWindowTitle(Text(language, "SelectIcon"));
    if (parent)
        setFont(parent->font());
    m_imageFilter = Text(language, "ImageFile") + QStringLiteral(" (*.png *.svg *.svgz *.xpm *.ico)");

    m_names = new TThemeIconModel(ThemeIconNames(), this);
    m_found = new QSortFilterProxyModel(this);
    m_found->setSourceModel(m_names);
    m_found->setFilterCaseSensitivity(Qt::CaseInsensitive);

    edtSearch = new QLineEdit;
    edtSearch->setObjectName(QStringLiteral("edtSearch"));
    edtSearch->setPlaceholderText(Text(language, "Search"));
    edtSearch->setClearButtonEnabled(true);
    lvThemeIcons = new QListView;
    lvThemeIcons->setObjectName(QStringLiteral("lvThemeIcons"));
    lvThemeIcons->setModel(m_found);
    lvThemeIcons->setViewMode(QListView::IconMode);
    lvThemeIcons->setIconSize(QSize(kListIconSize, kListIconSize));
    lvThemeIcons->setGridSize(QSize(112, 64));
    lvThemeIcons->setUniformItemSizes(true);
    lvThemeIcons->setResizeMode(QListView::Adjust);
    lvThemeIcons->setMovement(QListView::Static);
    lvThemeIcons->setWordWrap(true);
    lvThemeIcons->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* themePage = new QWidget;
    auto* themeLayout = new QVBoxLayout(themePage);
    themeLayout->addWidget(edtSearch);
    themeLayout->addWidget(lvThemeIcons, 1);

    edtIconFile = new QLineEdit;
    edtIconFile->setObjectName(QStringLiteral("edtIconFile"));
    btnBrowse = new QToolButton;
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    btnBrowse->setText(QStringLiteral("..."));
    udIndex = new QSpinBox;
    udIndex->setObjectName(QStringLiteral("udIndex"));
    udIndex->setRange(0, 0);
    lbPreview = new QLabel;
    lbPreview->setObjectName(QStringLiteral("lbPreview"));
    lbPreview->setFixedSize(kPreviewSize + 8, kPreviewSize + 8);
    lbPreview->setAlignment(Qt::AlignCenter);
    lbPreview->setFrameShape(QFrame::StyledPanel);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(edtIconFile, 1);
    fileRow->addWidget(btnBrowse);
    auto* filePage = new QWidget;
    auto* fileForm = new QFormLayout(filePage);
    fileForm->addRow(Text(language, "ImageFile"), fileRow);
    fileForm->addRow(Text(language, "IconIndex"), udIndex);
    fileForm->addRow(QString(), lbPreview);

    pgcKind = new QTabWidget;
    pgcKind->setObjectName(QStringLiteral("pgcKind"));
    pgcKind->insertTab(kThemePage, themePage, Text(language, "ThemeIcons"));
    pgcKind->insertTab(kFilePage, filePage, Text(language, "ImageFile"));

    btnOk = new QPushButton(QString::fromStdString(language.Text("main", "Ok")));
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QString::fromStdString(language.Text("main", "Cancel")));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pgcKind, 1);
    layout->addLayout(buttons);

    const auto update = [this] { btnOk->setEnabled(Chosen().has_value()); };
    connect(edtSearch, &QLineEdit::textChanged, m_found, &QSortFilterProxyModel::setFilterFixedString);
    connect(edtSearch, &QLineEdit::textChanged, this, update);
    connect(lvThemeIcons->selectionModel(), &QItemSelectionModel::currentChanged, this, update);
    connect(lvThemeIcons, &QListView::activated, this, &QDialog::accept);
    connect(edtIconFile, &QLineEdit::textChanged, this, &TfrmIconPicker::FileChanged);
    connect(udIndex, &QSpinBox::valueChanged, this, &TfrmIconPicker::UpdatePreview);
    connect(btnBrowse, &QToolButton::clicked, this, &TfrmIconPicker::BrowseFile);
    connect(pgcKind, &QTabWidget::currentChanged, this, update);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    update();
    resize(520, 440);
}

TfrmIconPicker::~TfrmIconPicker() = default;

void TfrmIconPicker::OpenOn(const TIconChoice& icon)
{
    if (icon.File.contains('/')) {
        edtIconFile->setText(icon.File);
        udIndex->setValue(icon.Index);
        pgcKind->setCurrentIndex(kFilePage);
        return;
    }
    edtSearch->clear();
    pgcKind->setCurrentIndex(kThemePage);
    const int row = static_cast<int>(m_names->stringList().indexOf(icon.File));
    if (row < 0)
        return;
    const QModelIndex index = m_found->mapFromSource(m_names->index(row));
    lvThemeIcons->setCurrentIndex(index);
    lvThemeIcons->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

std::optional<TIconChoice> TfrmIconPicker::Chosen() const
{
    if (pgcKind->currentIndex() == kFilePage) {
        const QString file = edtIconFile->text();
        if (!QFileInfo(file).isFile())
            return std::nullopt;
        return TIconChoice{file, udIndex->value()};
    }
    const QModelIndex current = lvThemeIcons->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return TIconChoice{current.data(Qt::DisplayRole).toString(), 0};
}

void TfrmIconPicker::BrowseFile()
{
    const QString folder = QFileInfo(edtIconFile->text()).absolutePath();
    if (const std::optional<QString> file = AskOpenFile(this, pgcKind->tabText(kFilePage), folder, m_imageFilter)) {
        edtIconFile->setText(*file);
        udIndex->setValue(0);
    }
}

void TfrmIconPicker::FileChanged()
{
    // An ICO file holds several pictures; the index picks one.
    QImageReader reader(edtIconFile->text());
    udIndex->setMaximum(std::max(0, reader.imageCount() - 1));
    UpdatePreview();
}

void TfrmIconPicker::UpdatePreview()
{
    const std::optional<TRgbaImage> image =
        m_icons.Extract(edtIconFile->text().toStdString(), udIndex->value(), kPreviewSize);
    if (image) {
        const QImage picture(image->Pixels.data(), image->Width, image->Height, QImage::Format_RGBA8888);
        lbPreview->setPixmap(QPixmap::fromImage(picture));
    } else {
        lbPreview->clear();
    }
    btnOk->setEnabled(Chosen().has_value());
}

void TfrmIconPicker::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (pgcKind->currentIndex() == kThemePage)
        lvThemeIcons->setFocus();
}

} // namespace tramble
