// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The drum of 90 balls. A ball is chosen by drawing a uniform number from 1 to 90 again and again until one
// comes up that has not been drawn in this game, so every remaining ball is equally likely.

#include <array>
#include <cmath>

namespace cantabola {

using DrawnFlags = std::array<bool, 91>; // index 0 exists and is never used

// next() yields uniform reals in [0, 1). Only called while a ball remains.
template<typename NextUniform> int chooseBall(const DrawnFlags &drawn, NextUniform &&next)
{
    for (;;) {
        const int n = static_cast<int>(std::floor(next() * 90.0)) + 1;
        if (n >= 1 && n <= 90 && !drawn[static_cast<std::size_t>(n)])
            return n;
    }
}

} // namespace cantabola
