// The bookmark manager window offscreen: its commands and keys, drag and
// drop, in-place editing, import and export, and OK and Cancel through the
// bar's controller.
#include "bookmarks/ui/frmNBM.h"

#include "bookmarks/BookmarkStore.h"
#include "bookmarks/NetscapeExport.h"
#include "bookmarks/PlacesBuilder.h"
#include "bookmarks/ui/BookmarkLists.h"
#include "bookmarks/ui/NetBookmarkMenu.h"
#include "bookmarks/ui/NetBookmarks.h"
#include "bookmarks/ui/frmAddGroup.h"
#include "bookmarks/ui/frmAddUrl.h"
#include "bookmarks/ui/frmImport.h"
#include "support/QtWait.h"
#include "support/TestBarLink.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <filesystem>

namespace tramble {
namespace {

namespace fs = std::filesystem;
using Groups = std::vector<TBookmarkGroup>;

TBookmarkModel ThreeGroups()
{
    TBookmarkModel model;
    model.AppendGroup(
        {"Mail", {{"m1", "https://m1.example/"}, {"m2", "https://m2.example/"}, {"m3", "https://m3.example/"}}});
    model.AppendGroup({"News", {{"n1", "https://n1.example/;x"}}});
    model.AppendGroup({"Work", {{"w1", "https://w1.example/"}, {"w2", "https://w2.example/"}}});
    return model;
}

std::vector<QString> Rows(const TfrmNBM& window)
{
    std::vector<QString> rows;
    for (int row = 0; row < window.lvUrl->rowCount(); ++row)
        rows.push_back(window.lvUrl->item(row, 0)->text() + "|" + window.lvUrl->item(row, 1)->text());
    return rows;
}

QStringList GroupNames(const TfrmNBM& window)
{
    QStringList names;
    for (int row = 0; row < window.lsbGroup->count(); ++row)
        names << window.lsbGroup->item(row)->text();
    return names;
}

class Manager : public ::testing::Test {
protected:
    Manager() : m_settings("") {}
    void TearDown() override
    {
        SetPromptHook(nullptr);
        SetMessageHook(nullptr);
    }

    std::unique_ptr<TfrmNBM> Open(const TBookmarkModel& model, TBrowserFolders folders = {})
    {
        auto window = std::make_unique<TfrmNBM>(model, m_settings, m_language, std::move(folders));
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    // The popup menu opened on a list, then closed again.
    static void OpenPopupOn(TfrmNBM& window, QWidget* list)
    {
        emit list->customContextMenuRequested(QPoint(2, 2));
        window.pm->close();
    }

    void CollectMessages(QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        SetMessageHook([this, answer](QMessageBox::Icon, const QString& text, const QString&) {
            m_messages.push_back(text);
            return answer;
        });
    }

    void Drop(TfrmNBM& window, int row, int target, QMimeData* data = nullptr)
    {
        window.lvUrl->selectRow(row);
        std::unique_ptr<QMimeData> own;
        if (!data) {
            own.reset(window.lvUrl->model()->mimeData(window.lvUrl->selectionModel()->selectedIndexes()));
            data = own.get();
        }
        QWidget* viewport = window.lsbGroup->viewport();
        const QPointF at = window.lsbGroup->visualItemRect(window.lsbGroup->item(target)).center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &move);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &drop);
    }

