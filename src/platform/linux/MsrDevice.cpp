#include "platform/MsrDevice.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace tramble::platform {
namespace {

void LoadMsrModule()
{
    const char* argv[] = {"modprobe", "-q", "msr", nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "modprobe", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

TMsrDevice::TMsrDevice(std::string devRoot) : m_devRoot(std::move(devRoot))
{
}

TMsrDevice::~TMsrDevice()
{
    RemoveDriver();
}

bool TMsrDevice::InstallDriver()
{
    RemoveDriver();
    const std::string path = m_devRoot + "/cpu/0/msr";
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0 && errno == ENOENT && m_devRoot == "/dev" && ::geteuid() == 0) {
        LoadMsrModule();
        m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    return m_fd >= 0;
}

void TMsrDevice::RemoveDriver()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool TMsrDevice::ReadMsr(uint32_t index, uint64_t& value) const
{
    value = 0;
    if (m_fd < 0)
        return false;
    uint64_t read = 0;
    if (::pread(m_fd, &read, sizeof read, static_cast<off_t>(index)) != static_cast<ssize_t>(sizeof read))
        return false;
    value = read;
    return true;
}

} // namespace tramble::platform
