// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace cantabola {

// The primary screen, measured in twips (1/1440 inch), the unit every window of the program is laid out in.
struct ScreenInfo
{
    float widthTwips = 0;
    float heightTwips = 0;
    float twipsPerPixelX = 15;
    float twipsPerPixelY = 15;

    static ScreenInfo fromPixels(int width, int height, float twipsPerPixel)
    {
        return {static_cast<float>(width) * twipsPerPixel, static_cast<float>(height) * twipsPerPixel,
                twipsPerPixel, twipsPerPixel};
    }
};

} // namespace cantabola
