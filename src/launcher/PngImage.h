#pragma once

#include "launcher/RgbaImage.h"

#include <optional>
#include <string>
#include <string_view>

namespace tramble {

// A complete PNG stream (8-bit RGBA, alpha kept) of the picture; empty when
// the picture has no pixels or the encoder fails.
std::string EncodePng(const TRgbaImage& image);

// The picture of a PNG stream as 8-bit RGBA; nothing when it is no PNG or
// claims a picture larger than 4096 × 4096.
std::optional<TRgbaImage> DecodePng(std::string_view png);

} // namespace tramble
