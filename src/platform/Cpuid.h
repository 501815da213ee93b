#pragma once

#include "monitors/CpuInfo.h"

#include <cstdint>

namespace tramble::platform {

// The processor's identification instruction; all zero on processors
// without it.
TCpuidRegs Cpuid(uint32_t leaf, uint32_t subLeaf);

} // namespace tramble::platform
