// The bookmark button's menus and commands in a bar: loading at start-up,
// the lazily filled group menus, the add commands with their dialogs, the
// read-only rule, the language, and the opener receiving the address.
#include "bookmarks/ui/NetBookmarks.h"

#include "bookmarks/BookmarkStore.h"
#include "bookmarks/ui/NetBookmarkMenu.h"
#include "bookmarks/ui/frmAddGroup.h"
#include "bookmarks/ui/frmAddUrl.h"
#include "support/ArgvDump.h"
#include "support/QtWait.h"
#include "support/TestBarLink.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using Groups = std::vector<TBookmarkGroup>;

const char* const kTwoGroups = "[NetBookmark]\nGroupCount=2\nGroup1=News & Views\nGroup1ItemCount=2\n"
                               "Group1Item1=Paper\nGroup1Url1=https://paper.example/\nGroup1Item2=Odd one\n"
                               "Group1Url2=\"https://h.example/a b;c='d' x\"\nGroup2=Work\nGroup2ItemCount=0\n";

class BookmarkController : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetPromptHook(nullptr);
        SetMessageHook(nullptr);
    }

    void Start(const std::string& settings)
    {
        m_bar = std::make_unique<test::TestBarLink>(settings);
        m_button = new QToolButton(m_bar->BarWindow());
        m_bookmarks = std::make_unique<TNetBookmarks>(*m_bar, m_button);
        m_bar->StartupLoad().RunUntilError();
    }

    TBookmarkModel Stored() const
    {
        TFastIniFile ini(m_bar->Ini());
        return ReadNetBookmarks(ini);
    }

    // Answers the next prompts: the add dialogs get the fields given.
    void AnswerAddGroup(const QString& name)
    {
        SetPromptHook([name](QDialog& dialog) {
            auto* form = qobject_cast<TfrmAddGroup*>(&dialog);
            ASSERT_TRUE(form);
            form->edtGroup->setText(name);
            form->btnOk->click();
        });
    }

    void CollectMessages()
    {
        SetMessageHook([this](QMessageBox::Icon, const QString& text, const QString&) {
            m_messages.push_back(text);
            return QMessageBox::Ok;
        });
    }

    std::unique_ptr<test::TestBarLink> m_bar;
    QToolButton* m_button = nullptr;
    std::unique_ptr<TNetBookmarks> m_bookmarks;
    std::vector<QString> m_messages;
};

TEST_F(BookmarkController, GroupMenusAreFilledWhenTheyOpen)
{
    Start(kTwoGroups);
    TNetBookmarkMenu* menu = m_bookmarks->BookmarkMenu();
    EXPECT_EQ(menu->objectName(), "pmNetBookmark");
    const QList<QAction*> groups = menu->actions();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0]->text(), "News && Views");
    EXPECT_EQ(groups[1]->text(), "Work");
    QMenu* news = groups[0]->menu();
    ASSERT_TRUE(news);
    EXPECT_TRUE(news->isEmpty());
    emit news->aboutToShow();
    emit news->aboutToShow();
    ASSERT_EQ(news->actions().size(), 2);
    EXPECT_EQ(news->actions()[0]->text(), "Paper");
    EXPECT_EQ(news->actions()[0]->toolTip(), "https://paper.example/");
    EXPECT_EQ(news->actions()[1]->toolTip(), "https://h.example/a b;c='d' x");
    EXPECT_FALSE(news->actions()[1]->icon().isNull());
    EXPECT_FALSE(groups[0]->icon().isNull());
}

TEST_F(BookmarkController, ChosenBookmarkGoesToTheOpenerAsOneArgument)
{
    Start(kTwoGroups);
    const fs::path tools = m_bar->Dir().path() / "tools";
    fs::create_directories(tools);
    fs::copy_file(TRAMBLE_ARGV_DUMP, tools / "xdg-open");
    const std::string dump = m_bar->Dir().file("dump");
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(tools.string()) + ":" + oldPath);
    qputenv("TRAMBLE_DUMP", QByteArray::fromStdString(dump));

    QMenu* news = m_bookmarks->BookmarkMenu()->actions()[0]->menu();
    emit news->aboutToShow();
    news->actions()[1]->trigger();
    const std::optional<test::ArgvDump> seen = test::WaitForArgvDump(dump);
    qputenv("PATH", oldPath);
    qunsetenv("TRAMBLE_DUMP");
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->Argv, (std::vector<std::string>{"xdg-open", "https://h.example/a b;c='d' x"}));
    EXPECT_EQ(m_bar->Holds, 0);
}

TEST_F(BookmarkController, NothingStoredGivesTheDefaultGroupWrittenAtOnce)
{
    Start("[cfg]\nx=1\n");
    const Groups expected{{"Undefined", {{"Kuv Homepage", std::string(kHomePageAddress)}}}};
    EXPECT_EQ(m_bookmarks->Model().Groups(), expected);
    EXPECT_EQ(Stored().Groups(), expected);
    for (QAction* item : m_bookmarks->ManagerMenu()->actions())
        EXPECT_TRUE(item->isEnabled() || item->isSeparator()) << item->text().toStdString();
}

