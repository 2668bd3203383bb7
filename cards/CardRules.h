// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules of the bingo cards, apart from any widget: the fixed blank cells of the four cards, the number
// range of each column, how a card's numbers are drawn, the card colours, and where the card window puts its
// frames and buttons for a number of cards.
//
// A card is 27 cells in 3 rows by 9 columns, numbered down the columns: cells 1, 2, 3 are the first column
// from top to bottom, 25, 26, 27 the last. A cell's role is told by its background colour alone: exactly
// white is a number cell, the card colour a blank, the mark colour a cell of card 1 the operator clicked.

#include "platform/Colour.h"
#include "platform/Seams.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace cantabola {

inline constexpr int cardCount = 4;
inline constexpr int cellsPerCard = 27;
inline constexpr int columnsPerCard = 9;
inline constexpr int rowsPerCard = 3;
inline constexpr int blanksPerCard = 12;

// Column (1 = left) and row (1 = top) of cell k (1 to 27).
constexpr int cellColumn(int k)
{
    return (k - 1) / rowsPerCard + 1;
}
constexpr int cellRow(int k)
{
    return (k - 1) % rowsPerCard + 1;
}

struct ColumnRange
{
    int lo;
    int hi;
};

// Lowest and highest number of column c (1 to 9): 1-9, 10-19, ..., 70-79, 80-90.
constexpr ColumnRange columnRange(int c)
{
    if (c <= 1)
        return {1, 9};
    if (c >= columnsPerCard)
        return {80, 90};
    return {10 * (c - 1), 10 * (c - 1) + 9};
}

// The blank cells of each card, the same at every opening: every row gets 5 numbers and 4 blanks, every
// column 1 or 2 numbers. Index 0 is card 1.
inline constexpr std::array<std::array<int, blanksPerCard>, cardCount> blankCells = {{
    {2, 4, 6, 8, 10, 12, 14, 16, 18, 19, 23, 27},
    {1, 3, 5, 7, 9, 10, 11, 15, 17, 19, 24, 26},
    {2, 4, 8, 9, 10, 11, 15, 16, 18, 20, 24, 25},
    {3, 5, 7, 8, 12, 14, 16, 18, 19, 21, 22, 26},
}};

constexpr bool isBlankCell(int card, int k)
{
    for (int blank : blankCells.at(static_cast<std::size_t>(card - 1))) {
        if (blank == k)
            return true;
    }
    return false;
}

// Colours of the cells and frames, 0x00BBGGRR.
inline constexpr ColourValue numberCellColour = 0x00FFFFFF;
// Palette entry 49: a value with high byte 1 names an entry of the window's palette.
inline constexpr ColourValue markColour = 0x01000031;
inline constexpr ColourValue designFrameColour = 0x0000C0C0;
inline constexpr ColourValue designShapeColour = 0x004D9AB0;

// The four card colours a window opens with, one picked at random at every opening.
inline constexpr std::array<ColourValue, 4> standardCardColours
    = {0x00826F4F, 0x0000C0C0, 0x00404000, 0x004D9AB0};

// Entry floor(4u) + 1 of the standard colours for a random value u in [0, 1).
ColourValue standardCardColour(double u);

// The shape inside a card frame is the card colour plus 80: a plain 32-bit addition, so the 80 lands on the
// red byte and carries into green and blue.
constexpr ColourValue frameShapeColour(ColourValue cardColour)
{
    return static_cast<ColourValue>(cardColour + 80U);
}

// The cells of the four cards as the filling needs them: a background to read, a caption to write and a
// repaint on the spot, so the cards visibly fill one number at a time.
class CardCells
{
public:
    virtual ~CardCells() = default;
    virtual ColourValue background(int card, int k) const = 0;
    virtual void setCaption(int card, int k, const std::string &caption) = 0;
    virtual void repaintNow(int card, int k) = 0;
};

// One draw for a column: round(lo + u (hi - lo)) in single precision, halves to the even neighbour.
int drawColumnValue(ColumnRange range, double u);

// Writes fresh numbers into every number cell (exactly white) of all four cards, shown or hidden, column by
// column from left to right. A column's first number is never its highest value and its second is above its
// first, so with one or two number cells a column has different numbers increasing downwards; a third number
// cell (only when the card colour itself is white) takes whatever comes up. Blank and marked cells keep their
// caption. The generator is only drawn from, never reseeded.
void FillCards(CardCells &cells, Random &random);

// Where the card window's three buttons go in a window of the given outer size, for buttons of the size of
// CmbElegirColor: one row, 200 twips apart, the last 200 twips inside the right edge, at half the height plus
// two button heights.
struct ButtonPlace
{
    float left;
    float top;
};

struct ButtonRow
{
    ButtonPlace elegirColor;
    ButtonPlace generar;
    ButtonPlace print;
};

ButtonRow PlaceButtons(float windowWidth, float windowHeight, float buttonWidth, float buttonHeight);

// The card window laid out by the number of cards it shows, from the main window's outer size (W, H).
struct CardLayout
{
    std::array<bool, cardCount> frameShown{true, true, true, true};
    float windowWidth = 0;
    float windowHeight = 0;
    std::optional<float> frame3Left; // set when frame 3 moves to the middle
    bool placeButtons = false;
};

// 1 card: a quarter-size window (half the width and height plus 200 twips each); 2 cards: half the height;
// 3 cards: the third card centred under the first two; anything else shows all four cards at full size.
CardLayout layoutForCards(std::uint8_t numberOfCards, float mainWidth, float mainHeight, float frame3Width);

} // namespace cantabola