    TFastIniFile m_settings;
    TLanguage m_language;
    std::vector<QString> m_messages;
};

TEST_F(Manager, OpensOnTheFirstGroup)
{
    auto window = Open(ThreeGroups());
    EXPECT_EQ(GroupNames(*window), QStringList({"Mail", "News", "Work"}));
    EXPECT_EQ(window->lsbGroup->currentRow(), 0);
    EXPECT_EQ(Rows(*window),
              (std::vector<QString>{"m1|https://m1.example/", "m2|https://m2.example/", "m3|https://m3.example/"}));
    window->lsbGroup->setCurrentRow(1);
    EXPECT_EQ(Rows(*window), (std::vector<QString>{"n1|https://n1.example/;x"}));
    EXPECT_EQ(window->WorkingCopy(), ThreeGroups());
}

TEST_F(Manager, CtrlUpBeforeAnyPopupMovesTheBookmark)
{
    auto window = Open(ThreeGroups());
    window->lvUrl->setFocus();
    window->lvUrl->selectRow(2);
    QTest::keyClick(window->lvUrl, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(window->WorkingCopy().Group(0).Items,
              (std::vector<TBookmark>{
                  {"m1", "https://m1.example/"}, {"m3", "https://m3.example/"}, {"m2", "https://m2.example/"}}));
    EXPECT_EQ(window->WorkingCopy().Group(1).Caption, "News");
    EXPECT_EQ(Rows(*window)[1], "m3|https://m3.example/");
    EXPECT_EQ(window->lvUrl->selectionModel()->selectedRows().front().row(), 1);
    QTest::keyClick(window->lvUrl, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(window->lvUrl, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(window->WorkingCopy(), ThreeGroups()) << "the last row stays last";
}

TEST_F(Manager, ReorderingGroupsKeepsTheirBookmarks)
{
    auto window = Open(ThreeGroups());
    OpenPopupOn(*window, window->lsbGroup);
    window->lsbGroup->setCurrentRow(2);
    QTest::keyClick(window->lsbGroup, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(window->lsbGroup, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(window->lsbGroup, Qt::Key_Up, Qt::ControlModifier);
    const TBookmarkModel original = ThreeGroups();
    EXPECT_EQ(window->WorkingCopy().Groups(), (Groups{original.Group(2), original.Group(0), original.Group(1)}));
    EXPECT_EQ(GroupNames(*window), QStringList({"Work", "Mail", "News"}));
    EXPECT_EQ(window->lsbGroup->currentRow(), 0);
    window->pmDownClick();
    EXPECT_EQ(window->WorkingCopy().Groups(), (Groups{original.Group(0), original.Group(2), original.Group(1)}));
    // The list still shows the group it showed, wherever that went.
    EXPECT_EQ(Rows(*window), (std::vector<QString>{"w1|https://w1.example/", "w2|https://w2.example/"}));
}

TEST_F(Manager, DeletingTheLastGroupLeavesUndefined)
{
    TBookmarkModel one;
    one.AppendGroup({"Only", {{"o", "https://o.example/"}}});
    auto window = Open(one);
    OpenPopupOn(*window, window->lsbGroup);
    window->lsbGroup->setCurrentRow(0);

    CollectMessages(QMessageBox::No);
    QTest::keyClick(window->lsbGroup, Qt::Key_Delete);
    EXPECT_EQ(window->WorkingCopy(), one);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], "Do you really want to delete group [Only]\r\n");

    CollectMessages(QMessageBox::Yes);
    window->pmDeleteClick();
    EXPECT_EQ(window->WorkingCopy().Groups(), (Groups{{"Undefined", {}}}));
    EXPECT_EQ(GroupNames(*window), QStringList({"Undefined"}));
    EXPECT_EQ(window->lvUrl->rowCount(), 0);
}

TEST_F(Manager, RightPressSelectsWithoutShowingAndBookmarkCommandsStayOnTheShownGroup)
{
    auto window = Open(ThreeGroups());
    const QRect news = window->lsbGroup->visualItemRect(window->lsbGroup->item(1));
    QTest::mousePress(window->lsbGroup->viewport(), Qt::RightButton, {}, news.center());
    EXPECT_EQ(window->lsbGroup->currentRow(), 1);
    EXPECT_EQ(window->ShownGroup(), 0);
    EXPECT_EQ(window->lvUrl->rowCount(), 3);
    // Deleting the first row removes Mail's first bookmark, not News's.
    OpenPopupOn(*window, window->lvUrl);
    window->lvUrl->selectRow(0);
    window->pmDeleteClick();
    EXPECT_EQ(window->WorkingCopy().Group(0).Items.size(), 2u);
    EXPECT_EQ(window->WorkingCopy().Group(1), ThreeGroups().Group(1));

    QTest::mousePress(window->lsbGroup->viewport(), Qt::RightButton, {}, QPoint(5, window->lsbGroup->height() - 3));
    EXPECT_TRUE(window->lsbGroup->selectedItems().isEmpty());
}

TEST_F(Manager, DroppedBookmarkGoesToTheEndOfTheTargetGroup)
{
    auto window = Open(ThreeGroups());
    Drop(*window, 0, 0);
    EXPECT_EQ(window->WorkingCopy().Group(0).Items,
              (std::vector<TBookmark>{
                  {"m2", "https://m2.example/"}, {"m3", "https://m3.example/"}, {"m1", "https://m1.example/"}}));
    EXPECT_EQ(Rows(*window).back(), "m1|https://m1.example/");

    Drop(*window, 1, 2);
    EXPECT_EQ(window->WorkingCopy().Group(0).Items,
              (std::vector<TBookmark>{{"m2", "https://m2.example/"}, {"m1", "https://m1.example/"}}));
    EXPECT_EQ(window->WorkingCopy().Group(2).Items.back(), (TBookmark{"m3", "https://m3.example/"}));
    EXPECT_EQ(window->ShownGroup(), 0);

    // Data from elsewhere, even in the same form, is refused.
    const TBookmarkModel before = window->WorkingCopy();
    QMimeData foreign;
    foreign.setData(TUrlTable::kMimeType, "1:2 0");
    Drop(*window, 0, 1, &foreign);
    QMimeData text;
    text.setText("https://text.example/");
    Drop(*window, 0, 1, &text);
    EXPECT_EQ(window->WorkingCopy(), before);
}

TEST_F(Manager, AddBookmarkPreselectsTheSelectedGroupAndNeedsOne)
{
    auto window = Open(ThreeGroups());
    int preselected = -2;
    int choose = 0;
    SetPromptHook([&](QDialog& dialog) {
        auto* form = qobject_cast<TfrmAddUrl*>(&dialog);
        ASSERT_TRUE(form);
        preselected = form->cbbGroup->currentIndex();
        form->edtUrl->setText("https://new.example/");
        form->cbbGroup->setCurrentIndex(choose);
        form->btnOk->click();
    });
    window->lsbGroup->setCurrentRow(2);
    choose = 1;
    QTest::keyClick(window->lvUrl, Qt::Key_Insert);
    EXPECT_EQ(preselected, 2);
    EXPECT_EQ(window->WorkingCopy().Group(1).Items.back(), (TBookmark{"https://new.example/", "https://new.example/"}));
    EXPECT_EQ(window->lsbGroup->currentRow(), 1);
    EXPECT_EQ(window->ShownGroup(), 1);

    window->lsbGroup->clearSelection();
    choose = -1;
    CollectMessages();
    const TBookmarkModel before = window->WorkingCopy();
    window->pmAddClick();
    EXPECT_EQ(preselected, 0);
    EXPECT_EQ(window->WorkingCopy(), before);
    EXPECT_EQ(m_messages.size(), 1u);
}

TEST_F(Manager, AddGroupRefusesDuplicates)
{
    auto window = Open(ThreeGroups());
    QString name = "work";
    SetPromptHook([&](QDialog& dialog) {
        auto* form = qobject_cast<TfrmAddGroup*>(&dialog);
        ASSERT_TRUE(form);
        form->edtGroup->setText(name);
        form->btnOk->click();
    });
    OpenPopupOn(*window, window->lsbGroup);
    CollectMessages();
    window->pmAddClick();
    EXPECT_EQ(window->WorkingCopy(), ThreeGroups());
    EXPECT_EQ(m_messages.size(), 1u);
    name = "Games";
    window->pmAddClick();
    EXPECT_EQ(GroupNames(*window).back(), "Games");
    EXPECT_EQ(window->lsbGroup->currentRow(), 3);
    EXPECT_EQ(window->lvUrl->rowCount(), 0);
}

TEST_F(Manager, EditChangesNamesAndBookmarksInPlace)
{
    auto window = Open(ThreeGroups());
    OpenPopupOn(*window, window->lsbGroup);
    window->lsbGroup->setCurrentRow(1);
    // The name is typed into the editor the command opens.
    auto editGroup = [&](const QString& name) {
        window->pmEditClick();
        auto* editor = window->lsbGroup->viewport()->findChild<QLineEdit*>();
        ASSERT_TRUE(editor);
        editor->setText(name);
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor hands its text over once the event loop runs.
        test::WaitFor([&] { return !window->lsbGroup->viewport()->findChild<QLineEdit*>(); }, 1000);
    };
    CollectMessages();
    editGroup("MAIL");
    EXPECT_EQ(window->lsbGroup->item(1)->text(), "News");
    EXPECT_EQ(window->WorkingCopy(), ThreeGroups());
    EXPECT_EQ(m_messages.size(), 1u);
    editGroup("Press");
    EXPECT_EQ(window->WorkingCopy().Group(1).Caption, "Press");
    EXPECT_EQ(window->lsbGroup->item(1)->text(), "Press");

    window->lsbGroup->setCurrentRow(0);
    window->lvUrl->item(0, 1)->setText("");
    EXPECT_EQ(window->lvUrl->item(0, 1)->text(), "https://m1.example/") << "no bookmark without an address";
    window->lvUrl->item(0, 0)->setText("");
    EXPECT_EQ(window->WorkingCopy().Group(0).Items[0], (TBookmark{"https://m1.example/", "https://m1.example/"}));
    window->lvUrl->item(1, 1)->setText("https://moved.example/");
    EXPECT_EQ(window->WorkingCopy().Group(0).Items[1], (TBookmark{"m2", "https://moved.example/"}));
}

TEST_F(Manager, ImportTakesTheChosenProfileAndDamageImportsNothing)
{
    test::TempDir home;
    const fs::path profile = home.path() / ".mozilla/firefox/p.default";
    fs::create_directories(profile);
    test::WriteFileBytes((home.path() / ".mozilla/firefox/profiles.ini").string(),
                         "[Profile0]\nName=default\nIsRelative=1\nPath=p.default\n");
    {
        test::PlacesBuilder places((profile / "places.sqlite").string());
        places.Bookmark(10, 3, 0, "Fox", "https://fox.example/");
        places.Bookmark(11, 3, 1, "Mail twice", "https://m1.example/");
    }
    const fs::path chromium = home.path() / "config/chromium/Default";
    fs::create_directories(chromium);
    test::WriteFileBytes((chromium / "Bookmarks").string(),
                         R"({"roots": {"bookmark_bar": {"name": "Mail", "children": [
                              {"type": "url", "name": "Dup", "url": "https://m1.example/"},
                              {"type": "url", "name": "Chrome", "url": "https://chrome.example/"}]}}})");

