#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tramble::test {

// For the life of the object the calling thread obeys file permissions even
// as root: the capabilities that override them leave its effective set (they
// stay permitted, so they come back at the end). Without root it changes
// nothing. Tests that need a refused read or write hold in root runs so.
class NoRootOverride {
public:
    NoRootOverride()
    {
        m_ok = ::syscall(SYS_capget, &m_header, m_saved) == 0;
        if (!m_ok)
            return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        m_ok = ::syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~NoRootOverride()
    {
        if (m_ok)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    NoRootOverride(const NoRootOverride&) = delete;
    NoRootOverride& operator=(const NoRootOverride&) = delete;

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_ok = false;
};

} // namespace tramble::test
