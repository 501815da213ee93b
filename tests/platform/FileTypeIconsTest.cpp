#include "platform/FileTypeIcons.h"
#include "platform/FileProperties.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tramble::platform {
namespace {

namespace fs = std::filesystem;

class FileTypes : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_dir.path() / "high/mime");
        fs::create_directories(m_dir.path() / "low/mime");
        std::ofstream(m_dir.file("high/mime/globs2")) << "# comment\n"
                                                         "50:text/plain:*.txt\n"
                                                         "90:text/x-readme:*.TXT:cs\n"
                                                         "50:image/png:*.png\n"
                                                         "50:application/x-thing:*.thing\n";
        std::ofstream(m_dir.file("low/mime/globs2")) << "80:text/x-better:*.txt\n"
                                                        "50:audio/x-odd:*.odd\n";
        std::ofstream(m_dir.file("high/mime/generic-icons")) << "image/png:image-x-generic\n";
        std::ofstream(m_dir.file("low/mime/icons")) << "application/x-thing:thing-icon\n";
        m_folders = {m_dir.file("high"), m_dir.file("low")};
    }

    test::TempDir m_dir;
    std::vector<std::string> m_folders;
};

TEST_F(FileTypes, ExtensionsMapToTypesAndIcons)
{
    const struct {
        const char* Extension;
        const char* Type;
        const char* Icon;
    } cases[] = {
        {".txt", "text/x-better", "text-x-generic"}, // the highest weight wins over folder order
        {".TXT", "text/x-readme", "text-x-generic"}, // a case-sensitive glob
        {".Png", "image/png", "image-x-generic"},
        {".thing", "application/x-thing", "thing-icon"},
        {".odd", "audio/x-odd", "audio-x-generic"},
        {".unknown", "", ""},
        {"", "", ""},
        {"txt", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MimeTypeForExtension(c.Extension, m_folders), c.Type) << c.Extension;
        EXPECT_EQ(RegistryIconFor(c.Extension, m_folders), c.Icon) << c.Extension;
    }
}

TEST_F(FileTypes, DesktopEntriesGiveTheIconsOfTheirPrograms)
{
    fs::create_directories(m_dir.path() / "high/applications/sub");
    fs::create_directories(m_dir.path() / "low/applications");
    std::ofstream(m_dir.file("high/applications/editor.desktop"))
        << "[Desktop Entry]\nType=Application\nName=Editor\nExec=/opt/editor/bin/edit %F\nIcon=editor-icon\n";
    std::ofstream(m_dir.file("high/applications/sub/term.desktop"))
        << "[Desktop Entry]\nExec=tramble-test-term -e\nIcon=term-icon\n";
    std::ofstream(m_dir.file("low/applications/editor2.desktop"))
        << "[Desktop Entry]\nExec=/opt/editor/bin/edit\nIcon=lower-icon\n";
    std::ofstream(m_dir.file("low/applications/noicon.desktop")) << "[Desktop Entry]\nExec=/bin/quiet\n";

    const TDesktopIconIndex index(m_folders);
    EXPECT_EQ(index.IconFor("/opt/editor/bin/edit"), "editor-icon");
    EXPECT_EQ(index.IconFor("/usr/local/bin/tramble-test-term"), "term-icon");
    EXPECT_EQ(index.IconFor("/bin/quiet"), "");
    EXPECT_EQ(index.IconFor("/bin/other"), "");
}

TEST(FileProperties, PermissionsAndKinds)
{
    const struct {
        unsigned Mode;
        const char* Text;
    } cases[] = {{0755, "rwxr-xr-x"}, {0640, "rw-r-----"}, {0, "---------"}, {0777, "rwxrwxrwx"}, {0401, "r-------x"}};
    for (const auto& c : cases)
        EXPECT_EQ(PermissionText(c.Mode), c.Text);

    test::TempDir dir;
    test::WriteFileBytes(dir.file("a.txt"), "12345");
    fs::permissions(dir.file("a.txt"), fs::perms(0640));
    fs::create_symlink(dir.file("a.txt"), dir.file("link"));
    const TFileProperties file = ReadFileProperties(dir.file("a.txt"));
    EXPECT_TRUE(file.Exists);
    EXPECT_EQ(file.Kind, "File");
    EXPECT_EQ(file.Size, 5);
    EXPECT_EQ(file.Permissions, "rw-r-----");
    EXPECT_FALSE(file.Owner.empty());
    const TFileProperties link = ReadFileProperties(dir.file("link"));
    EXPECT_EQ(link.Kind, "Link");
    EXPECT_EQ(link.LinkTarget, dir.file("a.txt"));
    EXPECT_EQ(link.Size, 5);
    EXPECT_EQ(ReadFileProperties(dir.path().string()).Kind, "Folder");
    EXPECT_FALSE(ReadFileProperties(dir.file("missing")).Exists);
}

} // namespace
} // namespace tramble::platform