    auto window = Open(ThreeGroups(), {home.path().string(), (home.path() / "config").string()});
    int choose = 0;
    QStringList offered;
    SetPromptHook([&](QDialog& dialog) {
        auto* form = qobject_cast<TfrmImport*>(&dialog);
        ASSERT_TRUE(form);
        offered.clear();
        for (int i = 0; i < form->cbbBrowser->count(); ++i)
            offered << form->cbbBrowser->itemText(i);
        form->cbbBrowser->setCurrentIndex(choose);
        form->btnOk->click();
    });
    CollectMessages();
    window->btnImport->click();
    EXPECT_EQ(offered, QStringList({"Firefox - default", "Chromium - Default"}));
    TBookmarkModel expected = ThreeGroups();
    expected.AppendGroup(
        {"Bookmarks Toolbar", {{"Fox", "https://fox.example/"}, {"Mail twice", "https://m1.example/"}}});
    EXPECT_EQ(window->WorkingCopy(), expected);
    EXPECT_EQ(GroupNames(*window).back(), "Bookmarks Toolbar");

    choose = 1;
    window->btnImport->click();
    expected = window->WorkingCopy();
    EXPECT_EQ(expected.Group(0).Items.back(), (TBookmark{"Chrome", "https://chrome.example/"}));
    EXPECT_EQ(expected.Group(0).Items.size(), 4u) << "the address Mail holds is not imported twice";
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[1], "Bookmarks imported: 1");

    test::WriteFileBytes((chromium / "Bookmarks").string(), R"({"roots": {"bookmark_bar": {"children": [)");
    test::WriteFileBytes((profile / "places.sqlite").string(), std::string(4096, '\x7f'));
    for (int damaged : {0, 1}) {
        choose = damaged;
        window->btnImport->click();
        EXPECT_EQ(window->WorkingCopy(), expected);
        EXPECT_TRUE(m_messages.back().startsWith("The bookmarks could not be imported:\r\n"))
            << m_messages.back().toStdString();
    }
}

