// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Colour values as the widgets take them.

#include "platform/Colour.h"

#include <QColor>

namespace cantabola {

inline QColor paletteEntryColour(std::uint32_t entry)
{
    entry %= 216U;
    return QColor::fromRgb(static_cast<int>(entry / 36U * 51U), static_cast<int>(entry / 6U % 6U * 51U),
                           static_cast<int>(entry % 6U * 51U));
}

inline QColor toQColor(ColourValue value)
{
    if ((value >> 24U) == 1U)
        return paletteEntryColour(value & 0xFFFFFFU);
    return QColor::fromRgb(static_cast<int>(value & 0xFFU), static_cast<int>((value >> 8U) & 0xFFU),
                           static_cast<int>((value >> 16U) & 0xFFU));
}

inline ColourValue fromQColor(const QColor &colour)
{
    return static_cast<ColourValue>(colour.red()) | (static_cast<ColourValue>(colour.green()) << 8U)
        | (static_cast<ColourValue>(colour.blue()) << 16U);
}

} // namespace cantabola
