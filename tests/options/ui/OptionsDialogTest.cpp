// The options dialog and the about window in a real bar, offscreen: opened
// from the bar menu, filled in by a prompt hook, confirmed or cancelled.
#include "about/ui/frmAbout.h"
#include "app/frmMain.h"
#include "options/ui/ColorShape.h"
#include "options/ui/frmOption.h"
#include "shell/ShortcutLink.h"
#include "ui/Prompts.h"

#include "support/PrivateBus.h"
#include "support/QtWait.h"
#include "support/ShortcutPortal.h"
#include "support/TempDir.h"
#include "support/TestBar.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

#include <cstdlib>
#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WaitFor;
using test::WriteFileBytes;

// No clock sync and a weather host on loopback where nothing listens, so
// that nothing a test confirms reaches outside the machine.
const std::string kQuiet = "[cfg]\nSyncTime=0\nWeatherHost=127.0.0.1:9\nshowBattery=0\nRBCC1=255\nRBCC2=65280\n";

class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("XDG_CONFIG_HOME", m_dir.file("config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", m_dir.file("share").c_str(), 1);
        SetMessageHook([this](QMessageBox::Icon, const QString& text, const QString&) {
            m_messages << text;
            return QMessageBox::Ok;
        });
    }
    void TearDown() override
    {
        SetPromptHook({});
        SetMessageHook({});
    }

    std::unique_ptr<TfrmMain> Start(const std::string& ini = kQuiet)
    {
        if (!fs::exists(Ini()))
            WriteFileBytes(Ini(), ini);
        auto bar = test::ShowBar(test::BarEnvironment(m_dir));
        return bar;
    }

    std::string Ini() const { return m_dir.file("tramble.ini"); }

    // Opens the options from the bar menu; `fill` sees the dialog once it is
    // shown and closes it. Whether the dialog was shown.
    bool OpenOptions(TfrmMain& bar, const std::function<void(TfrmOption&)>& fill)
    {
        bool shown = false;
        SetPromptHook([&](QDialog& dialog) {
            auto* options = qobject_cast<TfrmOption*>(&dialog);
            ASSERT_TRUE(options);
            shown = true;
            fill(*options);
            if (options->isVisible())
                options->reject();
        });
        bar.Menus().pmOption->trigger();
        SetPromptHook({});
        return shown;
    }

    test::TempDir m_dir;
    QStringList m_messages;
};

// An environment variable set for one scope, whatever ends it.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

struct SizeRow {
    const char* Width;
    const char* Height;
    int StoredWidth;
    int StoredHeight;
};

