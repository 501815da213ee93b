#include "platform/CpuCounters.h"

#include "platform/linux/KernelFiles.h"

namespace tramble::platform {

TReading<std::vector<TCpuTimes>> ReadCpuTimes(const std::string& procRoot)
{
    std::string text;
    if (!ReadKernelFile(procRoot + "/stat", text))
        return TReading<std::vector<TCpuTimes>>::Error(kNoProcessorObject);
    return ParseProcStat(text);
}

TReading<TUptime> ReadUptime(const std::string& procRoot)
{
    std::string text;
    if (!ReadKernelFile(procRoot + "/uptime", text, 4096))
        return TReading<TUptime>::None();
    return ParseUptime(text);
}

TReading<int> ReadOnlineCpuCount(const std::string& sysRoot)
{
    std::optional<std::string> list = ReadKernelLine(sysRoot + "/devices/system/cpu/online");
    const int count = list ? CountCpuList(*list) : 0;
    if (count <= 0)
        return TReading<int>::None();
    return count;
}

} // namespace tramble::platform
