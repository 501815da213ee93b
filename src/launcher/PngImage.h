#pragma once

#include "launcher/RgbaImage.h"

#include <string>

namespace tramble {

// A complete PNG stream (8-bit RGBA, alpha kept) of the picture; empty when
// the picture has no pixels or the encoder fails.
std::string EncodePng(const TRgbaImage& image);

} // namespace tramble
