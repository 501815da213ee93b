#include "store/StartupOrder.h"

namespace tramble {

std::optional<TLoadStep> RunStartupLoad(TStartupLoad& load, TModes& modes)
{
    modes.Loading = true;
    std::optional<TLoadStep> failed = load.RunUntilError();
    modes.Loading = false;
    return failed;
}

} // namespace tramble
