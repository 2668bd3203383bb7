// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules of the bingo cards, apart from any widget: the fixed blank cells of the four cards, the number
// range of each column, how a card's numbers are drawn, the card colours, and where the card window puts its
// frames and buttons for a number of cards. What a card is: cards/Card.h.

#include "cards/Card.h"
#include "platform/Seams.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace cantabola {

inline constexpr int cardCount = 4;
inline constexpr int blanksPerCard = 12;

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

// The four cards as the window opens them, before they are painted.
std::array<Card, cardCount> standardCards();

// Colours of the frames, 0x00BBGGRR.
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

// One draw for a column: round(lo + u (hi - lo)) in single precision, halves to the even neighbour.
int drawColumnValue(ColumnRange range, double u);

// Writes fresh numbers into every cell that takes one (exactly white) of the cards, card by card, column by
// column from left to right. A column's first number is never its highest value and its second is above its
// first, so with one or two number cells a column has different numbers increasing downwards; a third number
// cell (only when the card colour itself is white) takes whatever comes up. Blank and marked cells keep their
// number. The generator is only drawn from, never reseeded. filled is told of each cell (card 1 is the
// first of cards) as soon as its number is written, so that a window shows the cards filling one number at
// a time.
using CellFilled = std::function<void(int card, int k)>;
void FillCards(std::span<Card> cards, Random &random, const CellFilled &filled = {});

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
