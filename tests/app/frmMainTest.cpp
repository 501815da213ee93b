#include "app/frmMain.h"
#include "app/MainImage.h"
#include "launcher/ui/RainbowStrip.h"
#include "platform/Instance.h"
#include "ui/Prompts.h"

#include "support/NoClockSync.h"
#include "support/NoRootOverride.h"
#include "support/QtWait.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QScreen>
#include <QToolButton>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

using test::WaitFor;

void RemoveWriteBits(const fs::path& path)
{
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

struct Message {
    QString Text;
    QString Caption;
};

class BarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageHook([this](QMessageBox::Icon, const QString& text, const QString& caption) {
            m_messages.push_back({text, caption});
            return QMessageBox::Ok;
        });
    }
    void TearDown() override { SetMessageHook({}); }

    TBarEnvironment Env() const
    {
        TBarEnvironment env;
        env.SettingsBase = m_dir.file("tramble");
        env.AppDir = m_dir.path().string();
        env.SystemLanguage = "English";
        env.LanguageFolders = {m_dir.path().string()};
        return env;
    }

    std::unique_ptr<TfrmMain> Start(TBarEnvironment env, std::optional<platform::TInstanceClaim> claim = {})
    {
        test::SwitchOffClockSync(env.SettingsBase + ".ini");
        auto bar = std::make_unique<TfrmMain>(std::move(env), std::move(claim));
        bar->show();
        return bar;
    }
    std::unique_ptr<TfrmMain> Start() { return Start(Env()); }

    std::string Ini() const { return m_dir.file("tramble.ini"); }

    QAction* Item(TfrmMain& bar, const char* name) { return bar.findChild<QAction*>(QLatin1String(name)); }

    QRect Desk() const { return QGuiApplication::primaryScreen()->virtualGeometry(); }

    test::TempDir m_dir;
    std::vector<Message> m_messages;
};