TEST_F(OptionsDialogTest, StripSizesAreForcedIntoRangeOnOk)
{
    const SizeRow rows[] = {{"20", "0", 36, 1}, {"500", "15", 280, 12}, {"90", "7", 90, 7}, {"-1", "65536", 280, 1}};
    auto bar = Start();
    for (const SizeRow& row : rows) {
        ASSERT_TRUE(OpenOptions(*bar, [&](TfrmOption& d) {
            d.edtRainBowWidth->setText(row.Width);
            d.edtRainBowHeight->setText(row.Height);
            d.btnOk->click();
        }));
        EXPECT_EQ(bar->Config().RainBowWidth, row.StoredWidth) << row.Width;
        EXPECT_EQ(bar->Config().RainBowHeight, row.StoredHeight) << row.Height;
        TFastIniFile onDisk(Ini());
        EXPECT_EQ(onDisk.ReadNumber("cfg", "RainBowWidth", 0), row.StoredWidth) << row.Width;
        EXPECT_EQ(onDisk.ReadNumber("cfg", "RainBowHeight", 0), row.StoredHeight) << row.Height;
    }
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(OptionsDialogTest, AWidthThatIsNoNumberKeepsTheDialogOpenAndChangesNothing)
{
    auto bar = Start();
    const std::string before = ReadFileBytes(Ini());
    bool stayedOpen = false;
    ASSERT_TRUE(OpenOptions(*bar, [&](TfrmOption& d) {
        d.chkShowCPUUsage->setChecked(false);
        d.edtRainBowWidth->setText("wide");
        d.btnOk->click();
        stayedOpen = d.isVisible() && d.pgcOption->currentIndex() == TfrmOption::tsRainbowBar;
    }));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(bar->Config().ShowCPUusage);
    EXPECT_EQ(ReadFileBytes(Ini()), before);
}

TEST_F(OptionsDialogTest, DefaultThenCancelChangesNothing)
{
    auto bar = Start(kQuiet + "RainBowWidth=77\nHideSpeed=11\nTitleBar=0\nshowCPUusage=0\n");
    const std::string before = ReadFileBytes(Ini());
    const TConfig config = bar->Config();
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        d.btnDefaultClick();
        EXPECT_EQ(d.edtRainBowWidth->text(), "150");
        EXPECT_EQ(d.MinSpeed->value(), 5);
        EXPECT_TRUE(d.chkTitleBar->isChecked());
        d.btnCancel->click();
    }));
    EXPECT_EQ(ReadFileBytes(Ini()), before);
    EXPECT_EQ(bar->Config().RainBowWidth, config.RainBowWidth);
    EXPECT_EQ(bar->Config().HideSpeed, config.HideSpeed);
    EXPECT_FALSE(bar->Config().TitleBar);
    EXPECT_FALSE(bar->Config().ShowCPUusage);
}

TEST_F(OptionsDialogTest, DefaultThenOkTurnsWeatherOnAndLeavesTheBattery)
{
    auto bar = Start();
    ASSERT_FALSE(bar->Config().ShowWeather);
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        d.btnDefaultClick();
        d.btnOk->click();
    }));
    EXPECT_TRUE(bar->Config().ShowWeather);
    EXPECT_FALSE(bar->Config().ShowBattery);
    EXPECT_TRUE(bar->Config().AutoSortByCount);
    TFastIniFile onDisk(Ini());
    EXPECT_TRUE(onDisk.ReadFlag("cfg", "showWeather", false));
    EXPECT_FALSE(onDisk.ReadFlag("cfg", "showBattery", true));
}

TEST_F(OptionsDialogTest, PresetFourTurnsUserColoursOffAndKeepsTheColourBoxes)
{
    auto bar = Start(kQuiet + "UserColor=1\n");
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        d.shpRB1->SetColour(0x123456);
        d.Button[3]->click();
        EXPECT_FALSE(d.chkm6->isChecked());
        EXPECT_EQ(d.shpRB1->Colour(), 0x123456);
        EXPECT_EQ(d.shpRB2->Colour(), 65280);
        EXPECT_EQ(d.edtRainBowWidth->text(), "120");
        EXPECT_EQ(d.RainbowSpeed->value(), -1);
        EXPECT_TRUE(d.rbm[2]->isChecked());
        d.Button[0]->click();
        EXPECT_TRUE(d.chkm6->isChecked());
        EXPECT_EQ(d.shpRB1->Colour(), 0x0080FF);
        d.btnOk->click();
    }));
    EXPECT_TRUE(bar->Config().UserColor);
    EXPECT_EQ(bar->Config().RBCC1, 0x0080FF);
    EXPECT_EQ(bar->Config().RBCC2, 0);
    EXPECT_EQ(bar->Config().RainBowHeight, 4);
}

