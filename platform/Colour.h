// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace cantabola {

// Colours are kept as the 32-bit values 0x00BBGGRR the design gives them in, red in the low byte, so that
// arithmetic on them (a frame shape is the card colour plus 80) means what it always meant.
using ColourValue = std::uint32_t;

// The colour a value with high byte 1 (a palette entry) shows as. We read the palette as the 6 x 6 x 6 colour
// cube that 256-colour palettes are built on: entry = 36 r + 6 g + b, in steps of 51. The one such value the
// program sets itself is the mark of a card cell, entry 49 = 36 + 12 + 1, which shows as RGB (51, 102, 51), a
// dark green on which the black numbers stay legible.
// The mark colour as 0x00RRGGBB, as QColor::fromRgb takes it.
constexpr std::uint32_t markPaletteRgb = 0x00336633;

} // namespace cantabola
