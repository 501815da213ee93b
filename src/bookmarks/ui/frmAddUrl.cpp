#include "bookmarks/ui/frmAddUrl.h"

#include "bookmarks/BookmarkHandOver.h"
#include "bookmarks/BookmarkModel.h"
#include "i18n/Language.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tramble {
namespace {

QString Text(const TLanguage& language, const char* section, const char* key)
{
    return QString::fromStdString(language.Text(section, key));
}

} // namespace

TfrmAddUrl::TfrmAddUrl(TFastIniFile& settings, const TLanguage& language, const TBookmarkModel& groups, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_settings(settings)
{
    setObjectName(QStringLiteral("frmAddUrl"));
    setWindowTitle(Text(language, "main", "Addurl"));
    lbDescription = new QLabel(Text(language, "EditApp", "Description"), this);
    lbDescription->setObjectName(QStringLiteral("lbDescription"));
    edtDescription = new QLineEdit(this);
    edtDescription->setObjectName(QStringLiteral("edtDescription"));
    lbGroup = new QLabel(Text(language, "main", "Group"), this);
    lbGroup->setObjectName(QStringLiteral("lbGroup"));
    cbbGroup = new QComboBox(this);
    cbbGroup->setObjectName(QStringLiteral("cbbGroup"));
    lbUrl = new QLabel(Text(language, "main", "Url"), this);
    lbUrl->setObjectName(QStringLiteral("lbUrl"));
    edtUrl = new QLineEdit(QStringLiteral("http://"), this);
    edtUrl->setObjectName(QStringLiteral("edtUrl"));
    btnCancel = new QPushButton(Text(language, "main", "Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnOk = new QPushButton(Text(language, "main", "Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    lbDescription->setBuddy(edtDescription);
    lbGroup->setBuddy(cbbGroup);
    lbUrl->setBuddy(edtUrl);

    for (const TBookmarkGroup& group : groups.Groups())
        cbbGroup->addItem(QString::fromStdString(group.Caption));
    // A number that names no group leaves nothing chosen.
    const int preselected = ReadPreselectedGroup(settings);
    cbbGroup->setCurrentIndex(preselected < cbbGroup->count() ? preselected : -1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnOk);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* control :
         std::initializer_list<QWidget*>{lbDescription, edtDescription, lbGroup, cbbGroup, lbUrl, edtUrl})
        layout->addWidget(control);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    edtUrl->setMinimumWidth(300);

    connect(btnOk, &QPushButton::clicked, this, &TfrmAddUrl::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAddUrl::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    edtUrl->setFocus();
}

void TfrmAddUrl::btnOkClick()
{
    WriteUrlInput(m_settings,
                  {edtDescription->text().toStdString(), edtUrl->text().toStdString(), cbbGroup->currentIndex()});
    accept();
}

} // namespace tramble
