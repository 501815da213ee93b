#pragma once

#include <QDialog>

#include <string>

namespace tramble {

// The properties of a file or folder: path, type, size, permissions, owner,
// times and the target of a link. Shown modally, freed after closing.
class TfrmProperties : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProperties(const std::string& path, QWidget* parent = nullptr);
};

} // namespace tramble
