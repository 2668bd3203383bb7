// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A series of six cards, the way halls sell them: across the six cards every number from 1 to 90 comes up
// exactly once, so a player who buys the whole series holds every ball. Each card is 3 rows by 9 columns
// with 15 numbers, 5 in each row; each column holds 1 to 3 numbers of its range (1-9, 10-19, ..., 80-90),
// increasing from top to bottom.
//
// The generator makes its choices with bounded retries and a fallback that cannot fail, so it always ends:
// first how many numbers of each column each card gets, then which rows of each card hold them, then which
// numbers go where. Every valid series can come out of it; a seed repeats one.

#include <array>
#include <cstdint>

namespace cantabola {

inline constexpr int seriesCards = 6;

// A card's 27 cells down the columns (cell 1 is the top of the first column), a number or 0 for a blank.
using SeriesCard = std::array<int, 27>;
using Series = std::array<SeriesCard, seriesCards>;

// A small, fast generator of its own, so that a series depends on its seed alone.
class SeriesRandom
{
public:
    explicit SeriesRandom(std::uint64_t seed)
        : m_state(seed)
    {
    }
    // A whole number from 0 to n - 1.
    int below(int n);

private:
    std::uint64_t next();
    std::uint64_t m_state;
};

Series makeSeries(SeriesRandom &random);

} // namespace cantabola