TEST_F(BarTest, FirstStartCountsTheRunAndLaysOutThreeCells)
{
    auto bar = Start();
    EXPECT_EQ(bar->windowTitle(), "Kuv 2.0");
    EXPECT_TRUE(bar->windowFlags() & Qt::Tool);
    EXPECT_TRUE(bar->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(m_messages.empty());
    TFastIniFile onDisk(Ini());
    EXPECT_EQ(onDisk.ReadNumber("last", "run", 0), 1);

    auto* cmd = bar->findChild<QComboBox*>("cbbCmd");
    ASSERT_TRUE(cmd);
    ASSERT_TRUE(WaitFor([&] { return bar->width() == 3 * 36; }));
    EXPECT_EQ(bar->height(), 36 + cmd->height());
    EXPECT_TRUE(cmd->isVisible());
    EXPECT_EQ(cmd->maxVisibleItems(), 12);
    EXPECT_EQ(bar->findChild<QWidget*>("tbMain")->geometry(), QRect(0, 0, 36, 36));
    EXPECT_EQ(bar->findChild<QWidget*>("tbNetBookmark")->geometry(), QRect(36, 0, 36, 36));
    auto* group = bar->findChild<QWidget*>("btnGrp");
    EXPECT_EQ(group->width(), cmd->height() - 1);
    EXPECT_EQ(group->x(), cmd->width());
}

TEST_F(BarTest, StoredPlaceHoldsAndTheStoredWidthGivesTheColumns)
{
    WriteFileBytes(Ini(), "[last]\nLeft=40\nTop=50\nWidth=300\nHeight=80\n");
    auto bar = Start();
    // 300 pixels hold 8 cells: the bar is laid out before it first shows.
    EXPECT_EQ(bar->width(), 8 * 36);
    EXPECT_EQ(bar->pos(), QPoint(40, 50));
    // The layout that follows, with the frame known, keeps both.
    ASSERT_TRUE(WaitFor([&] { return !bar->LayoutPending(); }));
    EXPECT_EQ(bar->width(), 8 * 36);
    EXPECT_EQ(bar->pos(), QPoint(40, 50));
}

TEST_F(BarTest, LayoutPlacesAddedButtonsInReadingOrder)
{
    auto bar = Start();
    ASSERT_TRUE(WaitFor([&] { return bar->width() == 108; }));
    for (int i = 0; i < 5; ++i)
        bar->EntryButtons().push_back(new QToolButton(bar.get()));
    bar->RequestLayout();
    ASSERT_TRUE(WaitFor([&] { return bar->EntryButtons()[4]->isVisible(); }));
    const QPoint expected[] = {{72, 0}, {0, 36}, {36, 36}, {72, 36}, {0, 72}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(bar->EntryButtons()[i]->pos(), expected[i]) << i;
    auto* cmd = bar->findChild<QComboBox*>("cbbCmd");
    EXPECT_EQ(bar->size(), QSize(108, 3 * 36 + cmd->height()));
    EXPECT_EQ(cmd->y(), 108);

    TFastIniFile stored(Ini());
    stored.Reset();
    bar->Settings().Flush();
    TFastIniFile onDisk(Ini());
    EXPECT_EQ(onDisk.ReadNumber("last", "Width", 0), 108);
    EXPECT_EQ(onDisk.ReadNumber("last", "Height", 0), bar->height());
}

TEST_F(BarTest, MenusHoldEveryItemWithItsKey)
{
    auto bar = Start();
    struct Row {
        const char* Name;
        const char* Text;
        QKeySequence Key;
        bool Visible;
    } rows[] = {
        {"pmAdd", "Add", QKeySequence("Ctrl+A"), true},
        {"pmSortByClick", "by click", QKeySequence("F5"), true},
        {"pmSortByTime", "by time", QKeySequence("F6"), true},
        {"pmOption", "Option", QKeySequence("Alt+O"), true},
        {"pmTaskList", "Task List", QKeySequence("Alt+L"), false},
        {"pmStatics", "Statics", QKeySequence("Alt+S"), false},
        {"pmHelp", "Help", QKeySequence("F1"), true},
        {"pmAbout", "About", QKeySequence("Alt+A"), true},
        {"pmExit", "Exit", QKeySequence(), true},
        {"pmBtnAdd", "Add", QKeySequence(), true},
        {"pmBtnEdit", "Edit", QKeySequence(), true},
        {"pmBtnDel", "Delete", QKeySequence(), true},
        {"pmBtnProperty", "Property", QKeySequence(), true},
    };
    for (const Row& row : rows) {
        QAction* item = Item(*bar, row.Name);
        ASSERT_TRUE(item) << row.Name;
        EXPECT_EQ(item->text(), row.Text) << row.Name;
        EXPECT_EQ(item->shortcut(), row.Key) << row.Name;
        EXPECT_EQ(item->isVisible(), row.Visible) << row.Name;
        // An item is usable exactly when its work is connected.
        EXPECT_EQ(item->isEnabled(), row.Visible && IsWired(item)) << row.Name;
    }
    EXPECT_TRUE(IsWired(Item(*bar, "pmExit")));
    EXPECT_FALSE(Item(*bar, "pmSortByTime")->isEnabled());
    const TBarMenus& menus = bar->Menus();
    QStringList barItems;
    for (QAction* item : menus.Bar->actions())
        barItems << (item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(barItems, QStringList({"Add", "-", "Sort", "Option", "Task List", "-", "Language", "-", "Statics", "Help",
                                     "About", "-", "Exit"}));
    EXPECT_EQ(menus.Button->actions().size(), 5);
    EXPECT_TRUE(menus.Button->actions()[3]->isSeparator());
}

TEST_F(BarTest, CloseBoxCollapsesIntoTheStripAndOnlyExitEnds)
{
    auto bar = Start();
    ASSERT_TRUE(WaitFor([&] { return bar->width() == 108; }));
    EXPECT_FALSE(bar->close());
    ASSERT_TRUE(WaitFor([&] { return bar->InRainbowMode(); }));
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(bar->Strip()->isVisible());

    bar->LeaveRainbowMode();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(bar->Strip()->isVisible());
    EXPECT_EQ(bar->width(), 108);

    bar->move(120, 90);
    bar->findChild<QComboBox*>("cbbCmd")->addItem("1+2");
    Item(*bar, "pmExit")->trigger();
    EXPECT_FALSE(bar->isVisible());
    TFastIniFile onDisk(Ini());
    EXPECT_EQ(onDisk.ReadNumber("last", "run", 0), 1);
    EXPECT_EQ(onDisk.ReadNumber("last", "Left", -1), 120);
    EXPECT_EQ(onDisk.ReadNumber("last", "Top", -1), 90);
    EXPECT_EQ(onDisk.ReadNumber("Command", "Count", 0), 1);
    EXPECT_EQ(onDisk.ReadText("Command", "cmd1", ""), "1+2");
}

TEST_F(BarTest, StripGoesToTheNearestEdge)
{
    WriteFileBytes(Ini(), "[cfg]\nRainBowWidth=120\nRainBowHeight=4\n");
    auto bar = Start();
    ASSERT_TRUE(WaitFor([&] { return bar->width() == 108; }));
    const QRect desk = Desk();
    struct Row {
        QPoint At;
        QRect Strip;
    } rows[] = {
        {{desk.left() + 5, desk.top() + 200}, {desk.left(), desk.top() + 200, 4, 120}},
        {{desk.left() + 200, desk.top() + 3}, {desk.left() + 200, desk.top(), 120, 4}},
        {{desk.right() + 1 - bar->frameGeometry().width() - 2, desk.top() + 200},
         {desk.right() + 1 - 4, desk.top() + 200, 4, 120}},
        {{desk.left() + 200, desk.bottom() + 1 - bar->frameGeometry().height() - 1},
         {desk.left() + 200, desk.bottom() + 1 - 4, 120, 4}},
    };
    for (const Row& row : rows) {
        bar->move(row.At);
        bar->EnterRainbowMode();
        ASSERT_TRUE(bar->InRainbowMode());
        EXPECT_EQ(bar->Strip()->geometry(), row.Strip) << row.At.x() << "," << row.At.y();
        bar->LeaveRainbowMode();
        QApplication::processEvents();
    }
}

TEST_F(BarTest, MinimisingCollapsesIntoTheStrip)
{
    auto bar = Start();
    ASSERT_TRUE(WaitFor([&] { return bar->width() == 108; }));
    bar->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(WaitFor([&] { return bar->InRainbowMode(); }));
    EXPECT_TRUE(bar->Strip()->testAttribute(Qt::WA_TransparentForMouseEvents) ||
                (bar->Strip()->windowFlags() & Qt::WindowTransparentForInput));
    EXPECT_EQ(bar->Strip()->size(), QSize(3, 150)); // nearest the left edge by default
}

// A settings file that cannot be written or cannot even be read puts the bar
// into read-only mode: warned, marked in the caption, no writing menus, and
// the file left exactly as it was. Root is held to the permissions too.
TEST_F(BarTest, ReadOnlyFileWarnsAndWritesNothing)
{
    struct TCase {
        const char* Name;
        fs::perms Removed;
    };
    const fs::perms noWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const fs::perms noRead = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    for (const TCase& c : {TCase{"not writable", noWrite}, TCase{"not readable", noRead}}) {
        test::TempDir dir;
        m_messages.clear();
        const std::string ini = dir.file("tramble.ini");
        const std::string original = "[last]\nrun=7\nLeft=10\nTop=10\n[temp]\nx=1\n";
        WriteFileBytes(ini, original);
        fs::permissions(ini, c.Removed, fs::perm_options::remove);
        TBarEnvironment env = Env();
        env.SettingsBase = dir.file("tramble");
        {
            test::NoRootOverride asUser;
            auto bar = Start(env);
            ASSERT_EQ(m_messages.size(), 1u) << c.Name;
            EXPECT_EQ(m_messages[0].Text, "Software will run in readonly mode!   \r\n");
            EXPECT_EQ(m_messages[0].Caption, "Warning");
            EXPECT_TRUE(bar->Modes().ReadOnlyMode) << c.Name;
            EXPECT_TRUE(bar->windowTitle().endsWith(" Readonly")) << c.Name;
            EXPECT_FALSE(Item(*bar, "pmAdd")->isEnabled()) << c.Name;
            EXPECT_FALSE(Item(*bar, "pmOption")->isEnabled()) << c.Name;
            EXPECT_FALSE(Item(*bar, "pmBtnDel")->isEnabled()) << c.Name;
            EXPECT_FALSE(bar->acceptDrops()) << c.Name;
            EXPECT_TRUE(WaitFor([&] { return !bar->LayoutPending(); }));
            bar->move(300, 300);
            bar->ExitProgram();
        }
        fs::permissions(ini, fs::perms::owner_read, fs::perm_options::add);
        EXPECT_EQ(ReadFileBytes(ini), original) << c.Name;
        EXPECT_FALSE(fs::exists(dir.file("tramble.in0"))) << c.Name;
    }
}

// A writable file in a folder that takes no new file is used as usual: it is
// written in place, and only the backups (new files) are missing.
TEST_F(BarTest, WritableFileInALockedFolderIsUsedInPlace)
{
    test::TempDir dir;
    const std::string ini = dir.file("tramble.ini");
    WriteFileBytes(ini, "[last]\nrun=7\n");
    RemoveWriteBits(dir.path());
    TBarEnvironment env = Env();
    env.SettingsBase = dir.file("tramble");
    {
        auto bar = Start(env);
        EXPECT_TRUE(m_messages.empty());
        EXPECT_FALSE(bar->Modes().ReadOnlyMode);
        EXPECT_EQ(bar->windowTitle(), "Kuv 2.0");
        EXPECT_TRUE(Item(*bar, "pmAdd")->isEnabled());
        bar->ExitProgram();
    }
    fs::permissions(dir.path(), fs::perms::owner_all, fs::perm_options::add);
    TFastIniFile onDisk(ini);
    EXPECT_EQ(onDisk.ReadNumber("last", "run", 0), 8);
    EXPECT_TRUE(onDisk.HasKey("last", "Left"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(BarTest, ReadOnlyWarningCanBeSwitchedOff)
{
    WriteFileBytes(Ini(), "[cfg]\nshowReadonlyAlarm=0\n");
    RemoveWriteBits(Ini());
    auto bar = Start();
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(bar->windowTitle(), "Kuv 2.0 Readonly");
}

TEST_F(BarTest, PortableAndInstanceCaptions)
{
    test::TempDir locks;
    auto first = platform::ClaimInstance("/somewhere/tramble", locks.path());
    auto second = platform::ClaimInstance("/elsewhere/tramble", locks.path());
    ASSERT_TRUE(first && second);
    TBarEnvironment env = Env();
    env.PortableMode = true;
    auto bar = Start(env, std::move(second));
    EXPECT_EQ(bar->windowTitle(), "[1] Kuv 2.0 Portable");
    EXPECT_EQ(bar->Modes().Instance, 1);
    bar->ExitProgram();
    // Shut-down gave the number back.
    EXPECT_TRUE(platform::ClaimInstance("/third/tramble", locks.path()));
}

TEST(MainImage, LaterCopiesCarryTheirNumberInBlue)
{
    auto bluePixels = [](const QImage& image, const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                count += image.pixel(x, y) == qRgb(0, 0, 255);
        }
        return count;
    };
    const QImage first = MainImage(0).toImage();
    const QImage third = MainImage(3).toImage();
    ASSERT_EQ(first.size(), QSize(32, 32));
    ASSERT_EQ(third.size(), first.size());
    EXPECT_EQ(bluePixels(first, first.rect()), 0);
    // The number stands right of the middle, 8 pixels from the right edge.
    EXPECT_GT(bluePixels(third, QRect(12, 0, 12, 32)), 3);
    EXPECT_EQ(bluePixels(third, QRect(25, 0, 7, 32)), 0);
}

TEST_F(BarTest, LoadErrorLeavesAUsableBarAndLosesNothing)
{
    const std::string original = "[cfg]\nFont=Sans,9,[],clNoSuchColour,0,1\n[last]\nIPNet=eth1\nelapse=900\n"
                                 "Left=123\nTop=77\nWidth=333\nHeight=44\n[Command]\nCount=1\ncmd1=keep me\n";
    WriteFileBytes(Ini(), original);
    auto bar = Start();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->windowTitle(), "Kuv 2.0");
    EXPECT_FALSE(bar->Modes().Loading);
    EXPECT_TRUE(Item(*bar, "pmExit")->isEnabled());
    bar->ExitProgram();
    TFastIniFile onDisk(Ini());
    EXPECT_EQ(onDisk.ReadNumber("last", "run", 0), 1);
    EXPECT_EQ(onDisk.ReadText("last", "IPNet", ""), "eth1");
    EXPECT_EQ(onDisk.ReadNumber("last", "elapse", 0), 900);
    EXPECT_EQ(onDisk.ReadText("Command", "cmd1", ""), "keep me");
    // The place was never read, so it is not written either.
    for (const auto& [key, value] : {std::pair{"Left", 123}, {"Top", 77}, {"Width", 333}, {"Height", 44}})
        EXPECT_EQ(onDisk.ReadNumber("last", key, 0), value) << key;
}

TEST_F(BarTest, TitleBarSettingDecidesTheCaption)
{
    {
        auto bar = Start();
        EXPECT_TRUE(bar->windowFlags() & Qt::WindowTitleHint);
    }
    WriteFileBytes(Ini(), "[cfg]\nTitleBar=0\n");
    auto bar = Start();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(bar->windowFlags() & Qt::WindowTitleHint);
    EXPECT_TRUE(bar->windowFlags() & Qt::Tool);
    EXPECT_TRUE(bar->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(BarTest, StartupReadsHistoryAndRemovesScratchSection)
{
    WriteFileBytes(Ini(), "[temp]\nx=1\n[Command]\nCount=3\ncmd1=a\ncmd2=\ncmd3=b\n");
    auto bar = Start();
    auto* cmd = bar->findChild<QComboBox*>("cbbCmd");
    ASSERT_EQ(cmd->count(), 2);
    EXPECT_EQ(cmd->itemText(0), "a");
    EXPECT_EQ(cmd->itemText(1), "b");
    TFastIniFile onDisk(Ini());
    EXPECT_FALSE(onDisk.HasKey("temp", "x"));
}

TEST_F(BarTest, BackupsAreWrittenBeforeTheStoreIsCreated)
{
    WriteFileBytes(Ini(), "[last]\nrun=3\n");
    auto bar = Start();
    EXPECT_EQ(ReadFileBytes(m_dir.file("tramble.in0")), "[last]\nrun=3\n");
}

class LanguageMenuTest : public BarTest {
protected:
    QStringList Items(TfrmMain& bar)
    {
        QStringList names;
        for (QAction* item : bar.Menus().pmLanguage->actions())
            names << item->text() + (item->isChecked() ? "*" : "");
        return names;
    }
};

TEST_F(LanguageMenuTest, FurtherLanguageFilesBecomeRadioItems)
{
    WriteFileBytes(m_dir.file("Deutsch.lng"), "[MAIN]\nexit=Beenden\n");
    WriteFileBytes(m_dir.file("English.lng"), "[main]\nExit=Quit\n");
    auto bar = Start();
    EXPECT_EQ(Items(*bar), QStringList({"English*", QString::fromUtf8("Simplified Chinese(简体中文)"), "Deutsch"}));
    EXPECT_EQ(Item(*bar, "pmExit")->text(), "Quit"); // English.lng overrides English

    bar->Menus().pmLanguage->actions()[2]->trigger();
    EXPECT_EQ(Items(*bar), QStringList({"English", QString::fromUtf8("Simplified Chinese(简体中文)"), "Deutsch*"}));
    EXPECT_EQ(Item(*bar, "pmExit")->text(), "Beenden");
    EXPECT_EQ(Item(*bar, "pmAbout")->text(), "About"); // missing keys fall back to English
    TFastIniFile onDisk(Ini());
    EXPECT_EQ(onDisk.ReadText("cfg", "Language", ""), "Deutsch");
}

TEST_F(LanguageMenuTest, StoredChoiceIsCheckedWithoutRegardToCase)
{
    WriteFileBytes(Ini(), "[cfg]\nLanguage=simplified chinese(简体中文)\n");
    auto bar = Start();
    EXPECT_EQ(Items(*bar), QStringList({"English", QString::fromUtf8("Simplified Chinese(简体中文)*")}));
    EXPECT_EQ(Item(*bar, "pmExit")->text(), QString::fromUtf8("退出"));
    EXPECT_EQ(Item(*bar, "pmAdd")->text(), QString::fromUtf8("添加"));
}

TEST_F(LanguageMenuTest, SystemDefaultAndUnknownNames)
{
    TBarEnvironment env = Env();
    env.SystemLanguage = "Simplified Chinese(简体中文)";
    {
        auto bar = Start(env);
        EXPECT_EQ(Items(*bar), QStringList({"English", QString::fromUtf8("Simplified Chinese(简体中文)*")}));
    }
    WriteFileBytes(Ini(), "[cfg]\nLanguage=Klingon\n");
    auto bar = Start(env);
    EXPECT_EQ(Items(*bar), QStringList({"English", QString::fromUtf8("Simplified Chinese(简体中文)")}));
    EXPECT_EQ(Item(*bar, "pmExit")->text(), "Exit");
}

TEST_F(LanguageMenuTest, ReadOnlyKeepsTheChoiceForThisRunOnly)
{
    WriteFileBytes(Ini(), "[cfg]\nshowReadonlyAlarm=0\n");
    RemoveWriteBits(Ini());
    auto bar = Start();
    bar->Menus().pmLanguage->actions()[1]->trigger();
    EXPECT_EQ(Item(*bar, "pmExit")->text(), QString::fromUtf8("退出"));
    EXPECT_EQ(ReadFileBytes(Ini()), "[cfg]\nshowReadonlyAlarm=0\n");
}

} // namespace
} // namespace tramble
