#include "launcher/ui/frmProperties.h"

#include "platform/FileProperties.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace tramble {
namespace {

QString Time(int64_t seconds)
{
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::LongFormat);
}

void AddRow(QFormLayout* form, const QString& name, const QString& value)
{
    auto* label = new QLabel(value);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    form->addRow(name, label);
}

} // namespace

TfrmProperties::TfrmProperties(const std::string& path, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmProperties"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    const platform::TFileProperties p = platform::ReadFileProperties(path);
    setWindowTitle(QString::fromStdString(path.substr(path.find_last_of('/') + 1)));

    auto* form = new QFormLayout;
    AddRow(form, tr("Path"), QString::fromStdString(path));
    if (!p.Exists) {
        AddRow(form, tr("Type"), tr("Not found"));
    } else {
        QString kind = QString::fromStdString(p.Kind);
        if (!p.MimeType.empty())
            kind += " (" + QString::fromStdString(p.MimeType) + ")";
        AddRow(form, tr("Type"), kind);
        if (!p.LinkTarget.empty())
            AddRow(form, tr("Link target"), QString::fromStdString(p.LinkTarget));
        AddRow(form, tr("Size"), QLocale().formattedDataSize(p.Size) + QStringLiteral(" (%1 bytes)").arg(p.Size));
        AddRow(form, tr("Permissions"), QString::fromStdString(p.Permissions));
        AddRow(form, tr("Owner"), QString::fromStdString(p.Owner + ":" + p.Group));
        AddRow(form, tr("Modified"), Time(p.Modified));
        AddRow(form, tr("Accessed"), Time(p.Accessed));
        AddRow(form, tr("Changed"), Time(p.Changed));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

} // namespace tramble
