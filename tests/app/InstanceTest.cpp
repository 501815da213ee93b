#include "platform/Instance.h"
#include "store/InstanceNames.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tramble {
namespace {

// A copy of the program in a child process: it claims its instance for the
// executable path, reports the number (or -1) and holds its locks until
// told to end.
class Copy {
public:
    Copy(const std::string& executable, const std::string& lockFolder)
    {
        int report[2];
        int hold[2];
        if (::pipe(report) != 0 || ::pipe(hold) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            // Only this copy's own pipe ends stay open, so that each copy
            // sees the end of its own hold pipe.
            for (int fd = 3; fd < 1024; ++fd) {
                if (fd != report[1] && fd != hold[0])
                    ::close(fd);
            }
            auto claim = platform::ClaimInstance(executable, lockFolder);
            const char number = claim ? static_cast<char>(claim->Instance) : -1;
            [[maybe_unused]] ssize_t written = ::write(report[1], &number, 1);
            char byte;
            [[maybe_unused]] ssize_t got = ::read(hold[0], &byte, 1);
            ::_exit(0);
        }
        ::close(report[1]);
        ::close(hold[0]);
        m_hold = hold[1];
        pollfd wait{report[0], POLLIN, 0};
        if (::poll(&wait, 1, 10000) == 1) {
            char number = -1;
            if (::read(report[0], &number, 1) == 1)
                m_instance = number;
        }
        ::close(report[0]);
    }
    ~Copy() { End(); }
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;

    int Instance() const { return m_instance; }

    void End()
    {
        if (m_pid <= 0)
            return;
        ::close(m_hold);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

    void Kill()
    {
        ::kill(m_pid, SIGKILL);
        ::close(m_hold);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    int m_hold = -1;
    int m_instance = -2;
};

TEST(InstanceNames, CopyLockNameReplacesSeparators)
{
    EXPECT_EQ(CopyLockName("C:\\Tools/kuv:2.exe"), "C__Tools_kuv_2.exe");
    EXPECT_EQ(CopyLockName("/opt/tramble/tramble"), "_opt_tramble_tramble");
    EXPECT_EQ(InstanceLockName(7), "KUV2_MULTIFLAG7");
    EXPECT_EQ(InstanceCaption(0), "Kuv 2.0");
    EXPECT_EQ(InstanceCaption(3), "[3] Kuv 2.0");
}

TEST(Instance, TheSameCopyRunsOnceAndAgainAfterItEnded)
{
    test::TempDir locks;
    Copy first("/opt/a/tramble", locks.path());
    EXPECT_EQ(first.Instance(), 0);
    {
        Copy second("/opt/a/tramble", locks.path());
        EXPECT_EQ(second.Instance(), -1);
    }
    first.End();
    Copy third("/opt/a/tramble", locks.path());
    EXPECT_EQ(third.Instance(), 0);
}

TEST(Instance, TenCopiesFromTenFoldersAndNoEleventh)
{
    test::TempDir locks;
    std::vector<std::unique_ptr<Copy>> copies;
    for (int n = 0; n < 10; ++n) {
        copies.push_back(std::make_unique<Copy>("/copy" + std::to_string(n) + "/tramble", locks.path()));
        EXPECT_EQ(copies.back()->Instance(), n);
    }
    Copy eleventh("/copy10/tramble", locks.path());
    EXPECT_EQ(eleventh.Instance(), -1);
    eleventh.End();

    copies[3]->End(); // a freed number goes to the next copy
    Copy next("/copy11/tramble", locks.path());
    EXPECT_EQ(next.Instance(), 3);
}

TEST(Instance, ACrashedCopyLeavesNoLockBehind)
{
    test::TempDir locks;
    Copy crashed("/opt/b/tramble", locks.path());
    ASSERT_EQ(crashed.Instance(), 0);
    crashed.Kill();
    Copy again("/opt/b/tramble", locks.path());
    EXPECT_EQ(again.Instance(), 0);
}

TEST(Instance, VeryLongPathsStayApart)
{
    test::TempDir locks;
    const std::string longFolder = "/" + std::string(300, 'x');
    Copy a(longFolder + "/one/tramble", locks.path());
    Copy b("/y" + longFolder + "/one/tramble", locks.path());
    EXPECT_EQ(a.Instance(), 0);
    EXPECT_EQ(b.Instance(), 1);
}

TEST(Instance, AnUnusableLockFolderClaimsNothing)
{
    EXPECT_FALSE(platform::ClaimInstance("/opt/c/tramble", "/nonexistent-folder/for/locks"));
}

} // namespace
} // namespace tramble
