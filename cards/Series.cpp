// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/Series.h"

#include <algorithm>
#include <numeric>

namespace cantabola {

namespace {

constexpr int columns = 9;
constexpr int rows = 3;
constexpr int numbersPerCard = 15;
constexpr int numbersPerRow = 5;
// A choice is drawn at random this many times before the choice that cannot fail is taken.
constexpr int tries = 16;

constexpr int columnLow(int c)
{
    return c == 0 ? 1 : 10 * c;
}
constexpr int columnSize(int c)
{
    return c == 0 ? 9 : (c == columns - 1 ? 11 : 10);
}

// Whether a table of whole numbers from 0 to cap, with rowNeed[i] in row i and columnNeed[j] in column j,
// exists: the sums agree and, the columns taken largest first, no k columns need more than the rows can give
// to k columns (the Gale-Ryser condition, with entries up to cap).
template<std::size_t R, std::size_t C>
bool tableExists(const std::array<int, R> &rowNeed, std::array<int, C> columnNeed, std::size_t columnCount,
                 int cap)
{
    // Largest first, by insertion: at most nine entries.
    for (std::size_t i = 1; i < columnCount; ++i) {
        const int need = columnNeed[i];
        std::size_t j = i;
        for (; j > 0 && columnNeed[j - 1] < need; --j)
            columnNeed[j] = columnNeed[j - 1];
        columnNeed[j] = need;
    }
    const int rowTotal = std::accumulate(rowNeed.begin(), rowNeed.end(), 0);
    int columnTotal = 0;
    for (std::size_t k = 0; k < columnCount; ++k) {
        columnTotal += columnNeed[k];
        int canGive = 0;
        for (const int need : rowNeed)
            canGive += std::min(need, cap * static_cast<int>(k + 1));
        if (columnTotal > canGive)
            return false;
    }
    return columnTotal == rowTotal;
}

// The first count items in a random order (Fisher-Yates).
void shuffle(int *items, int count, SeriesRandom &random)
{
    for (int i = count - 1; i > 0; --i) {
        const int j = random.below(i + 1);
        const int item = items[i];
        items[i] = items[j];
        items[j] = item;
    }
}

// How many numbers of each column each card gets: 1 to 3, 15 a card, the column's size a column. Every card
// starts with one of each column; the rest (6 more a card) are dealt column by column.
std::array<std::array<int, columns>, seriesCards> columnCounts(SeriesRandom &random)
{
    std::array<std::array<int, columns>, seriesCards> counts{};
    std::array<int, seriesCards> cardNeed{};
    cardNeed.fill(numbersPerCard - columns);
    std::array<int, columns> order{};
    std::iota(order.begin(), order.end(), 0);
    shuffle(order.data(), columns, random);
    for (int done = 0; done < columns; ++done) {
        const auto c = static_cast<std::size_t>(order[static_cast<std::size_t>(done)]);
        const int extra = columnSize(static_cast<int>(c)) - seriesCards;
        std::array<int, columns> laterNeed{};
        std::size_t later = 0;
        for (int rest = done + 1; rest < columns; ++rest)
            laterNeed[later++] = columnSize(order[static_cast<std::size_t>(rest)]) - seriesCards;

        std::array<int, seriesCards> give{};
        bool found = false;
        for (int attempt = 0; attempt < tries && !found; ++attempt) {
            give.fill(0);
            int left = extra;
            std::array<int, seriesCards> cards{};
            std::iota(cards.begin(), cards.end(), 0);
            shuffle(cards.data(), seriesCards, random);
            for (std::size_t i = 0; i < seriesCards && left > 0; ++i) {
                const auto card = static_cast<std::size_t>(cards[i]);
                const int most = std::min({2, left, cardNeed[card]});
                give[card] = random.below(most + 1);
                left -= give[card];
            }
            if (left > 0)
                continue;
            std::array<int, seriesCards> after = cardNeed;
            for (std::size_t card = 0; card < seriesCards; ++card)
                after[card] -= give[card];
            found = tableExists(after, laterNeed, later, 2);
        }
        if (!found) {
            // One at a time to the card that needs most: this keeps a possible table possible.
            give.fill(0);
            for (int left = extra; left > 0; --left) {
                std::size_t best = seriesCards;
                for (std::size_t card = 0; card < seriesCards; ++card) {
                    if (give[card] < 2 && cardNeed[card] - give[card] > 0
                        && (best == seriesCards || cardNeed[card] - give[card] > cardNeed[best] - give[best]))
                        best = card;
                }
                ++give[best];
            }
        }
        for (std::size_t card = 0; card < seriesCards; ++card) {
            counts[card][c] = 1 + give[card];
            cardNeed[card] -= give[card];
        }
    }
    return counts;
}

// Which rows of a card hold each column's numbers: 5 numbers a row.
std::array<std::array<bool, rows>, columns> rowLayout(const std::array<int, columns> &counts,
                                                      SeriesRandom &random)
{
    std::array<std::array<bool, rows>, columns> used{};
    std::array<int, rows> room{numbersPerRow, numbersPerRow, numbersPerRow};
    std::array<int, columns> order{};
    std::iota(order.begin(), order.end(), 0);
    shuffle(order.data(), columns, random);
    for (int done = 0; done < columns; ++done) {
        const auto c = static_cast<std::size_t>(order[static_cast<std::size_t>(done)]);
        const int k = counts[c];
        std::array<int, columns> laterNeed{};
        std::size_t later = 0;
        for (int rest = done + 1; rest < columns; ++rest)
            laterNeed[later++] = counts[static_cast<std::size_t>(order[static_cast<std::size_t>(rest)])];

        std::array<bool, rows> pick{};
        bool found = false;
        for (int attempt = 0; attempt < tries && !found; ++attempt) {
            std::array<int, rows> rowOrder{0, 1, 2};
            shuffle(rowOrder.data(), rows, random);
            pick.fill(false);
            std::array<int, rows> after = room;
            bool fits = true;
            for (int i = 0; i < k; ++i) {
                const auto r = static_cast<std::size_t>(rowOrder[static_cast<std::size_t>(i)]);
                pick[r] = true;
                fits = fits && --after[r] >= 0;
            }
            found = fits && tableExists(after, laterNeed, later, 1);
        }
        if (!found) {
            // The k rows with the most room left: this keeps a possible layout possible.
            pick.fill(false);
            for (int i = 0; i < k; ++i) {
                std::size_t best = rows;
                for (std::size_t r = 0; r < rows; ++r) {
                    if (!pick[r] && (best == rows || room[r] > room[best]))
                        best = r;
                }
                pick[best] = true;
            }
        }
        for (std::size_t r = 0; r < rows; ++r) {
            used[c][r] = pick[r];
            room[r] -= pick[r] ? 1 : 0;
        }
    }
    return used;
}

} // namespace

std::uint64_t SeriesRandom::next()
{
    // SplitMix64.
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31U);
}

