// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/CardRules.h"

#include <algorithm>
#include <cmath>

namespace cantabola {

ColourValue standardCardColour(double u)
{
    // 4u in single precision, like the draw itself; a u just below 1 may round up to 4 there, which the last
    // entry takes.
    const float scaled = 4.0F * static_cast<float>(u);
    const int entry = std::clamp(static_cast<int>(std::floor(scaled)) + 1, 1, 4);
    return standardCardColours.at(static_cast<std::size_t>(entry - 1));
}

int drawColumnValue(ColumnRange range, double u)
{
    // Every operand a float, each step rounded to single precision (the build is ISO C++, where GCC does not
    // fuse the multiply and the add). nearbyint rounds halves to even in the default rounding mode.
    const auto span = static_cast<float>(range.hi - range.lo);
    const float product = static_cast<float>(u) * span;
    const float value = static_cast<float>(range.lo) + product;
    return static_cast<int>(std::nearbyint(value));
}

std::array<Card, cardCount> standardCards()
{
    std::array<Card, cardCount> cards;
    for (std::size_t i = 0; i < cards.size(); ++i)
        cards.at(i) = Card(blankCells.at(i));
    return cards;
}

void FillCards(std::span<Card> cards, Random &random, const CellFilled &filled)
{
    for (std::size_t index = 0; index < cards.size(); ++index) {
        Card &card = cards[index];
        for (int column = 1; column <= columnsPerCard; ++column) {
            const ColumnRange range = columnRange(column);
            int attempt = 0; // number cells of this column drawn so far, counting the one being drawn
            int first = 0; // the column's first number
            for (int row = 1; row <= rowsPerCard; ++row) {
                const int k = cellAt(row, column);
                if (!card.takesNumber(k))
                    continue;
                int value = 0;
                for (;;) {
                    ++attempt;
                    value = drawColumnValue(range, random.next());
                    if (attempt == 1) {
                        // The highest value is left for a number below, so a second one can always be found.
                        if (value < range.hi) {
                            first = value;
                            break;
                        }
                        attempt = 0;
                    } else if (attempt == 2) {
                        if (value > first)
                            break;
                        attempt = 1;
                    } else {
                        break; // a third number cell takes its draw as it comes
                    }
                }
                card.setNumber(k, value);
                if (filled)
                    filled(static_cast<int>(index) + 1, k);
            }
        }
    }
}

ButtonRow PlaceButtons(float windowWidth, float windowHeight, float buttonWidth, float buttonHeight)
{
    const float top = windowHeight / 2 + 2 * buttonHeight;
    return {
        {windowWidth - 3 * buttonWidth - 600, top},
        {windowWidth - 2 * buttonWidth - 400, top},
        {windowWidth - buttonWidth - 200, top},
    };
}

CardLayout layoutForCards(std::uint8_t numberOfCards, float mainWidth, float mainHeight, float frame3Width)
{
    CardLayout layout;
    layout.windowWidth = mainWidth;
    layout.windowHeight = mainHeight;
    switch (numberOfCards) {
    case 1:
        layout.frameShown = {true, false, false, false};
        layout.windowWidth = mainWidth / 2 + 200;
        layout.windowHeight = mainHeight / 2 + 200;
        layout.placeButtons = true;
        break;
    case 2:
        layout.frameShown = {true, true, false, false};
        layout.windowHeight = mainHeight / 2 + 200;
        layout.placeButtons = true;
        break;
    case 3:
        layout.frameShown = {true, true, true, false};
        layout.frame3Left = mainWidth / 2 - frame3Width / 2;
        break;
    default:
        break; // 0 (no card item chosen yet), 4 and anything else: all four, as designed
    }
    return layout;
}

} // namespace cantabola
