// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A bingo card as data: 27 cells in 3 rows by 9 columns, each a number or a blank, with the card's colour and
// the cells marked on it. The card window draws its cards from it, the registry keeps it, the claim check and
// the room's screen read it. A small value, copied and compared as a whole.
//
// The cells are kept in the card's own order, down the columns: cell k (1 to 27) lies in column
// (k - 1) / 3 + 1 and row (k - 1) % 3 + 1, so cells 1, 2, 3 are the first column from top to bottom and
// 25, 26, 27 the last.
//
// A cell's role is its background, as the card window has always told it: exactly white is a number cell,
// the card colour a blank, the mark colour a marked cell. So on a card painted pure white the blanks cannot
// be told from number cells and take numbers too, and a number once written is never wiped.

#include "platform/Colour.h"

#include <array>
#include <cstdint>
#include <span>

namespace cantabola {

inline constexpr int cellsPerCard = 27;
inline constexpr int columnsPerCard = 9;
inline constexpr int rowsPerCard = 3;

// Column (1 = left) and row (1 = top) of cell k (1 to 27), and the cell at a row and column.
constexpr int cellColumn(int k)
{
    return (k - 1) / rowsPerCard + 1;
}
constexpr int cellRow(int k)
{
    return (k - 1) % rowsPerCard + 1;
}
constexpr int cellAt(int row, int column)
{
    return (column - 1) * rowsPerCard + row;
}

// Colours of the cells, 0x00BBGGRR.
inline constexpr ColourValue numberCellColour = 0x00FFFFFF;
// Palette entry 49: a value with high byte 1 names an entry of the window's palette.
inline constexpr ColourValue markColour = 0x01000031;

struct CardCell
{
    std::uint8_t number = 0; // 0: no number written
    bool blank = false; // one of the card's blanks, painted in the card colour
    bool marked = false;
    friend bool operator==(const CardCell &, const CardCell &) = default;
};

class Card
{
public:
    // A card as it is before it is painted: every cell white and without a number, the given cells (1 to 27)
    // its blanks.
    Card() = default;
    explicit Card(std::span<const int> blanks);

    const CardCell &cell(int k) const { return m_cells.at(static_cast<std::size_t>(k - 1)); }
    const CardCell &cell(int row, int column) const { return cell(cellAt(row, column)); }
    int number(int k) const { return cell(k).number; }
    const std::array<CardCell, cellsPerCard> &cells() const { return m_cells; }
    int numberCount() const;
    ColourValue colour() const { return m_colour; }
    // The colour cell k shows, which is its role.
    ColourValue background(int k) const;
    // A cell that the filling writes a number into: one whose background is exactly white.
    bool takesNumber(int k) const { return background(k) == numberCellColour; }

    // The card in a colour: the blanks take it, and a mark on a blank goes; number cells and their marks
    // stay.
    void paint(ColourValue colour);
    // Marked for good, its number kept.
    void mark(int k);
    void setNumber(int k, int number);

    friend bool operator==(const Card &, const Card &) = default;

private:
    CardCell &at(int k) { return m_cells.at(static_cast<std::size_t>(k - 1)); }

    std::array<CardCell, cellsPerCard> m_cells{};
    ColourValue m_colour = numberCellColour;
};

} // namespace cantabola