TEST_F(Manager, ExportWritesTheWorkingCopy)
{
    test::TempDir dir;
    const std::string path = dir.file("out.html");
    auto window = Open(ThreeGroups());
    window->lsbGroup->setCurrentRow(1);
    OpenPopupOn(*window, window->lsbGroup);
    window->pmUpClick();
    SetPromptHook([&](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        ASSERT_TRUE(files);
        files->selectFile(QString::fromStdString(path));
        static_cast<QDialog*>(files)->accept();
    });
    window->btnExport->click();
    EXPECT_EQ(test::ReadFileBytes(path), NetscapeBookmarkHtml(window->WorkingCopy()));
    EXPECT_NE(window->WorkingCopy(), ThreeGroups());
}

class ManagerInBar : public ::testing::Test {
protected:
    void TearDown() override { SetPromptHook(nullptr); }

    void Start()
    {
        m_bar = std::make_unique<test::TestBarLink>("[cfg]\nx=1\n");
        {
            TFastIniFile ini(m_bar->Ini());
            SaveNetBookmarks(ini, {}, ThreeGroups());
        }
        m_bar->Settings().Reset();
        m_bookmarks = std::make_unique<TNetBookmarks>(*m_bar, new QToolButton(m_bar->BarWindow()));
        m_bar->StartupLoad().RunUntilError();
    }

