// Any bytes as a formula: Calculate must return without raising, a failure
// must carry a message and no result, and the evaluator must stay usable.
#include "formula/Calcul.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tramble::TCalcul calcul;
    calcul.Clock = [] { return 45000.5; };
    calcul.Formula.assign(reinterpret_cast<const char*>(data), size);
    const std::string result = calcul.Calculate();
    if (calcul.Failed() && (calcul.ErrorText().empty() || !result.empty()))
        std::abort();
    calcul.Formula = "1+1";
    if (calcul.Calculate() != "2")
        std::abort();
    return 0;
}
