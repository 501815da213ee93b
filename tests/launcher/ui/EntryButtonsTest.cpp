#include "launcher/ui/EntryButtons.h"
#include "launcher/ui/EntryIcons.h"
#include "launcher/ui/ImageFromPng.h"

#include "launcher/PlaceholderIcon.h"
#include "launcher/PngImage.h"
#include "support/TempDir.h"
#include "ui/Prompts.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QInputDialog>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tramble {
namespace {

namespace fs = std::filesystem;

// A PNG file of one colour.
void WriteImage(const std::string& path, QColor colour, int size = 48, const char* format = "PNG")
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(path), format));
}

uint32_t Centre(const TRgbaImage& image)
{
    return image.Pixel(image.Width / 2, image.Height / 2);
}

class EntryIconsTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    TEntryIconSource m_icons;
};

TEST(ImageFromPng, KeepsEveryPixelWithItsAlphaAndRejectsOtherStreams)
{
    TRgbaImage source(3, 2);
    source.SetPixel(0, 0, 0xFF000080);
    source.SetPixel(2, 1, 0x00FF00FF);
    const QImage image = ImageFromPng(EncodePng(source));
    ASSERT_EQ(image.size(), QSize(3, 2));
    // The picture owns its pixels: the decoded buffer is gone by now.
    EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0, 128));
    EXPECT_EQ(image.pixelColor(2, 1), QColor(0, 255, 0, 255));
    EXPECT_EQ(image.pixelColor(1, 0).alpha(), 0);

    EXPECT_TRUE(ImageFromPng("").isNull());
    EXPECT_TRUE(ImageFromPng("GIF89a not a png").isNull());
    const std::string png = EncodePng(source);
    EXPECT_TRUE(ImageFromPng(std::string_view(png).substr(0, png.size() / 2)).isNull());
}

TEST_F(EntryIconsTest, ImageFilesDesktopEntriesAndMissingIcons)
{
    WriteImage(m_dir.file("red.png"), Qt::red);
    std::ofstream(m_dir.file("app.desktop"))
        << "[Desktop Entry]\nType=Application\nName=x\nExec=x\nIcon=" << m_dir.file("red.png") << "\n";
    std::ofstream(m_dir.file("noicon.desktop")) << "[Desktop Entry]\nType=Application\nName=x\nExec=x\n";
    test::WriteFileBytes(m_dir.file("notes.txt"), "text");

    const std::optional<TRgbaImage> image = m_icons.Extract(m_dir.file("red.png"), 0, 32);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width, 32);
    EXPECT_EQ(image->Height, 32);
    EXPECT_EQ(Centre(*image), 0xFF0000FFu);
    const std::optional<TRgbaImage> viaDesktop = m_icons.Extract(m_dir.file("app.desktop"), 0, 24);
    ASSERT_TRUE(viaDesktop);
    EXPECT_EQ(Centre(*viaDesktop), 0xFF0000FFu);

    EXPECT_FALSE(m_icons.Extract(m_dir.file("noicon.desktop"), 0, 32));
    EXPECT_FALSE(m_icons.Extract(m_dir.file("notes.txt"), 0, 32));
    EXPECT_FALSE(m_icons.Extract(m_dir.file("missing.png"), 0, 32));
    EXPECT_FALSE(m_icons.Extract("tramble-no-such-theme-icon", 0, 32));
    EXPECT_FALSE(m_icons.Extract("", 0, 32));
    // An index beyond the images of a file gives no icon.
    EXPECT_FALSE(m_icons.Extract(m_dir.file("red.png"), 3, 32));
}

TEST_F(EntryIconsTest, WideImagesAreCentredOnTransparent)
{
    QImage wide(64, 16, QImage::Format_ARGB32);
    wide.fill(Qt::blue);
    ASSERT_TRUE(wide.save(QString::fromStdString(m_dir.file("wide.png"))));
    const std::optional<TRgbaImage> image = m_icons.Extract(m_dir.file("wide.png"), 0, 32);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixel(16, 16), 0x0000FFFFu);
    EXPECT_EQ(image->Pixel(16, 2) & 0xFF, 0u); // above the picture: transparent
}

TEST_F(EntryIconsTest, FoldersAndProgramsUseTheirThemeOrDesktopIcons)
{
    if (QIcon::fromTheme("folder").isNull() && !fs::exists("/usr/share/icons/Adwaita"))
        GTEST_SKIP() << "no icon theme installed";
    const std::optional<TRgbaImage> folder = m_icons.Extract(m_dir.path().string(), 0, 32);
    ASSERT_TRUE(folder);
    int opaque = 0;
    for (size_t i = 3; i < folder->Pixels.size(); i += 4)
        opaque += folder->Pixels[i] > 0;
    EXPECT_GT(opaque, 100);

    // A program whose desktop entry names an icon file shows that icon.
    fs::create_directories(m_dir.path() / "data/applications");
    const std::string program = m_dir.file("tool");
    test::WriteFileBytes(program, "#!/bin/true\n");
    fs::permissions(program, fs::perms::owner_all);
    WriteImage(m_dir.file("green.png"), Qt::green);
    std::ofstream(m_dir.file("data/applications/tool.desktop"))
        << "[Desktop Entry]\nType=Application\nName=Tool\nExec=" << program << " %F\nIcon=" << m_dir.file("green.png")
        << "\n";
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_DATA_HOME", m_dir.file("data").c_str(), 1);
    TEntryIconSource fresh;
    const std::optional<TRgbaImage> tool = fresh.Extract(program, 0, 32);
    if (old)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    ASSERT_TRUE(tool);
    EXPECT_EQ(Centre(*tool), 0x00FF00FFu);
}

class EntryButtonsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TEntryButtons::THooks hooks;
        hooks.Bar = &m_bar;
        hooks.ButtonMenu = &m_menu;
        hooks.Buttons = &m_buttons;
        hooks.IconSize = 32;
        hooks.Message = [this](QMessageBox::Icon icon, const QString& text, const QString& caption,
                               QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
            m_boxes.push_back({icon, text, caption, buttons, defaultButton});
            return m_answer;
        };
        hooks.HoldBar = [this] { ++m_holds; };
        hooks.ReleaseBar = [this] { --m_holds; };
        m_view = std::make_unique<TEntryButtons>(std::move(hooks));
        SetPromptHook([this](QDialog& dialog) {
            auto* input = qobject_cast<QInputDialog*>(&dialog);
            ASSERT_NE(input, nullptr);
            if (!m_typed)
                return input->reject();
            input->setTextValue(*m_typed);
            input->accept();
        });
        QObject::connect(m_view.get(), &TEntryButtons::entryClicked, [this](int i) { m_clicks.push_back(i); });
    }

    void TearDown() override { SetPromptHook({}); }

    QToolButton* Button(int i) const { return qobject_cast<QToolButton*>(m_buttons[i]); }

    struct Box {
        QMessageBox::Icon Icon;
        QString Text;
        QString Caption;
        QMessageBox::StandardButtons Buttons;
        QMessageBox::StandardButton Default;
    };

    QWidget m_bar;
    QMenu m_menu;
    std::vector<QAbstractButton*> m_buttons;
    std::vector<Box> m_boxes;
    std::vector<int> m_clicks;
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;
    std::optional<QString> m_typed;
    int m_holds = 0;
    std::unique_ptr<TEntryButtons> m_view;
};

TEST_F(EntryButtonsTest, ButtonsFollowTheEntries)
{
    const std::string png = EncodePng(DrawPlaceholderIcon(32));
    for (int i = 0; i < 3; ++i)
        m_view->AddButton(png);
    ASSERT_EQ(m_buttons.size(), 3u);
    EXPECT_EQ(Button(0)->objectName(), "Button1");
    EXPECT_FALSE(Button(0)->isVisibleTo(&m_bar)); // until the next layout
    EXPECT_LT(Button(0)->x(), 0);
    EXPECT_EQ(Button(0)->size(), QSize(36, 36));
    EXPECT_TRUE(Button(0)->autoRaise());
    EXPECT_FALSE(Button(0)->icon().pixmap(32, 32).isNull());

    m_view->SetButtonHint(1, "Editor, 4");
    EXPECT_EQ(Button(1)->toolTip(), "Editor, 4");
    m_view->SetButtonRaised(2, true);
    EXPECT_FALSE(Button(2)->autoRaise());
    m_view->SetButtonRaised(2, false);
    EXPECT_TRUE(Button(2)->autoRaise());

    // A click reports the entry's current index.
    QAbstractButton* third = m_buttons[2];
    m_view->ReorderButtons({2, 0, 1});
    EXPECT_EQ(m_buttons[0], third);
    third->click();
    m_view->RemoveButton(1);
    m_buttons[1]->click();
    EXPECT_EQ(m_clicks, (std::vector<int>{0, 1}));

    // Names keep growing after a removal.
    m_view->AddButton(png);
    EXPECT_EQ(m_buttons.back()->objectName(), "Button4");
}

TEST_F(EntryButtonsTest, BoxesAndPrompts)
{
    m_answer = QMessageBox::Yes;
    EXPECT_TRUE(m_view->ShowBox(TBoxKind::Question, "Delete?", "Confirm"));
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].Buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(m_boxes[0].Default, QMessageBox::No);
    m_answer = QMessageBox::No;
    EXPECT_FALSE(m_view->ShowBox(TBoxKind::Question, "Delete?", "Confirm"));
    m_answer = QMessageBox::Ok;
    EXPECT_FALSE(m_view->ShowBox(TBoxKind::Warning, "Run error", "Warning: 2"));
    EXPECT_EQ(m_boxes.back().Icon, QMessageBox::Warning);
    EXPECT_EQ(m_boxes.back().Caption, "Warning: 2");
    m_view->ShowBox(TBoxKind::Error, "x", "Error");
    EXPECT_EQ(m_boxes.back().Icon, QMessageBox::Critical);

    m_typed = QString::fromUtf8("a 'b c' ü");
    EXPECT_EQ(m_view->AskArguments("Arguments", "Arguments     "), "a 'b c' ü");
    m_typed.reset();
    EXPECT_EQ(m_view->AskArguments("Arguments", "Arguments     "), "");
    // Once the program is ending, the prompt is not shown and nothing may start.
    CloseAllPrompts();
    EXPECT_EQ(m_view->AskArguments("Arguments", "Arguments     "), std::nullopt);
    ReopenPrompts();
}

} // namespace
} // namespace tramble
