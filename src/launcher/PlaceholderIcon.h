#pragma once

#include "launcher/RgbaImage.h"

namespace tramble {

inline constexpr uint32_t kPlaceholderRed = 0xFF0000FF;

// The picture of an entry whose icon cannot be found: on a transparent
// square of size × size, a red 1-pixel frame from (9, 9) to (size − 9,
// size − 9) and both diagonals from 6 pixels inside the corners with a
// 2-pixel pen. As with the classic drawing calls, the frame's right and
// bottom edge and each line's last point lie just outside the given end.
TRgbaImage DrawPlaceholderIcon(int size);

} // namespace tramble
