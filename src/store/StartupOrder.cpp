#include "store/StartupOrder.h"

namespace tramble {

std::optional<TLoadStep> RunStartupLoad(TStartupLoad& load, TModes& modes, const std::function<void(TLoadStep)>& done)
{
    modes.Loading = true;
    std::optional<TLoadStep> failed = load.RunUntilError(done);
    modes.Loading = false;
    return failed;
}

} // namespace tramble
