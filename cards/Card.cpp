// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/Card.h"

#include <algorithm>

namespace cantabola {

Card::Card(std::span<const int> blanks)
{
    for (const int k : blanks)
        at(k).blank = true;
}

int Card::numberCount() const
{
    return static_cast<int>(
        std::count_if(m_cells.begin(), m_cells.end(), [](CardCell c) { return c.number; }));
}

ColourValue Card::background(int k) const
{
    const CardCell &c = cell(k);
    if (c.marked)
        return markColour;
    return c.blank ? m_colour : numberCellColour;
}

void Card::paint(ColourValue colour)
{
    m_colour = colour;
    for (CardCell &c : m_cells) {
        if (c.blank)
            c.marked = false;
    }
}

void Card::mark(int k)
{
    at(k).marked = true;
}

void Card::setNumber(int k, int number)
{
    at(k).number = static_cast<std::uint8_t>(number);
}

} // namespace cantabola
