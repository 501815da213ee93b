#include "bookmarks/ui/frmAddGroup.h"

#include "bookmarks/BookmarkHandOver.h"
#include "i18n/Language.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tramble {

TfrmAddGroup::TfrmAddGroup(TFastIniFile& settings, const TLanguage& language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_settings(settings)
{
    setObjectName(QStringLiteral("frmAddGroup"));
    setWindowTitle(QString::fromStdString(language.Text("main", "AddGroup")));
    lbGroup = new QLabel(QString::fromStdString(language.Text("main", "Group")), this);
    lbGroup->setObjectName(QStringLiteral("lbGroup"));
    edtGroup = new QLineEdit(this);
    edtGroup->setObjectName(QStringLiteral("edtGroup"));
    lbGroup->setBuddy(edtGroup);
    btnOk = new QPushButton(QString::fromStdString(language.Text("main", "Ok")), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QString::fromStdString(language.Text("main", "Cancel")), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbGroup);
    layout->addWidget(edtGroup);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    edtGroup->setMinimumWidth(220);

    connect(btnOk, &QPushButton::clicked, this, &TfrmAddGroup::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAddGroup::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    edtGroup->setFocus();
}

void TfrmAddGroup::btnOkClick()
{
    WriteGroupInput(m_settings, edtGroup->text().toStdString());
    accept();
}

} // namespace tramble