TEST_F(OptionsDialogTest, TheNextOpeningStartsOnThePageShownLastAndThePreviewRunsOnlyThere)
{
    auto bar = Start();
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        EXPECT_EQ(d.pgcOption->currentIndex(), TfrmOption::tsSystem);
        EXPECT_FALSE(d.tmrPreview.isActive());
        EXPECT_FALSE(d.pgcOption->isTabVisible(TfrmOption::tsAlarm));
        d.pgcOption->setCurrentIndex(TfrmOption::tsRainbowBar);
        EXPECT_TRUE(d.tmrPreview.isActive());
        EXPECT_TRUE(test::WaitFor([&] { return !d.Preview()[0].Frame.Pixels.empty(); }));
        d.btnCancel->click();
        EXPECT_FALSE(d.tmrPreview.isActive());
    }));
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        EXPECT_EQ(d.pgcOption->currentIndex(), TfrmOption::tsRainbowBar);
        EXPECT_TRUE(d.tmrPreview.isActive());
        d.pgcOption->setCurrentIndex(TfrmOption::tsWeather);
        EXPECT_FALSE(d.tmrPreview.isActive());
        d.btnOk->click();
    }));
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        EXPECT_EQ(d.pgcOption->currentIndex(), TfrmOption::tsWeather);
        EXPECT_EQ(d.lbAccu->text().contains("Open-Meteo"), true);
        d.btnCancel->click();
    }));
}

TEST_F(OptionsDialogTest, OkAppliesEachGroupToTheRunningBarAndWritesIt)
{
    auto bar = Start(kQuiet + "[citylist]\ncount=2\ncityname1=Wuhan / Hubei\ncitycode1=W1\n"
                              "cityname2=Berlin / Berlin\ncitycode2=B1\n");
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        d.chkTitleBar->setChecked(false);
        d.chkAutoSortByCount->setChecked(true);
        d.cbbNTP->setEditText("127.0.0.1:9");
        d.rbUnitNonMetric->setChecked(true);
        d.MinSpeed->setValue(9);
        d.chkShowCPUUsage->setChecked(false);
        d.chkShowFreeMem->setChecked(false);
        d.shpTrayFontColor->SetColour(0x0000FF);
        d.RainbowSpeed->setValue(-6);
        d.rbm[4]->setChecked(true);
        d.chkAlarm[4]->setChecked(true);
        EXPECT_EQ(d.cbbCityName->itemText(0), "Berlin / Berlin");
        d.cbbCityCode->setCurrentIndex(1);
        d.btnOk->click();
    }));
    const TConfig& cfg = bar->Config();
    EXPECT_FALSE(cfg.TitleBar);
    EXPECT_FALSE(bar->windowFlags() & Qt::WindowTitleHint);
    EXPECT_TRUE(cfg.AutoSortByCount);
    EXPECT_EQ(cfg.NTPServer, "127.0.0.1:9");
    EXPECT_FALSE(cfg.Metric);
    EXPECT_EQ(cfg.HideSpeed, 9);
    EXPECT_FALSE(cfg.ShowCPUusage);
    EXPECT_EQ(cfg.TrayColor, 0x0000FF);
    EXPECT_EQ(cfg.RainBowSpeed, -6);
    EXPECT_EQ(cfg.RainbowStyle, 4);
    EXPECT_TRUE(cfg.AlarmOnlineTime);
    EXPECT_EQ(cfg.CityCode, "W1");
    EXPECT_EQ(cfg.CityName, "Wuhan / Hubei");

    TFastIniFile onDisk(Ini());
    EXPECT_FALSE(onDisk.ReadFlag("cfg", "TitleBar", true));
    EXPECT_EQ(onDisk.ReadText("cfg", "NTPServer", ""), "127.0.0.1:9");
    EXPECT_FALSE(onDisk.ReadFlag("cfg", "showCPUusage", true));
    EXPECT_FALSE(onDisk.ReadFlag("cfg", "showFreeMem", true));
    EXPECT_EQ(onDisk.ReadNumber("cfg", "TrayColor", 0), 0x0000FF);
    EXPECT_EQ(onDisk.ReadNumber("cfg", "HideSpeed", 0), 9);
    EXPECT_FALSE(onDisk.ReadFlag("cfg", "metric", true));
    EXPECT_TRUE(onDisk.ReadFlag("cfg", "AlarmOnlineTime", false));
    EXPECT_EQ(onDisk.ReadText("cfg", "CityCode", ""), "W1");
    EXPECT_TRUE(onDisk.ReadFlag("temp", "QueryWeather", false));
    EXPECT_EQ(onDisk.ReadText("citylist", "cityname1", ""), "Berlin / Berlin");
    EXPECT_FALSE(onDisk.ReadFlag("cfg", "SyncTime", true));
}