int SeriesRandom::below(int n)
{
    // Lemire's multiply-shift: without the modulo's bias worth mentioning for the small n used here.
    return static_cast<int>(((next() >> 32U) * static_cast<std::uint64_t>(n)) >> 32U);
}

Series makeSeries(SeriesRandom &random)
{
    const auto counts = columnCounts(random);
    std::array<std::array<std::array<bool, rows>, columns>, seriesCards> layouts{};
    for (std::size_t card = 0; card < seriesCards; ++card)
        layouts[card] = rowLayout(counts[card], random);

    Series series{};
    for (std::size_t c = 0; c < columns; ++c) {
        // The column's numbers dealt out in a random order, each card's share then written down its column
        // from the smallest.
        std::array<int, 11> numbers{};
        const int size = columnSize(static_cast<int>(c));
        std::iota(numbers.begin(), numbers.begin() + size, columnLow(static_cast<int>(c)));
        shuffle(numbers.data(), size, random);
        auto next = numbers.begin();
        for (std::size_t card = 0; card < seriesCards; ++card) {
            const auto share = next;
            next += counts[card][c];
            std::sort(share, next);
            auto number = share;
            for (std::size_t r = 0; r < rows; ++r) {
                if (layouts[card][c][r])
                    series[card][c * rows + r] = *number++;
            }
        }
    }
    return series;
}

std::vector<NumberedSeries> makeNumberedSeries(int count, qint64 firstNumber, qint64 firstSerial,
                                               SeriesRandom &random)
{
    std::vector<NumberedSeries> all;
    all.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        all.push_back({firstNumber + i, firstSerial + qint64{seriesCards} * i, makeSeries(random)});
    return all;
}

Card toCard(const SeriesCard &card)
{
    std::vector<int> blanks;
    for (int k = 1; k <= cellsPerCard; ++k) {
        if (card[static_cast<std::size_t>(k - 1)] == 0)
            blanks.push_back(k);
    }
    Card result(blanks);
    for (int k = 1; k <= cellsPerCard; ++k)
        result.setNumber(k, card[static_cast<std::size_t>(k - 1)]);
    return result;
}

} // namespace cantabola
