#include "bookmarks/ui/NetBookmarkMenu.h"

#include "bookmarks/ui/MenuImages.h"

namespace tramble {
namespace {

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// A caption shown as it is: "&" marks no mnemonic.
QString MenuText(const std::string& text)
{
    return Text(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

TNetBookmarkMenu::TNetBookmarkMenu(QWidget* parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("pmNetBookmark"));
    setToolTipsVisible(true);
}

void TNetBookmarkMenu::Rebuild(const TBookmarkModel& model)
{
    // Submenus are children of this menu; clear() removes only the actions.
    for (QMenu* submenu : findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        submenu->deleteLater();
    clear();
    m_model = &model;
    for (size_t i = 0; i < model.GroupCount(); ++i) {
        auto* submenu = new QMenu(this);
        submenu->setTitle(MenuText(model.Group(i).Caption));
        submenu->setIcon(MenuImage(miGroup));
        submenu->setToolTipsVisible(true);
        connect(submenu, &QMenu::aboutToShow, this, [this, submenu, i] { FillGroup(submenu, i); });
        addMenu(submenu);
    }
}

void TNetBookmarkMenu::FillGroup(QMenu* submenu, size_t group)
{
    if (!submenu->isEmpty() || !m_model || group >= m_model->GroupCount())
        return;
    const QIcon image = MenuImage(miBookmark);
    for (const TBookmark& item : m_model->Group(group).Items) {
        QAction* entry = submenu->addAction(image, MenuText(item.Caption));
        const QString caption = Text(item.Caption);
        const QString address = Text(item.Address);
        entry->setToolTip(address);
        connect(entry, &QAction::triggered, this, [this, caption, address] { emit bookmarkChosen(caption, address); });
    }
}

} // namespace tramble