TEST_F(OptionsDialogTest, TheSameCityAgainNeitherQueriesNorRenames)
{
    auto bar = Start(kQuiet + "CityCode=B1\nCityName=Old name\n[citylist]\ncount=1\ncityname1=Berlin / Berlin\n"
                              "citycode1=B1\n");
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) { d.btnOk->click(); }));
    EXPECT_EQ(bar->Config().CityName, "Old name");
    TFastIniFile onDisk(Ini());
    EXPECT_FALSE(onDisk.ReadFlag("temp", "QueryWeather", false));
}

TEST_F(OptionsDialogTest, TickingAutoRunCreatesTheAutostartFolderAndItsShortcut)
{
    auto bar = Start();
    const std::string file = m_dir.file("config/autostart/Tramble.desktop");
    ASSERT_FALSE(fs::exists(m_dir.file("config/autostart")));
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        EXPECT_FALSE(d.chkShortcutQuickLaunch->isEnabled());
        EXPECT_FALSE(d.chkAutoRun->isChecked());
        d.chkAutoRun->setChecked(true);
        d.btnOk->click();
    }));
    EXPECT_TRUE(LinkPointsTo(file, QCoreApplication::applicationFilePath().toStdString()));
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        EXPECT_TRUE(d.chkAutoRun->isChecked());
        d.chkAutoRun->setChecked(false);
        d.btnOk->click();
    }));
    EXPECT_FALSE(fs::exists(file));
}

// The shortcut chosen on the Shortcut page is stored and bound again at
// once: here through the desktop portal of a Wayland session.
TEST_F(OptionsDialogTest, ANewGlobalShortcutIsStoredAndBoundAgain)
{
    if (!test::ShortcutPortal::Available())
        GTEST_SKIP() << "xdg-desktop-portal is not installed";
    test::PrivateBus bus;
    test::ShortcutPortal portal(bus.Address(), {});
    ASSERT_TRUE(portal.Ready());
    const ScopedVariable session("DBUS_SESSION_BUS_ADDRESS", bus.Address());
    const ScopedVariable wayland("WAYLAND_DISPLAY", "wayland-absent");
    auto bar = Start();
    EXPECT_TRUE(WaitFor([&] { return portal.BoundShortcuts().size() == 1; }, 10000)) << "no binding at start";

    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        EXPECT_EQ(d.edtHotkey->keySequence(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Space));
        d.edtHotkey->setKeySequence(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
        d.btnOk->click();
    }));
    EXPECT_EQ(TFastIniFile(Ini()).ReadText("cfg", "Hotkey", ""), "Ctrl+Shift+K");
    EXPECT_TRUE(WaitFor([&] { return portal.BoundShortcuts().size() == 2; }, 10000)) << "not bound again";
    const std::vector<test::ShortcutPortal::Bound> bound = portal.BoundShortcuts();
    ASSERT_EQ(bound.size(), 2u);
    EXPECT_EQ(bound[0].Trigger, "CTRL+ALT+space");
    EXPECT_EQ(bound[1].Trigger, "CTRL+SHIFT+k");
    EXPECT_TRUE(WaitFor([&] { return portal.ClosedSessions() == 1; }, 5000)) << "the old binding stayed";
}