    QStringList MenuGroups() const
    {
        QStringList names;
        for (QAction* group : m_bookmarks->BookmarkMenu()->actions())
            names << group->text();
        return names;
    }

    // The manager gets many changes, then closes with OK or Cancel.
    void ChangeAndClose(bool ok)
    {
        SetPromptHook([ok](QDialog& dialog) {
            if (auto* form = qobject_cast<TfrmAddGroup*>(&dialog)) {
                form->edtGroup->setText("Fresh");
                form->btnOk->click();
                return;
            }
            auto* window = qobject_cast<TfrmNBM*>(&dialog);
            ASSERT_TRUE(window);
            window->lvUrl->selectRow(0);
            window->pmDeleteClick();
            window->lvUrl->selectRow(0);
            window->pmDownClick();
            emit window->lsbGroup->customContextMenuRequested(QPoint(1, 1));
            window->pm->close();
            window->lsbGroup->setCurrentRow(2);
            window->pmUpClick();
            window->pmAddClick();
            window->lsbGroup->item(0)->setText("Renamed");
            (ok ? window->btnOk : window->btnCancel)->click();
        });
        m_bookmarks->pmNetBookmarkManageClick();
    }

    std::unique_ptr<test::TestBarLink> m_bar;
    std::unique_ptr<TNetBookmarks> m_bookmarks;
};

TEST_F(ManagerInBar, CancelAfterManyChangesLeavesMenuAndFileUnchanged)
{
    Start();
    const std::string file = m_bar->Stored();
    ChangeAndClose(false);
    EXPECT_EQ(m_bar->Stored(), file);
    EXPECT_EQ(m_bookmarks->Model(), ThreeGroups());
    EXPECT_EQ(MenuGroups(), QStringList({"Mail", "News", "Work"}));
    EXPECT_EQ(m_bar->Holds, 0);
}

TEST_F(ManagerInBar, OkReplacesMenuAndFile)
{
    Start();
    ChangeAndClose(true);
    const TBookmarkModel expected = [] {
        TBookmarkModel model;
        model.AppendGroup({"Renamed", {{"m3", "https://m3.example/"}, {"m2", "https://m2.example/"}}});
        model.AppendGroup({"Work", {{"w1", "https://w1.example/"}, {"w2", "https://w2.example/"}}});
        model.AppendGroup({"News", {{"n1", "https://n1.example/;x"}}});
        model.AppendGroup({"Fresh", {}});
        return model;
    }();
    EXPECT_EQ(m_bookmarks->Model(), expected);
    EXPECT_EQ(MenuGroups(), QStringList({"Renamed", "Work", "News", "Fresh"}));
    TFastIniFile ini(m_bar->Ini());
    EXPECT_EQ(ReadNetBookmarks(ini), expected);
    EXPECT_EQ(m_bar->Holds, 0);
}

} // namespace
} // namespace tramble
