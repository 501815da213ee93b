#include "launcher/ui/frmEditApp.h"

#include "i18n/Language.h"
#include "launcher/PlaceholderIcon.h"
#include "launcher/PngImage.h"
#include "launcher/ui/ImageFromPng.h"
#include "launcher/ui/frmSelect.h"
#include "ui/Prompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tramble {
namespace {

constexpr QSize kClientSize(400, 301);
constexpr int kIconPanelSize = 73;
constexpr int kIconPanelBottom = 69;

QToolButton* BrowseButton(const char* name)
{
    auto* button = new QToolButton;
    button->setObjectName(QLatin1String(name));
    button->setText(QStringLiteral("..."));
    return button;
}

} // namespace

TIconChoice IconPickerStart(const std::string& iconFile, int index, const TMacroFolders& folders)
{
    PrepareIconThemes();
    const QString file = QString::fromStdString(ExpandMacros(iconFile, folders));
    const QFileInfo info(file);
    if (!file.isEmpty() && info.isFile())
        return {info.absoluteFilePath(), index};
    if (!file.isEmpty() && !file.contains('/') && QIcon::hasThemeIcon(file))
        return {file, index};
    return {QLatin1String(kDefaultPickerIcon), 0};
}

TfrmEditApp::TfrmEditApp(const TAppEntry& entry, const TLanguage& language, TMacroFolders folders, int iconSize,
                         QWidget* parent)
    : QDialog(parent), m_entry(entry), m_language(language), m_folders(std::move(folders)), m_iconSize(iconSize),
      m_iconFile(entry.IconFile), m_iconIndex(entry.IconIndex)
{
    setObjectName(QStringLiteral("frmEditApp"));
    if (parent)
        setFont(parent->font());
    const auto text = [&language](const char* section, const char* key) {
        return QString::fromStdString(language.Text(section, key));
    };
    setWindowTitle(text("EditApp", "EditApplication"));

    edtDescript = new QLineEdit(QString::fromStdString(entry.Descript));
    edtDescript->setObjectName(QStringLiteral("edtDescript"));
    edtApp = new QLineEdit(QString::fromStdString(entry.App));
    edtApp->setObjectName(QStringLiteral("edtApp"));
    btnSelApp = BrowseButton("btnSelApp");
    edtStartFolder = new QLineEdit(QString::fromStdString(entry.RunFolder));
    edtStartFolder->setObjectName(QStringLiteral("edtStartFolder"));
    btnSelFolder = BrowseButton("btnSelFolder");
    edtArguments = new QLineEdit(QString::fromStdString(entry.Arguments));
    edtArguments->setObjectName(QStringLiteral("edtArguments"));
    chkPrompt = new QCheckBox(text("EditApp", "PromptArgument"));
    chkPrompt->setObjectName(QStringLiteral("chkPrompt"));
    chkPrompt->setChecked(entry.PromptArgument);
    cbbWS = new QComboBox;
    cbbWS->setObjectName(QStringLiteral("cbbWS"));
    cbbWS->addItems({text("EditApp", "Normal"), text("EditApp", "Minimized"), text("EditApp", "Maximized")});
    // Any other stored state starts normally, so it shows as that.
    cbbWS->setCurrentIndex(entry.WS < cbbWS->count() ? int(entry.WS) : int(wsNormal));
    chkAutoRun = new QCheckBox(text("Option", "AutoRun"));
    chkAutoRun->setObjectName(QStringLiteral("chkAutoRun"));
    chkAutoRun->setChecked(entry.Autorun);

    pnlIcon = new QFrame;
    pnlIcon->setObjectName(QStringLiteral("pnlIcon"));
    pnlIcon->setFixedSize(kIconPanelSize, kIconPanelSize);
    pnlIcon->setFrameShape(QFrame::StyledPanel);
    btnIcon = new QToolButton(pnlIcon);
    btnIcon->setObjectName(QStringLiteral("btnIcon"));
    btnIcon->setAutoRaise(true);
    btnIcon->setEnabled(false);
    btnIcon->setIconSize(QSize(iconSize, iconSize));
    // At the panel's bottom, in the middle.
    btnIcon->setGeometry((kIconPanelSize - iconSize - 4) / 2, std::max(0, kIconPanelBottom - iconSize), iconSize + 4,
                         iconSize + 4);
    btnSelectIcon = new QPushButton(text("EditApp", "SelectIcon"));
    btnSelectIcon->setObjectName(QStringLiteral("btnSelectIcon"));

    lbNote = new QLabel(QStringLiteral("$(Kuv): Kuv's path\n$(Win): Windows's path\n$(Sys): System's path"));
    lbNote->setObjectName(QStringLiteral("lbNote"));
    lbNote->setEnabled(false);
    lbNote->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lbNote->setToolTip(QString::fromStdString("$(Kuv) = " + m_folders.AppDir + "\n$(Win) = " + m_folders.WinDir +
                                              "\n$(Sys) = " + m_folders.SysDir));

    btnOk = new QPushButton(text("main", "Ok"));
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(text("main", "Cancel"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(text("EditApp", "Description")), 0, 0);
    fields->addWidget(edtDescript, 0, 1, 1, 2);
    fields->addWidget(new QLabel(text("EditApp", "Application")), 1, 0);
    fields->addWidget(edtApp, 1, 1);
    fields->addWidget(btnSelApp, 1, 2);
    fields->addWidget(new QLabel(text("EditApp", "StartFolder")), 2, 0);
    fields->addWidget(edtStartFolder, 2, 1);
    fields->addWidget(btnSelFolder, 2, 2);
    fields->addWidget(new QLabel(text("EditApp", "Arguments")), 3, 0);
    fields->addWidget(edtArguments, 3, 1, 1, 2);
    auto* options = new QHBoxLayout;
    options->addWidget(chkPrompt);
    options->addStretch(1);
    options->addWidget(cbbWS);
    fields->addLayout(options, 4, 0, 1, 3);
    fields->addWidget(chkAutoRun, 5, 0, 1, 3);

    auto* iconColumn = new QVBoxLayout;
    iconColumn->addWidget(pnlIcon, 0, Qt::AlignHCenter);
    iconColumn->addWidget(btnSelectIcon);
    auto* lower = new QHBoxLayout;
    lower->addLayout(iconColumn);
    lower->addWidget(lbNote, 1, Qt::AlignBottom);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(lower);
    layout->addStretch(1);
    layout->addLayout(buttons);
    // The size is fixed; a large bar font may need more than the usual size.
    setFixedSize(sizeHint().expandedTo(kClientSize));

    QWidget* previous = edtDescript;
    for (QWidget* next :
         std::initializer_list<QWidget*>{edtApp, btnSelApp, edtStartFolder, btnSelFolder, edtArguments, chkPrompt,
                                         cbbWS, chkAutoRun, btnSelectIcon, btnOk, btnCancel}) {
        setTabOrder(previous, next);
        previous = next;
    }

    connect(btnSelApp, &QToolButton::clicked, this, &TfrmEditApp::SelectApp);
    connect(btnSelFolder, &QToolButton::clicked, this, &TfrmEditApp::SelectFolder);
    connect(btnSelectIcon, &QPushButton::clicked, this, &TfrmEditApp::SelectIcon);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    RebuildPreview();
}

TfrmEditApp::~TfrmEditApp() = default;

TAppEntry TfrmEditApp::Edited() const
{
    TAppEntry edited = m_entry;
    edited.App = edtApp->text().toStdString();
    edited.Descript = edtDescript->text().toStdString();
    edited.RunFolder = edtStartFolder->text().toStdString();
    edited.Arguments = edtArguments->text().toStdString();
    edited.PromptArgument = chkPrompt->isChecked();
    edited.Autorun = chkAutoRun->isChecked();
    edited.WS = static_cast<uint8_t>(std::max(0, cbbWS->currentIndex()));
    edited.IconFile = m_iconFile;
    edited.IconIndex = m_iconIndex;
    return edited;
}

void TfrmEditApp::SelectApp()
{
    TfrmSelect select(TfrmSelect::TMode::FilesAndFolders, m_language, this);
    const QString current = QString::fromStdString(ExpandMacros(edtApp->text().toStdString(), m_folders));
    if (QFileInfo(current).isFile())
        select.OpenAt(current);
    if (RunPrompt(select) != QDialog::Accepted)
        return;
    if (const QString path = select.SelectedPath(); !path.isEmpty())
        edtApp->setText(QString::fromStdString(CompressMacros(path.toStdString(), m_folders)));
}

void TfrmEditApp::SelectFolder()
{
    TfrmSelect select(TfrmSelect::TMode::FoldersOnly, m_language, this);
    const QString current = QString::fromStdString(ExpandMacros(edtStartFolder->text().toStdString(), m_folders));
    if (QFileInfo(current).isDir())
        select.OpenAt(current);
    if (RunPrompt(select) != QDialog::Accepted)
        return;
    if (const QString folder = select.SelectedPath(); !folder.isEmpty())
        edtStartFolder->setText(QString::fromStdString(CompressMacros(folder.toStdString(), m_folders)));
}

void TfrmEditApp::SelectIcon()
{
    TfrmIconPicker picker(m_language, this);
    picker.OpenOn(IconPickerStart(m_iconFile, m_iconIndex, m_folders));
    if (RunPrompt(picker) != QDialog::Accepted)
        return;
    const std::optional<TIconChoice> chosen = picker.Chosen();
    if (!chosen)
        return;
    m_iconFile = CompressMacros(chosen->File.toStdString(), m_folders);
    m_iconIndex = chosen->Index;
    RebuildPreview();
}

void TfrmEditApp::RebuildPreview()
{
    // The same steps as a bar button's image: the icon, else the placeholder.
    const std::optional<TRgbaImage> icon =
        m_icons.Extract(ExpandMacros(m_iconFile, m_folders), m_iconIndex, m_iconSize);
    std::string png = icon ? EncodePng(*icon) : std::string();
    if (png.empty())
        png = EncodePng(DrawPlaceholderIcon(m_iconSize));
    m_preview = ImageFromPng(png);
    // A disabled button would grey the picture; the preview keeps its colours.
    const QPixmap pixmap = QPixmap::fromImage(m_preview);
    QIcon preview;
    preview.addPixmap(pixmap, QIcon::Normal);
    preview.addPixmap(pixmap, QIcon::Disabled);
    btnIcon->setIcon(preview);
}

} // namespace tramble
