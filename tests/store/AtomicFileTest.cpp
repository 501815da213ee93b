#include "store/AtomicFile.h"
#include "store/FastIniFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace tramble;
using tramble::test::ReadFileBytes;
using tramble::test::TempDir;
using tramble::test::WriteFileBytes;
namespace fs = std::filesystem;

namespace {

const std::string kOld = "[S]\r\nk=old\r\n";

// Lowers the file size limit so that writes past it fail with EFBIG, as a
// full disk would; restores it afterwards.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

void ExpectCreateError(TFastIniFile& store, const std::string& path)
{
    try {
        store.Flush();
        FAIL() << "expected a file error";
    } catch (const EFileError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot create file \"" + path + "\". ", 0), 0u) << error.what();
    }
}

size_t FilesIn(const fs::path& folder)
{
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

TEST(AtomicFlush, UnwritableFileFailsAndKeepsEverything)
{
    TempDir dir;
    const std::string path = dir.file("s.ini");
    WriteFileBytes(path, kOld);
    ::chmod(path.c_str(), 0444);
    TFastIniFile store(path);
    store.WriteText("S", "k", "new");
    ExpectCreateError(store, path);
    EXPECT_TRUE(store.Modified());
    EXPECT_EQ(ReadFileBytes(path), kOld);
    EXPECT_EQ(FilesIn(dir.path()), 1u) << "no temporary file is left";
    EXPECT_FALSE(IsWritablePath(path));
}

TEST(AtomicFlush, UnwritableFolderFails)
{
    TempDir dir;
    const fs::path folder = dir.path() / "locked";
    fs::create_directory(folder);
    const std::string path = (folder / "s.ini").string();
    ::chmod(folder.c_str(), 0555);
    TFastIniFile store(path);
    store.WriteText("S", "k", "v");
    ExpectCreateError(store, path);
    EXPECT_TRUE(store.Modified());
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(IsWritablePath(path));
    ::chmod(folder.c_str(), 0755);
}

// A folder that takes no new file still lets its writable files be changed:
// they are written in place, longer and shorter than before, through a link
// too, and keep their owner and permissions.
TEST(AtomicFlush, WritableFileInUnwritableFolderIsWrittenInPlace)
{
    TempDir dir;
    const fs::path folder = dir.path() / "locked";
    fs::create_directory(folder);
    const std::string path = (folder / "s.ini").string();
    const std::string link = dir.file("link.ini");
    WriteFileBytes(path, kOld);
    ::chmod(path.c_str(), 0640);
    fs::create_symlink(path, link);
    struct stat before {};
    ::stat(path.c_str(), &before);
    ::chmod(folder.c_str(), 0555);
    EXPECT_TRUE(IsWritablePath(path));

    for (const std::string& text : {std::string(5000, 'x'), std::string("[S]\r\nk=short\r\n"), std::string()}) {
        EXPECT_EQ(WriteFileAtomically(path, text), std::nullopt);
        EXPECT_EQ(ReadFileBytes(path), text);
    }
    TFastIniFile store(link);
    store.WriteText("S", "k", "new");
    store.Flush();
    EXPECT_FALSE(store.Modified());
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\nk=new\r\n");

    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the same file, not a new one";
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(FilesIn(folder), 1u);
    // A new file still needs the folder.
    EXPECT_FALSE(IsWritablePath((folder / "new.ini").string()));
    EXPECT_NE(WriteFileAtomically((folder / "new.ini").string(), "x"), std::nullopt);
    ::chmod(folder.c_str(), 0755);
}

TEST(AtomicFlush, DiskErrorPartWayLeavesOldFileIntact)
{
    TempDir dir;
    const std::string path = dir.file("s.ini");
    WriteFileBytes(path, kOld);
    TFastIniFile store(path);
    for (int i = 0; i < 2000; ++i)
        store.WriteText("S", "key" + std::to_string(i), std::string(40, 'v'));
    {
        FileSizeLimit limit(4096);
        ExpectCreateError(store, path);
    }
    EXPECT_TRUE(store.Modified());
    EXPECT_EQ(ReadFileBytes(path), kOld);
    EXPECT_EQ(FilesIn(dir.path()), 1u);
    store.Flush();
    TFastIniFile reread(path);
    EXPECT_EQ(reread.ReadText("S", "key1999", ""), std::string(40, 'v'));
}

TEST(AtomicFlush, WritesThroughSymbolicLinksAndKeepsPermissions)
{
    TempDir dir;
    const std::string target = dir.file("real.ini");
    const std::string link = dir.file("link.ini");
    WriteFileBytes(target, kOld);
    ::chmod(target.c_str(), 0640);
    fs::create_symlink("real.ini", link);
    TFastIniFile store(link);
    store.WriteText("S", "k", "new");
    store.Flush();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(target), "[S]\r\nk=new\r\n");
    struct stat st {};
    ::stat(target.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(AtomicFlush, DanglingLinkCreatesItsTarget)
{
    TempDir dir;
    fs::create_symlink(dir.file("later.ini"), dir.file("link.ini"));
    EXPECT_FALSE(WriteFileAtomically(dir.file("link.ini"), "x").has_value());
    EXPECT_EQ(ReadFileBytes(dir.file("later.ini")), "x");
}

TEST(AtomicFlush, LinkLoopIsAnError)
{
    TempDir dir;
    fs::create_symlink(dir.file("b"), dir.file("a"));
    fs::create_symlink(dir.file("a"), dir.file("b"));
    auto error = WriteFileAtomically(dir.file("a"), "x");
    ASSERT_TRUE(error.has_value());
}
