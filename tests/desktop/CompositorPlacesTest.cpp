// The bar where the compositor places windows (Wayland): it says once what is
// turned off, and neither collapses into the strip nor hides itself.
#include "app/frmMain.h"
#include "launcher/ui/RainbowStrip.h"
#include "ui/Prompts.h"

#include "support/QtWait.h"
#include "support/TempDir.h"
#include "support/TestBar.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace tramble {
namespace {

using test::WaitFor;

class CompositorPlacesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageHook([this](QMessageBox::Icon, const QString& text, const QString&) {
            m_messages.push_back(text);
            return QMessageBox::Ok;
        });
    }
    void TearDown() override { SetMessageHook({}); }

    std::unique_ptr<TfrmMain> Start(bool compositorPlaces, const std::string& ini)
    {
        test::WriteFileBytes(m_dir.file("tramble.ini"), ini);
        TBarEnvironment env = test::BarEnvironment(m_dir);
        env.CompositorPlaces = compositorPlaces;
        auto bar = test::ShowBar(std::move(env));
        EXPECT_TRUE(WaitFor([&] { return bar->width() == 108; })) << "the first layout did not run";
        return bar;
    }

    test::TempDir m_dir;
    QStringList m_messages;
};

TEST_F(CompositorPlacesTest, TheNoticeIsSaidOnceAndOnlyOnWayland)
{
    {
        auto bar = Start(false, "");
        QApplication::processEvents();
        EXPECT_TRUE(m_messages.isEmpty());
    }
    auto bar = Start(true, "");
    ASSERT_TRUE(WaitFor([&] { return !m_messages.isEmpty(); })) << "no notice";
    EXPECT_TRUE(m_messages.front().contains("auto-hide")) << m_messages.front().toStdString();
    bar->close();
    bar->showMinimized();
    QApplication::processEvents();
    EXPECT_EQ(m_messages.size(), 1);
}

TEST_F(CompositorPlacesTest, ClosingMinimisesInsteadOfPlacingTheStrip)
{
    auto bar = Start(true, "");
    EXPECT_FALSE(bar->close());
    ASSERT_TRUE(WaitFor([&] { return bar->isMinimized(); })) << "the bar was not minimised";
    EXPECT_FALSE(bar->InRainbowMode());
    EXPECT_FALSE(bar->Strip()->isVisible());

    // Minimising stays minimising, and the bar comes back as a window.
    EXPECT_FALSE(WaitFor([&] { return bar->InRainbowMode() || !bar->isMinimized(); }, 500));
    bar->RestoreBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(bar->Strip()->isVisible());
}

TEST_F(CompositorPlacesTest, ABarAtAnEdgeDoesNotHideWithoutThePointer)
{
    // On X11 the same bar hides within a second once the cursor leaves it.
    auto bar = Start(true, "[cfg]\nHideSpeed=1\nResSpeed=1\n");
    const QRect desk = QGuiApplication::primaryScreen()->virtualGeometry();
    bar->move(desk.left(), desk.top() + 200);
    QCursor::setPos(desk.center() + QPoint(100, 100));
    EXPECT_FALSE(WaitFor([&] { return bar->InRainbowMode() || !bar->isVisible(); }, 1500));
}

} // namespace
} // namespace tramble
