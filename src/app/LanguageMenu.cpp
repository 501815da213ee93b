#include "app/LanguageMenu.h"

#include "app/QtConvert.h"
#include "i18n/Language.h"
#include "text/TextConvert.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace tramble {

TLanguageMenu::TLanguageMenu(QMenu* menu) : QObject(menu), m_menu(menu), m_group(new QActionGroup(this))
{
    m_group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    AddItem(Qs(std::string(kLangEnglish)), "pmLangEnglish");
    AddItem(Qs(std::string(kLangSimplifiedChinese)), "pmLangSimpChinese");
}

QAction* TLanguageMenu::AddItem(const QString& caption, const char* objectName)
{
    QAction* item = m_menu->addAction(caption);
    if (objectName)
        item->setObjectName(QLatin1String(objectName));
    item->setCheckable(true);
    m_group->addAction(item);
    connect(item, &QAction::triggered, this, [this, item] {
        item->setChecked(true);
        emit languageChosen(item->text().toStdString());
    });
    return item;
}

void TLanguageMenu::AddLanguageFiles(const std::vector<std::string>& names)
{
    for (const std::string& name : names)
        AddItem(Qs(name), nullptr);
}

void TLanguageMenu::Check(const std::string& name)
{
    if (QAction* checked = m_group->checkedAction())
        checked->setChecked(false);
    for (QAction* item : m_group->actions()) {
        if (SameTextAscii(item->text().toStdString(), name)) {
            item->setChecked(true);
            return;
        }
    }
}

QString TLanguageMenu::CheckedName() const
{
    QAction* checked = m_group->checkedAction();
    return checked ? checked->text() : QString();
}

} // namespace tramble
