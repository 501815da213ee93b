#pragma once

#include <QAbstractListModel>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>

#include <optional>
#include <vector>

namespace tramble {

// The folders and files of one folder, folders first, each group sorted by
// name without regard to case. Read when the folder is set and on Reload;
// icons are looked up when a row is first drawn.
class TFolderListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void SetFolder(const QString& folder);
    // Reads the folder again.
    void Reload();
    QString Folder() const { return m_folder; }

    QString PathAt(int row) const;
    bool IsFolderAt(int row) const;
    // The row of the entry with this full path; nothing when it is not listed.
    std::optional<int> RowOf(const QString& path) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QString m_folder;
    QList<QFileInfo> m_items;
    mutable std::vector<std::optional<QIcon>> m_icons;
    QFileIconProvider m_iconProvider;
};

} // namespace tramble
