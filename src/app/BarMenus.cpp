#include "app/BarMenus.h"

#include "app/QtConvert.h"
#include "i18n/Language.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace tramble {
namespace {

const char* const kWired = "trambleWired";

QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key = {})
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    if (!key.isEmpty()) {
        item->setShortcut(key);
        item->setShortcutContext(Qt::WindowShortcut);
    }
    return item;
}

void SetText(QAction* item, const TLanguage& language, const char* section, const char* key)
{
    if (item)
        item->setText(Qs(language.Text(section, key)));
}

} // namespace

QList<QAction*> TBarMenus::WritingItems() const
{
    return {pmAdd, pmOption, pmBtnAdd, pmBtnEdit, pmBtnDel};
}

TBarMenus CreateBarMenus(QWidget* owner)
{
    TBarMenus m;
    m.Bar = new QMenu(owner);
    m.Bar->setObjectName(QStringLiteral("pmMain"));
    m.pmAdd = AddItem(m.Bar, "pmAdd", QStringLiteral("&Add"), QKeySequence(Qt::CTRL | Qt::Key_A));
    m.Bar->addSeparator();
    m.pmsort = m.Bar->addMenu(QStringLiteral("&Sort"));
    m.pmsort->setObjectName(QStringLiteral("pmsort"));
    m.pmSortByClick = AddItem(m.pmsort, "pmSortByClick", QStringLiteral("by click"), QKeySequence(Qt::Key_F5));
    m.pmSortByTime = AddItem(m.pmsort, "pmSortByTime", QStringLiteral("by time"), QKeySequence(Qt::Key_F6));
    m.pmOption = AddItem(m.Bar, "pmOption", QStringLiteral("&Option"), QKeySequence(Qt::ALT | Qt::Key_O));
    m.pmTaskList = AddItem(m.Bar, "pmTaskList", QStringLiteral("Task List"), QKeySequence(Qt::ALT | Qt::Key_L));
    m.Bar->addSeparator();
    m.pmLanguage = m.Bar->addMenu(QStringLiteral("Language"));
    m.pmLanguage->setObjectName(QStringLiteral("pmLanguage"));
    m.Bar->addSeparator();
    m.pmStatics = AddItem(m.Bar, "pmStatics", QStringLiteral("Statics"), QKeySequence(Qt::ALT | Qt::Key_S));
    m.pmHelp = AddItem(m.Bar, "pmHelp", QStringLiteral("&Help"), QKeySequence(Qt::Key_F1));
    m.pmAbout = AddItem(m.Bar, "pmAbout", QStringLiteral("About"), QKeySequence(Qt::ALT | Qt::Key_A));
    m.Bar->addSeparator();
    m.pmExit = AddItem(m.Bar, "pmExit", QStringLiteral("Exit"));
    MarkWired(m.pmExit);
    MarkWired(m.pmHelp);
    // The options controller connects these two.
    MarkWired(m.pmOption);
    MarkWired(m.pmAbout);

    // Items that exist only to be shown as such.
    m.pmSortByTime->setEnabled(false);
    m.pmTaskList->setVisible(false);
    m.pmStatics->setVisible(false);

    m.Button = new QMenu(owner);
    m.Button->setObjectName(QStringLiteral("pmButton"));
    m.pmBtnAdd = AddItem(m.Button, "pmBtnAdd", QStringLiteral("&Add"));
    m.pmBtnEdit = AddItem(m.Button, "pmBtnEdit", QStringLiteral("&Edit"));
    m.pmBtnDel = AddItem(m.Button, "pmBtnDel", QStringLiteral("&Delete"));
    m.Button->addSeparator();
    m.pmBtnProperty = AddItem(m.Button, "pmBtnProperty", QStringLiteral("&Property"));

    for (QAction* item : {m.pmAdd, m.pmSortByClick, m.pmBtnAdd, m.pmBtnEdit, m.pmBtnDel, m.pmBtnProperty})
        item->setEnabled(false);
    owner->addActions(
        {m.pmAdd, m.pmSortByClick, m.pmSortByTime, m.pmOption, m.pmTaskList, m.pmStatics, m.pmHelp, m.pmAbout});
    return m;
}

void MarkWired(QAction* item)
{
    item->setProperty(kWired, true);
    item->setEnabled(true);
}

bool IsWired(const QAction* item)
{
    return item->property(kWired).toBool();
}

void EnableWritingItems(const TBarMenus& menus, bool readOnly)
{
    for (QAction* item : menus.WritingItems())
        item->setEnabled(!readOnly && IsWired(item));
}

void ApplyLanguage(const TBarMenus& m, const TLanguage& language)
{
    SetText(m.pmAdd, language, "main", "Add");
    SetText(m.pmBtnAdd, language, "main", "Add");
    m.pmsort->setTitle(Qs(language.Text("main", "Sort")));
    SetText(m.pmOption, language, "main", "Option");
    SetText(m.pmTaskList, language, "main", "TaskList");
    SetText(m.pmStatics, language, "main", "Statics");
    SetText(m.pmHelp, language, "main", "Help");
    SetText(m.pmAbout, language, "main", "About");
    SetText(m.pmExit, language, "main", "Exit");
    SetText(m.pmBtnEdit, language, "main", "Edit");
    SetText(m.pmBtnDel, language, "main", "Delete");
    SetText(m.pmBtnProperty, language, "main", "Property");
}

} // namespace tramble
