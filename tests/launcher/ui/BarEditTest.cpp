// The editor and the pickers opened from the real bar window: "Edit" on a
// button's menu, "Add" on both menus, the bar held while they are open.
#include "app/frmMain.h"
#include "launcher/EntryManager.h"
#include "launcher/ui/frmEditApp.h"
#include "launcher/ui/frmIconPicker.h"
#include "launcher/ui/frmSelect.h"
#include "ui/Prompts.h"

#include "support/QtWait.h"
#include "support/TempDir.h"
#include "support/TestBar.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;

class BarEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageHook([this](QMessageBox::Icon, const QString& text, const QString&) {
            m_messages.push_back(text);
            return QMessageBox::Ok;
        });
        fs::create_directories(m_dir.path() / "sys");
        fs::create_directories(m_dir.path() / "docs");
        QImage red(48, 48, QImage::Format_ARGB32);
        red.fill(Qt::red);
        red.save(QString::fromStdString(m_dir.file("red.png")));
        test::WriteFileBytes(m_dir.file("tramble.ini"),
                             "[last]\nrun=4\n[Button]\nWidth=32\nNum=1\nApp1=$(Kuv)/prog\nAppRunFolder1=$(Kuv)/\n"
                             "AppIconFile1=$(Kuv)/gone.png\nAppIconIndex1=0\nAppDescript1=prog\nAppArguments1=-a\n"
                             "AppPromptArugment1=0\nAutorun1=0\nAppWS1=0\nAppRunCount1=5\nAppRunTimer1=9\n");
    }
    void TearDown() override
    {
        SetPromptHook({});
        SetMessageHook({});
    }

    std::unique_ptr<TfrmMain> Start()
    {
        TBarEnvironment env = test::BarEnvironment(m_dir);
        env.WinDir = m_dir.file("win");
        env.SysDir = m_dir.file("sys");
        auto bar = test::ShowBar(std::move(env));
        return bar;
    }
    std::string Stored(const std::string& key)
    {
        TFastIniFile ini(m_dir.file("tramble.ini"));
        return ini.ReadText("Button", key, "<none>");
    }
    QAction* Item(TfrmMain& bar, const char* name) { return bar.findChild<QAction*>(QLatin1String(name)); }
    // "Edit" on the button menu of entry i, as a right click and a choice do.
    void Edit(TfrmMain& bar, int i)
    {
        emit bar.EntryButtons()[i]->customContextMenuRequested(QPoint(4, 4));
        bar.Menus().Button->hide();
        Item(bar, "pmBtnEdit")->trigger();
    }
    QImage ButtonPicture(TfrmMain& bar, int i) { return bar.EntryButtons()[i]->icon().pixmap(32, 32).toImage(); }

    test::TempDir m_dir;
    std::vector<QString> m_messages;
};

