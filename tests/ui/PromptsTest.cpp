// Where prompts open: in the middle of the owner's screen, even when the
// owner is a small bar in a corner.
#include "ui/Prompts.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tramble {
namespace {

class PromptPlace : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_owner.setGeometry(0, 0, 100, 40);
        m_owner.show();
    }
    void TearDown() override { SetPromptHook({}); }

    // The centre of the prompt as it was shown, and closes it.
    QPoint ShownCentre(const std::function<void()>& open)
    {
        QPoint centre;
        SetPromptHook([&](QDialog& dialog) {
            centre = dialog.geometry().center();
            dialog.reject();
        });
        open();
        return centre;
    }

    QPoint DesktopCentre() const { return m_owner.screen()->availableGeometry().center(); }

    QWidget m_owner;
};

TEST_F(PromptPlace, DialogsOpenInTheMiddleOfTheDesktop)
{
    QDialog dialog(&m_owner);
    dialog.resize(300, 200);
    const QPoint centre = ShownCentre([&] { RunPrompt(dialog); });
    // The window frame may shift the client area by a few pixels.
    EXPECT_LE((centre - DesktopCentre()).manhattanLength(), 8) << centre.x() << "," << centre.y();

    const QPoint boxCentre = ShownCentre([&] {
        ShowMessage(&m_owner, QMessageBox::Information, QStringLiteral("A message of some length"),
                    QStringLiteral("Caption"));
    });
    // A message box settles its own size as it shows.
    EXPECT_LE((boxCentre - DesktopCentre()).manhattanLength(), 40) << boxCentre.x() << "," << boxCentre.y();
}

TEST_F(PromptPlace, APlaceTheCallerChoseIsKept)
{
    QDialog dialog(&m_owner);
    dialog.resize(300, 200);
    dialog.move(20, 30);
    ShownCentre([&] { RunPrompt(dialog); });
    EXPECT_EQ(dialog.pos(), QPoint(20, 30));
}

} // namespace
} // namespace tramble
