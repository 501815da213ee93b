// Any bytes as a date or time text: the conversions either give a stamp that
// decodes again or raise the conversion fault, nothing else.
#include "formula/Stamp.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(double (*convert)(std::string_view), std::string_view text)
{
    double stamp;
    try {
        stamp = convert(text);
    } catch (const tramble::EConvertError&) {
        return;
    }
    if (!std::isfinite(stamp))
        std::abort();
    try {
        const std::string shown = tramble::StampToStr(stamp);
        if (shown.size() != 23)
            std::abort();
    } catch (const tramble::EConvertError&) {
        // Times add whole days, so a late date plus hours may leave the range.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(tramble::StrToDateStamp, text);
    Check(tramble::StrToTimeStamp, text);
    Check(tramble::StrToStamp, text);
    return 0;
}