TEST_F(BarEdit, CancelAfterChangesLeavesTheEntryAndTheSettingsFileUntouched)
{
    auto bar = Start();
    ASSERT_EQ(bar->Entries()->Count(), 1);
    ASSERT_TRUE(Item(*bar, "pmBtnEdit")->isEnabled());
    const std::string ini = test::ReadFileBytes(m_dir.file("tramble.ini"));
    const std::string cache = test::ReadFileBytes(m_dir.file("tramble.dat"));
    const TAppEntry entry = bar->Entries()->Entries()[0];
    const QImage picture = ButtonPicture(*bar, 0);

    std::vector<bool> guard;
    SetPromptHook([&](QDialog& dialog) {
        if (auto* picker = qobject_cast<TfrmIconPicker*>(&dialog)) {
            picker->pgcKind->setCurrentIndex(1);
            picker->edtIconFile->setText(QString::fromStdString(m_dir.file("red.png")));
            return picker->btnOk->click();
        }
        auto* editor = qobject_cast<TfrmEditApp*>(&dialog);
        if (!editor) {
            ADD_FAILURE() << "unexpected prompt " << dialog.metaObject()->className();
            return dialog.reject();
        }
        guard.push_back(bar->ModalGuard());
        editor->edtDescript->setText("changed");
        editor->edtApp->setText("/elsewhere");
        editor->edtArguments->setText("-b");
        editor->chkAutoRun->setChecked(true);
        editor->cbbWS->setCurrentIndex(2);
        editor->btnSelectIcon->click();
        editor->btnCancel->click();
    });
    Edit(*bar, 0);
    EXPECT_EQ(guard, std::vector<bool>{true});
    EXPECT_FALSE(bar->ModalGuard());
    EXPECT_EQ(bar->Entries()->Entries()[0], entry);
    EXPECT_EQ(test::ReadFileBytes(m_dir.file("tramble.ini")), ini);
    EXPECT_EQ(test::ReadFileBytes(m_dir.file("tramble.dat")), cache);
    EXPECT_EQ(ButtonPicture(*bar, 0), picture);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(BarEdit, OkStoresEveryFieldAndTheButtonShowsTheNewIcon)
{
    auto bar = Start();
    ASSERT_EQ(bar->Entries()->Count(), 1);
    // The icon file is gone: the button shows the placeholder, red on transparent.
    EXPECT_EQ(ButtonPicture(*bar, 0).pixelColor(16, 2).alpha(), 0);
    const std::string typed = m_dir.file("docs/tool");

    SetPromptHook([&](QDialog& dialog) {
        if (auto* picker = qobject_cast<TfrmIconPicker*>(&dialog)) {
            picker->pgcKind->setCurrentIndex(1);
            picker->edtIconFile->setText(QString::fromStdString(m_dir.file("red.png")));
            return picker->btnOk->click();
        }
        auto* editor = qobject_cast<TfrmEditApp*>(&dialog);
        if (!editor) {
            ADD_FAILURE() << "unexpected prompt " << dialog.metaObject()->className();
            return dialog.reject();
        }
        editor->edtDescript->setText("Tool");
        editor->edtApp->setText(QString::fromStdString(typed));
        editor->edtStartFolder->setText("$(Kuv)/docs");
        editor->edtArguments->setText("--x \"y z\"");
        editor->chkPrompt->setChecked(true);
        editor->cbbWS->setCurrentIndex(1);
        editor->chkAutoRun->setChecked(true);
        editor->btnSelectIcon->click();
        editor->btnOk->click();
    });
    Edit(*bar, 0);

    const struct {
        const char* key;
        std::string value;
    } keys[] = {
        {"App1", typed}, // as typed, not compressed
        {"AppRunFolder1", "$(Kuv)/docs"},
        {"AppIconFile1", "$(Kuv)/red.png"},
        {"AppIconIndex1", "0"},
        {"AppDescript1", "Tool"},
        {"AppArguments1", "--x \"y z\""},
        {"AppPromptArugment1", "1"},
        {"Autorun1", "1"},
        {"AppWS1", "1"},
        {"AppRunCount1", "5"},
        {"AppRunTimer1", "9"},
        {"Num", "1"},
    };
    for (const auto& k : keys)
        EXPECT_EQ(Stored(k.key), k.value) << k.key;
    const TAppEntry& entry = bar->Entries()->Entries()[0];
    EXPECT_EQ(entry.App, typed);
    EXPECT_EQ(entry.RunCount, 5);
    EXPECT_EQ(ButtonPicture(*bar, 0).pixelColor(16, 2), QColor(Qt::red));
    EXPECT_EQ(bar->EntryButtons()[0]->toolTip(), "Tool, 5");
    EXPECT_FALSE(bar->ModalGuard());

    // The icon cache holds the new picture: a new bar shows it from there.
    // (Its autorun asks for the arguments now; that prompt is cancelled.)
    SetPromptHook([](QDialog& dialog) { dialog.reject(); });
    bar.reset();
    auto again = Start();
    EXPECT_EQ(ButtonPicture(*again, 0).pixelColor(16, 2), QColor(Qt::red));
}

TEST_F(BarEdit, AddOnEitherMenuTakesAFolderOrAFileFromThePicker)
{
    test::WriteFileBytes(m_dir.file("docs/notes.txt"), "x");
    auto bar = Start();
    std::vector<QString> picks = {QString::fromStdString(m_dir.file("docs")),
                                  QString::fromStdString(m_dir.file("docs/notes.txt"))};
    std::vector<bool> guard;
    SetPromptHook([&](QDialog& dialog) {
        auto* select = qobject_cast<TfrmSelect*>(&dialog);
        if (!select) {
            ADD_FAILURE() << "unexpected prompt " << dialog.metaObject()->className();
            return dialog.reject();
        }
        guard.push_back(bar->ModalGuard());
        ASSERT_FALSE(picks.empty());
        select->OpenAt(picks.front());
        picks.erase(picks.begin());
        select->btnOk->click();
    });
    Item(*bar, "pmAdd")->trigger();
    ASSERT_EQ(bar->Entries()->Count(), 2);
    EXPECT_EQ(Stored("App2"), "$(Kuv)/docs");
    EXPECT_EQ(Stored("AppIconFile2"), "folder");

    emit bar->EntryButtons()[0]->customContextMenuRequested(QPoint(4, 4));
    bar->Menus().Button->hide();
    Item(*bar, "pmBtnAdd")->trigger();
    ASSERT_EQ(bar->Entries()->Count(), 3);
    EXPECT_EQ(Stored("App3"), "$(Kuv)/docs/notes.txt");
    EXPECT_EQ(guard, (std::vector<bool>{true, true}));
    EXPECT_FALSE(bar->ModalGuard());

    // Cancelled: nothing is added.
    SetPromptHook([](QDialog& dialog) { dialog.reject(); });
    Item(*bar, "pmAdd")->trigger();
    EXPECT_EQ(bar->Entries()->Count(), 3);
    EXPECT_TRUE(m_messages.empty());
}

} // namespace
} // namespace tramble