// A key no global shortcut can use keeps the dialog open; an emptied field
// turns the shortcut off; an untouched one leaves the stored text alone.
TEST_F(OptionsDialogTest, TheGlobalShortcutFieldRefusesKeysItCannotBind)
{
    auto bar = Start(kQuiet + "Hotkey=Super+F12\n");
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        EXPECT_EQ(d.edtHotkey->keySequence(), QKeySequence(Qt::META | Qt::Key_F12));
        d.btnOk->click();
    }));
    EXPECT_EQ(TFastIniFile(Ini()).ReadText("cfg", "Hotkey", ""), "Super+F12");

    bool stayedOpen = false;
    ASSERT_TRUE(OpenOptions(*bar, [&](TfrmOption& d) {
        d.edtHotkey->setKeySequence(QKeySequence(Qt::CTRL | Qt::Key_Adiaeresis));
        d.btnOk->click();
        stayedOpen = d.isVisible() && d.pgcOption->currentIndex() == TfrmOption::tsShortcut;
        d.edtHotkey->clear();
        d.btnOk->click();
    }));
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages[0].contains(QStringLiteral("not understood"))) << m_messages[0].toStdString();
    TFastIniFile onDisk(Ini());
    EXPECT_TRUE(onDisk.HasKey("cfg", "Hotkey"));
    EXPECT_EQ(onDisk.ReadText("cfg", "Hotkey", "unchanged"), "");
}

TEST_F(OptionsDialogTest, ChoosingAnotherLanguageRunsTheLanguageMenu)
{
    auto bar = Start();
    ASSERT_TRUE(OpenOptions(*bar, [](TfrmOption& d) {
        EXPECT_EQ(d.cbbLang->currentText(), "English");
        d.cbbLang->setCurrentIndex(1);
        d.btnOk->click();
    }));
    EXPECT_EQ(bar->Language().Name(), kLangSimplifiedChinese);
    EXPECT_EQ(bar->Menus().pmOption->text(), "选项");
    TFastIniFile onDisk(Ini());
    EXPECT_EQ(onDisk.ReadText("cfg", "Language", ""), kLangSimplifiedChinese);
}

TEST_F(OptionsDialogTest, InReadOnlyModeTheOptionCommandShowsNothing)
{
    auto bar = Start();
    bar.reset();
    fs::permissions(Ini(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    fs::permissions(m_dir.path(), fs::perms::owner_write, fs::perm_options::remove);
    bar = Start();
    ASSERT_TRUE(bar->Modes().ReadOnlyMode);
    bool shown = false;
    SetPromptHook([&](QDialog& dialog) {
        shown = qobject_cast<TfrmOption*>(&dialog) != nullptr;
        dialog.reject();
    });
    bar->Menus().pmOption->setEnabled(true); // even a forced menu item opens nothing
    bar->Menus().pmOption->trigger();
    SetPromptHook({});
    EXPECT_FALSE(shown);
    bar->ExitProgram();
    fs::permissions(m_dir.path(), fs::perms::owner_all, fs::perm_options::add);
}

TEST_F(OptionsDialogTest, AboutShowsTheCountsAndNoModeLabelsInNormalOperation)
{
    auto bar = Start();
    bool shown = false;
    SetPromptHook([&](QDialog& dialog) {
        auto* about = qobject_cast<TfrmAbout*>(&dialog);
        ASSERT_TRUE(about);
        shown = true;
        EXPECT_EQ(about->lbRunCnt->text(), "Run Count:  1");
        EXPECT_EQ(about->lbAppCnt->text(), "Application Count:  0");
        EXPECT_TRUE(about->lbRunTime->text().startsWith("Sum Time: 0 Minute"));
        EXPECT_TRUE(about->lbThisTime->text().startsWith("This Time: "));
        EXPECT_EQ(about->lbLanguage->text(), "Language:  English");
        EXPECT_FALSE(about->lbReadonlyMode->isVisibleTo(about));
        EXPECT_FALSE(about->lbPortMode->isVisibleTo(about));
        EXPECT_TRUE(about->lbLibraries->text().contains("SQLite (public domain)"));
        about->btnOk->click();
    });
    bar->Menus().pmAbout->trigger();
    SetPromptHook({});
    EXPECT_TRUE(shown);
}

} // namespace
} // namespace tramble
