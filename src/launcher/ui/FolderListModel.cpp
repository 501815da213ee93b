#include "launcher/ui/FolderListModel.h"

#include <QDir>

namespace tramble {

void TFolderListModel::SetFolder(const QString& folder)
{
    beginResetModel();
    m_folder = folder;
    m_items.clear();
    if (!folder.isEmpty())
        m_items = QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot,
                                             QDir::DirsFirst | QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    m_icons.assign(m_items.size(), std::nullopt);
    endResetModel();
}

void TFolderListModel::Reload()
{
    SetFolder(m_folder);
}

QString TFolderListModel::PathAt(int row) const
{
    return row >= 0 && row < m_items.size() ? m_items[row].absoluteFilePath() : QString();
}

bool TFolderListModel::IsFolderAt(int row) const
{
    return row >= 0 && row < m_items.size() && m_items[row].isDir();
}

std::optional<int> TFolderListModel::RowOf(const QString& path) const
{
    const QString wanted = QFileInfo(path).absoluteFilePath();
    for (int row = 0; row < m_items.size(); ++row) {
        if (m_items[row].absoluteFilePath() == wanted)
            return row;
    }
    return std::nullopt;
}

int TFolderListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_items.size());
}

QVariant TFolderListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const QFileInfo& item = m_items[index.row()];
    switch (role) {
    case Qt::DisplayRole: return item.fileName();
    case Qt::ToolTipRole: return item.absoluteFilePath();
    case Qt::DecorationRole: {
        std::optional<QIcon>& icon = m_icons[index.row()];
        if (!icon)
            icon = m_iconProvider.icon(item);
        return *icon;
    }
    default: return {};
    }
}

} // namespace tramble
