#include "platform/AtaDisk.h"

#include <algorithm>

#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tramble::platform {
namespace {

// A stuck disk holds up the reading thread; a command may not take long.
constexpr unsigned kCommandTimeoutMs = 2000;

class PassThroughDisk : public TAtaDisk {
public:
    PassThroughDisk(int fd, int version) : m_fd(fd), m_version(version) {}
    ~PassThroughDisk() override { ::close(m_fd); }
    PassThroughDisk(const PassThroughDisk&) = delete;
    PassThroughDisk& operator=(const PassThroughDisk&) = delete;

    int Version() const override { return m_version; }

    bool Send(const TIdeRegs& regs, std::array<uint8_t, 512>& data) override
    {
        std::array<uint8_t, 16> cdb = AtaPassThrough16(regs);
        std::array<uint8_t, 32> sense{};
        sg_io_hdr_t io{};
        io.interface_id = 'S';
        io.cmd_len = static_cast<unsigned char>(cdb.size());
        io.cmdp = cdb.data();
        io.dxfer_direction = SG_DXFER_FROM_DEV;
        io.dxferp = data.data();
        io.dxfer_len = static_cast<unsigned>(data.size());
        io.sbp = sense.data();
        io.mx_sb_len = static_cast<unsigned char>(sense.size());
        io.timeout = kCommandTimeoutMs;
        if (::ioctl(m_fd, SG_IO, &io) != 0)
            return false;
        return (io.info & SG_INFO_OK_MASK) == SG_INFO_OK;
    }

    std::optional<uint8_t> PowerMode() override
    {
        std::array<uint8_t, 16> cdb = AtaCheckPowerMode16();
        std::array<uint8_t, 32> sense{};
        sg_io_hdr_t io{};
        io.interface_id = 'S';
        io.cmd_len = static_cast<unsigned char>(cdb.size());
        io.cmdp = cdb.data();
        io.dxfer_direction = SG_DXFER_NONE;
        io.sbp = sense.data();
        io.mx_sb_len = static_cast<unsigned char>(sense.size());
        io.timeout = kCommandTimeoutMs;
        // The registers come back as sense data, so the command "fails".
        if (::ioctl(m_fd, SG_IO, &io) != 0)
            return std::nullopt;
        return AtaCountFromSense(sense.data(), std::min<size_t>(io.sb_len_wr, sense.size()));
    }

private:
    int m_fd;
    int m_version;
};

} // namespace

std::unique_ptr<TAtaDisk> OpenPassThrough(const std::string& devicePath)
{
    const int fd = ::open(devicePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    int version = 0;
    if (::ioctl(fd, SG_GET_VERSION_NUM, &version) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PassThroughDisk>(fd, version);
}

} // namespace tramble::platform
