#include "bookmarks/ui/frmImport.h"

#include "i18n/Language.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tramble {
namespace {

QString Text(const TLanguage& language, const char* section, const char* key)
{
    return QString::fromStdString(language.Text(section, key));
}

} // namespace

TfrmImport::TfrmImport(const std::vector<TBrowserProfile>& profiles, const TLanguage& language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(Text(language, "Bookmark", "ImportTitle"));
    lbBrowser = new QLabel(Text(language, "Bookmark", "Browser"), this);
    lbBrowser->setObjectName(QStringLiteral("lbBrowser"));
    cbbBrowser = new QComboBox(this);
    cbbBrowser->setObjectName(QStringLiteral("cbbBrowser"));
    lbBrowser->setBuddy(cbbBrowser);
    for (const TBrowserProfile& profile : profiles) {
        cbbBrowser->addItem(QString::fromStdString(BrowserName(profile.Browser) + " - " + profile.Name));
        cbbBrowser->setItemData(cbbBrowser->count() - 1, QString::fromStdString(profile.Bookmarks), Qt::ToolTipRole);
    }
    btnCancel = new QPushButton(Text(language, "main", "Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnOk = new QPushButton(Text(language, "main", "Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnCancel);
    buttons->addWidget(btnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbBrowser);
    layout->addWidget(cbbBrowser);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    cbbBrowser->setMinimumWidth(300);

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmImport::Chosen() const
{
    return cbbBrowser->currentIndex();
}

} // namespace tramble
