#include "platform/Instance.h"

#include "store/InstanceNames.h"

namespace tramble::platform {

std::optional<TInstanceClaim> ClaimInstance(const std::string& executablePath, const std::string& folder)
{
    std::optional<TNamedLock> copy = TNamedLock::TryAcquire(CopyLockName(executablePath), folder);
    if (!copy)
        return std::nullopt;
    for (int n = 0; n < kMaxCopies; ++n) {
        if (std::optional<TNamedLock> number = TNamedLock::TryAcquire(InstanceLockName(n), folder))
            return TInstanceClaim{std::move(*copy), std::move(*number), n};
    }
    return std::nullopt;
}

} // namespace tramble::platform
