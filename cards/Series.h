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

#include "cards/Card.h"

#include <QtGlobal>
#include <array>
#include <cstdint>
#include <vector>

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

// A series as it is printed and kept: its number ("Serie 206") and the serials of its six cards, Nº
// firstSerial to Nº firstSerial + 5.
struct NumberedSeries
{
    qint64 number = 0;
    qint64 firstSerial = 0;
    Series cards{};
};

// count new series numbered on from the first series number and the first serial, six serials a series.
std::vector<NumberedSeries> makeNumberedSeries(int count, qint64 firstNumber, qint64 firstSerial,
                                               SeriesRandom &random);

// A card of a series as a card: its cells without a number are its blanks.
Card toCard(const SeriesCard &card);

} // namespace cantabola
