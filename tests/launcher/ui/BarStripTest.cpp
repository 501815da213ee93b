// The strip and auto-hide as the bar runs them, on its own timers.
#include "app/frmMain.h"
#include "launcher/ui/RainbowStrip.h"
#include "ui/BarLink.h"
#include "ui/Prompts.h"

#include "support/NoClockSync.h"
#include "support/QtWait.h"
#include "support/TempDir.h"
#include "support/TestBar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QScreen>

namespace tramble {
namespace {

using test::WriteFileBytes;

using test::WaitFor;

class BarStripTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageHook([](QMessageBox::Icon, const QString&, const QString&) { return QMessageBox::Ok; });
        m_desk = QGuiApplication::primaryScreen()->virtualGeometry();
        QCursor::setPos(m_desk.center());
    }
    void TearDown() override { SetMessageHook({}); }

    std::unique_ptr<TfrmMain> Start(const std::string& ini = "")
    {
        WriteFileBytes(m_dir.file("tramble.ini"), test::WithoutClockSync(ini));
        auto bar = test::ShowBar(test::BarEnvironment(m_dir));
        EXPECT_TRUE(WaitFor([&] { return bar->width() == 108; }, 2000)) << "the first layout did not run";
        return bar;
    }

    // Puts the bar against the left edge, with the cursor on it.
    void DockLeft(TfrmMain& bar)
    {
        bar.move(m_desk.left(), m_desk.top() + 200);
        QCursor::setPos(bar.frameGeometry().center());
        QApplication::processEvents();
    }

    void MoveCursorAway() { QCursor::setPos(m_desk.center() + QPoint(100, 100)); }

    test::TempDir m_dir;
    QRect m_desk;
};

TEST_F(BarStripTest, TheStripAnimatesOnlyWhileItIsShown)
{
    auto bar = Start("[cfg]\nRainbowStyle=1\nUserColor=1\nRBCC1=3947580\nRBCC2=3947580\n");
    DockLeft(*bar);
    const TRainbowStrip& strip = *bar->Strip();
    const int phase = strip.State().Phase;
    bar->EnterRainbowMode();
    ASSERT_TRUE(WaitFor([&] { return strip.State().Phase >= phase + 4; }, 3000)) << "no frames were drawn";
    EXPECT_EQ(bar->Strip()->grab().toImage().pixelColor(1, 75), QColor(60, 60, 60));

    bar->LeaveRainbowMode();
    const int stopped = strip.State().Phase;
    EXPECT_FALSE(WaitFor([&] { return strip.State().Phase != stopped; }, 500)) << "frames after leaving";
}

TEST_F(BarStripTest, StoredSizesOutsideTheDialogRangesAreForcedIntoThem)
{
    auto bar = Start("[cfg]\nRainBowWidth=5000\nRainBowHeight=0\nRainBowSpeed=-999\nRainbowStyle=4\n");
    DockLeft(*bar);
    bar->EnterRainbowMode();
    EXPECT_EQ(bar->Strip()->size(), QSize(1, 280));
    const int phase = bar->Strip()->State().Phase;
    ASSERT_TRUE(WaitFor([&] { return bar->Strip()->State().Phase != phase; }, 2000));
    EXPECT_EQ(bar->Strip()->State().Phase, phase - 10);
    EXPECT_EQ(bar->Strip()->State().Frame.Length, 280);
    EXPECT_EQ(bar->Strip()->State().Frame.Thickness, 1);
}

TEST_F(BarStripTest, ABarAtAnEdgeHidesWhenTheCursorLeavesAndReturnsOnHover)
{
    auto bar = Start("[cfg]\nHideSpeed=2\nResSpeed=1\n");
    DockLeft(*bar);
    EXPECT_FALSE(WaitFor([&] { return bar->InRainbowMode(); }, 1000)) << "hid with the cursor on it";

    MoveCursorAway();
    ASSERT_TRUE(WaitFor([&] { return bar->InRainbowMode(); }, 3000)) << "did not hide";
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(bar->Strip()->isVisible());

    QCursor::setPos(bar->Strip()->geometry().center());
    ASSERT_TRUE(WaitFor([&] { return !bar->InRainbowMode(); }, 3000)) << "hovering did not bring the bar back";
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(bar->Strip()->isVisible());
}

TEST_F(BarStripTest, AHeldBarNeitherHidesNorLeavesTheStrip)
{
    auto bar = Start("[cfg]\nHideSpeed=1\nResSpeed=1\n");
    DockLeft(*bar);
    {
        TBarHold hold(*bar);
        EXPECT_TRUE(bar->ModalGuard());
        MoveCursorAway();
        EXPECT_FALSE(WaitFor([&] { return bar->InRainbowMode(); }, 1200)) << "hid while held";
    }
    EXPECT_FALSE(bar->ModalGuard());
    ASSERT_TRUE(WaitFor([&] { return bar->InRainbowMode(); }, 3000)) << "did not hide once released";

    bar->HoldBar();
    QCursor::setPos(bar->Strip()->geometry().center());
    EXPECT_FALSE(WaitFor([&] { return !bar->InRainbowMode(); }, 1200)) << "left the strip while held";
    bar->ReleaseBar();
    EXPECT_TRUE(WaitFor([&] { return !bar->InRainbowMode(); }, 3000));
}

TEST_F(BarStripTest, AnOpenBarMenuHoldsTheBar)
{
    auto bar = Start("[cfg]\nHideSpeed=1\n");
    DockLeft(*bar);
    const QPoint at(20, 10);
    QContextMenuEvent open(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
    QApplication::sendEvent(bar.get(), &open);
    QMenu* menu = bar->Menus().Bar;
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }, 2000));
    EXPECT_EQ(bar->PopupPoint(), bar->mapToGlobal(at) - bar->frameGeometry().topLeft());

    MoveCursorAway();
    EXPECT_FALSE(WaitFor([&] { return bar->InRainbowMode(); }, 1200)) << "hid under its open menu";
    menu->hide();
    EXPECT_TRUE(WaitFor([&] { return bar->InRainbowMode(); }, 3000)) << "did not hide after the menu closed";
}

} // namespace
} // namespace tramble
