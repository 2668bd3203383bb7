#pragma once

#include <QColor>
#include <cstdint>

namespace cantabola {

// Colours are kept as the 32-bit values 0x00BBGGRR the design gives them in, red in the low byte, so that
// arithmetic on them (a frame shape is the card colour plus 80) means what it always meant.
using ColourValue = std::uint32_t;

// The colour a value with high byte 1 (a palette entry) shows as. The one such value the program uses is
// the mark of a card cell, palette entry 49. We read the palette as the 6 x 6 x 6 colour cube that 256-colour
// palettes are built on, entry = 36 r + 6 g + b with steps of 51: 49 = 36 + 12 + 1 gives RGB (51, 102, 51),
// a dark green on which the black numbers stay legible.
constexpr std::uint32_t markPaletteRgb = 0x00336633; // 0x00RRGGBB, as QColor::fromRgb takes it

inline QColor toQColor(ColourValue value)
{
    if ((value >> 24U) == 1U)
        return QColor::fromRgb(markPaletteRgb);
    return QColor::fromRgb(static_cast<int>(value & 0xFFU), static_cast<int>((value >> 8U) & 0xFFU),
                           static_cast<int>((value >> 16U) & 0xFFU));
}

inline ColourValue fromQColor(const QColor &colour)
{
    return static_cast<ColourValue>(colour.red()) | (static_cast<ColourValue>(colour.green()) << 8U)
        | (static_cast<ColourValue>(colour.blue()) << 16U);
}

} // namespace cantabola
