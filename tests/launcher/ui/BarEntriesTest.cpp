// The entries on the real bar window: files dropped on it, the button menu,
// sorting, the default programs of the first run and the properties window.
#include "app/frmMain.h"
#include "launcher/EntryManager.h"
#include "launcher/ui/frmProperties.h"
#include "ui/Prompts.h"

#include "support/QtWait.h"
#include "support/TempDir.h"
#include "support/TestBar.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;

using test::WaitFor;

class BarEntries : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageHook([this](QMessageBox::Icon, const QString& text, const QString&) {
            m_messages.push_back(text);
            return QMessageBox::Yes;
        });
        fs::create_directories(m_dir.path() / "sys");
    }
    void TearDown() override { SetMessageHook({}); }

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
    std::string File(const std::string& name)
    {
        test::WriteFileBytes(m_dir.file(name), "x");
        return m_dir.file(name);
    }
    QAction* Item(TfrmMain& bar, const char* name) { return bar.findChild<QAction*>(QLatin1String(name)); }

    void Drop(TfrmMain& bar, const QStringList& files)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&bar, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&bar, &drop);
        EXPECT_TRUE(drop.isAccepted());
    }
    // Opens the button menu of entry i, as a right click does.
    void OpenButtonMenu(TfrmMain& bar, int i)
    {
        QAbstractButton* button = bar.EntryButtons()[i];
        emit button->customContextMenuRequested(QPoint(4, 4));
        bar.Menus().Button->hide();
    }

    test::TempDir m_dir;
    std::vector<QString> m_messages;
};

TEST_F(BarEntries, DroppedFilesAddOnlyTheFirst)
{
    test::WriteFileBytes(m_dir.file("tramble.ini"), "[last]\nrun=4\n[Button]\nWidth=24\n");
    auto bar = Start();
    Drop(*bar, {QString::fromStdString(File("one.txt")), QString::fromStdString(File("two.txt")),
                QString::fromStdString(File("three.txt"))});
    ASSERT_TRUE(WaitFor([&] { return bar->Entries()->Count() == 1; }));
    EXPECT_EQ(Stored("App1"), "$(Kuv)/one.txt");
    EXPECT_EQ(Stored("Num"), "1");
    ASSERT_EQ(bar->EntryButtons().size(), 1u);
    // The next layout places the new button in the third cell.
    ASSERT_TRUE(WaitFor([&] { return bar->EntryButtons()[0]->isVisible(); }));
    EXPECT_EQ(bar->EntryButtons()[0]->geometry(), QRect(2 * 28, 0, 28, 28));
    EXPECT_EQ(bar->EntryButtons()[0]->toolTip(), "one.txt, 0");
    EXPECT_TRUE(m_messages.empty());
}

// The other program's drag ends when the drop is handed over; a message the
// adding raises comes afterwards, never while the drop is still open.
TEST_F(BarEntries, MessagesOfADropComeAfterTheDropEnds)
{
    test::WriteFileBytes(m_dir.file("tramble.ini"), "[last]\nrun=4\n");
    auto bar = Start();
    test::WriteFileBytes(m_dir.file("broken.lnk"), "no link at all");
    struct TCase {
        std::string File;
        QString Message;
    };
    for (const TCase& c :
         {TCase{m_dir.file("broken.lnk"), "Get LNK information error!     \r\n"}, TCase{File("twice.txt"), ""},
          TCase{m_dir.file("twice.txt"), "Application does exist!    \r\n\r\n\"" +
                                             QString::fromStdString(m_dir.file("twice.txt")) + "\"     \r\n"}}) {
        m_messages.clear();
        const int before = bar->Entries()->Count();
        Drop(*bar, {QString::fromStdString(c.File)});
        EXPECT_TRUE(m_messages.empty()) << c.File << ": a message inside the drop";
        if (c.Message.isEmpty()) {
            EXPECT_TRUE(WaitFor([&] { return bar->Entries()->Count() == before + 1; })) << c.File;
        } else {
            ASSERT_TRUE(WaitFor([&] { return !m_messages.empty(); })) << c.File;
            EXPECT_EQ(m_messages[0], c.Message);
            EXPECT_EQ(bar->Entries()->Count(), before);
        }
    }
}

TEST_F(BarEntries, ButtonMenuDeletesAndSortOrders)
{
    test::WriteFileBytes(m_dir.file("tramble.ini"), "[last]\nrun=4\n[Button]\nWidth=32\nNum=3\nApp1=/a\n"
                                                    "App2=/b\nAppRunCount2=5\nApp3=/c\nAppRunCount3=7\n");
    auto bar = Start();
    ASSERT_EQ(bar->Entries()->Count(), 3);
    EXPECT_TRUE(Item(*bar, "pmBtnDel")->isEnabled());

    OpenButtonMenu(*bar, 0);
    Item(*bar, "pmBtnDel")->trigger();
    ASSERT_EQ(bar->Entries()->Count(), 2);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].startsWith("Do you really want to delete button <0>:"));
    EXPECT_EQ(Stored("Num"), "2");
    EXPECT_EQ(Stored("App1"), "/b");
    EXPECT_EQ(Stored("Width"), "32");
    EXPECT_EQ(bar->EntryButtons().size(), 2u);

    Item(*bar, "pmSortByClick")->trigger();
    EXPECT_EQ(Stored("App1"), "/c");
    EXPECT_EQ(Stored("App2"), "/b");
    EXPECT_EQ(bar->EntryButtons()[0]->toolTip(), "c, 7");
}

TEST_F(BarEntries, FirstRunAddsTheDefaultPrograms)
{
    for (const char* name : {"gedit", "xterm"}) {
        const std::string program = m_dir.file(std::string("sys/") + name);
        test::WriteFileBytes(program, "#!/bin/true\n");
        fs::permissions(program, fs::perms::owner_all);
    }
    auto bar = Start();
    ASSERT_EQ(bar->Entries()->Count(), 2);
    EXPECT_EQ(Stored("App1"), "$(sys)/gedit");
    EXPECT_EQ(Stored("App2"), "$(sys)/xterm");
    EXPECT_EQ(Stored("AppRunFolder1"), "$(sys)/");
}

TEST_F(BarEntries, LaterRunsWithoutEntriesAddNothing)
{
    test::WriteFileBytes(m_dir.file("sys/xterm"), "#!/bin/true\n");
    fs::permissions(m_dir.file("sys/xterm"), fs::perms::owner_all);
    test::WriteFileBytes(m_dir.file("tramble.ini"), "[last]\nrun=1\n");
    auto bar = Start();
    EXPECT_EQ(bar->Entries()->Count(), 0);
}

TEST_F(BarEntries, PropertiesWindowShowsTheFile)
{
    const std::string file = File("notes.txt");
    fs::permissions(file, fs::perms(0640));
    TfrmProperties window(file);
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QString::fromStdString(file)));
    EXPECT_TRUE(texts.contains("rw-r-----"));
    EXPECT_TRUE(texts.filter("(1 bytes)").size() == 1);
}

} // namespace
} // namespace tramble