TEST_F(BookmarkController, ReadOnlyDisablesTheCommandsButNotTheBookmarks)
{
    m_bar = std::make_unique<test::TestBarLink>("[cfg]\nx=1\n");
    m_bar->m_modes.ReadOnlyMode = true;
    m_button = new QToolButton(m_bar->BarWindow());
    m_bookmarks = std::make_unique<TNetBookmarks>(*m_bar, m_button);
    m_bar->StartupLoad().RunUntilError();
    EXPECT_FALSE(m_bookmarks->pmnetBookmarkAddUrl->isEnabled());
    EXPECT_FALSE(m_bookmarks->pmNetBookmarkAddGrounp->isEnabled());
    EXPECT_FALSE(m_bookmarks->pmNetBookmarkManage->isEnabled());
    EXPECT_EQ(m_bookmarks->BookmarkMenu()->actions().size(), 1);
    EXPECT_TRUE(m_bookmarks->BookmarkMenu()->actions()[0]->isEnabled());
    EXPECT_EQ(m_bar->Stored(), "[cfg]\nx=1\n");
}

TEST_F(BookmarkController, CommandsFollowTheLanguage)
{
    Start(kTwoGroups);
    const QList<QAction*> items = m_bookmarks->ManagerMenu()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_TRUE(items[2]->isSeparator());
    m_bar->ChooseLanguage(kLangEnglish);
    EXPECT_EQ(items[0]->text(), "Add url");
    EXPECT_EQ(items[1]->text(), "Add group");
    EXPECT_EQ(items[3]->text(), "Net bookmark manage");
    m_bar->ChooseLanguage(kLangSimplifiedChinese);
    EXPECT_EQ(items[0]->text(), QString::fromUtf8("添加网址"));
    EXPECT_EQ(items[1]->text(), QString::fromUtf8("添加分组"));
}

TEST_F(BookmarkController, AddGroupRefusesADuplicateAndSavesANewOne)
{
    Start(kTwoGroups);
    const std::string before = m_bar->Stored();
    CollectMessages();
    AnswerAddGroup("WORK");
    m_bookmarks->pmNetBookmarkAddGrounpClick();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Group have been exist     \r\n");
    EXPECT_EQ(m_bar->Stored(), before);
    EXPECT_EQ(m_bar->Holds, 0);

    AnswerAddGroup("  Sports; \"live\"");
    m_bookmarks->pmNetBookmarkAddGrounpClick();
    EXPECT_EQ(m_messages.size(), 1u);
    ASSERT_EQ(m_bookmarks->Model().GroupCount(), 3u);
    EXPECT_EQ(m_bookmarks->Model().Group(2), (TBookmarkGroup{"  Sports; \"live\"", {}}));
    EXPECT_EQ(Stored(), m_bookmarks->Model());
    EXPECT_EQ(m_bookmarks->BookmarkMenu()->actions().size(), 3);
}

TEST_F(BookmarkController, AddUrlRemembersTheGroupAndNeedsAnAddress)
{
    Start(kTwoGroups);
    int preselected = -2;
    auto answer = [&](const QString& description, const QString& url, int group) {
        SetPromptHook([&, description, url, group](QDialog& dialog) {
            auto* form = qobject_cast<TfrmAddUrl*>(&dialog);
            ASSERT_TRUE(form);
            preselected = form->cbbGroup->currentIndex();
            EXPECT_EQ(form->cbbGroup->count(), 2);
            form->edtDescription->setText(description);
            form->edtUrl->setText(url);
            form->cbbGroup->setCurrentIndex(group);
            form->btnOk->click();
        });
    };
    answer("", "https://x.example/p;jsessionid=1", 1);
    m_bookmarks->pmnetBookmarkAddUrlClick();
    EXPECT_EQ(preselected, 0);
    const std::vector<TBookmark> added{{"https://x.example/p;jsessionid=1", "https://x.example/p;jsessionid=1"}};
    EXPECT_EQ(m_bookmarks->Model().Group(1).Items, added);
    EXPECT_EQ(Stored(), m_bookmarks->Model());

    const TBookmarkModel before = m_bookmarks->Model();
    answer("No address", "", 0);
    m_bookmarks->pmnetBookmarkAddUrlClick();
    EXPECT_EQ(preselected, 1) << "the group chosen last";
    EXPECT_EQ(m_bookmarks->Model(), before);

    CollectMessages();
    answer("Nowhere", "https://n.example/", -1);
    m_bookmarks->pmnetBookmarkAddUrlClick();
    EXPECT_EQ(m_bookmarks->Model(), before);
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_bar->Holds, 0);
}

} // namespace
} // namespace tramble
