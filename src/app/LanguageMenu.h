#pragma once

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;

namespace tramble {

// The radio items of the bar's language menu: the two built-in languages and
// one item per further language file.
class TLanguageMenu : public QObject {
    Q_OBJECT
public:
    explicit TLanguageMenu(QMenu* menu);

    // Adds one item per name, captioned with it.
    void AddLanguageFiles(const std::vector<std::string>& names);
    // Checks the first item whose caption equals the name without regard to
    // case; none stays checked when no item matches.
    void Check(const std::string& name);
    QString CheckedName() const;

signals:
    // The user picked a language; the item is checked already.
    void languageChosen(const std::string& name);

private:
    QAction* AddItem(const QString& caption, const char* objectName);

    QMenu* m_menu;
    QActionGroup* m_group;
};

} // namespace tramble
