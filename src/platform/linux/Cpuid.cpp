#include "platform/Cpuid.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace tramble::platform {

TCpuidRegs Cpuid(uint32_t leaf, uint32_t subLeaf)
{
    TCpuidRegs regs;
#if defined(__x86_64__) || defined(__i386__)
    // Leaves above the highest one the processor knows answer with stale
    // data on some models, so they are not asked.
    const uint32_t highest = __get_cpuid_max(leaf & 0x80000000, nullptr);
    if (highest != 0 && leaf <= highest)
        __cpuid_count(leaf, subLeaf, regs.Eax, regs.Ebx, regs.Ecx, regs.Edx);
#else
    (void)leaf;
    (void)subLeaf;
#endif
    return regs;
}

} // namespace tramble::platform
