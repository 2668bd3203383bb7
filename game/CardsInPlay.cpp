// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/CardsInPlay.h"

#include <algorithm>

namespace cantabola {

CardsInPlay::CardsInPlay(std::vector<CardInPlay> cards)
    : m_cards(std::move(cards))
{
    std::sort(m_cards.begin(), m_cards.end(),
              [](const CardInPlay &a, const CardInPlay &b) { return a.serial < b.serial; });
    m_cards.erase(std::unique(m_cards.begin(), m_cards.end(),
                              [](const CardInPlay &a, const CardInPlay &b) { return a.serial == b.serial; }),
                  m_cards.end());
    m_numbersInRow.assign(3 * m_cards.size(), 0);
    std::array<std::size_t, 91> perNumber{};
    for (const CardInPlay &card : m_cards) {
        for (const int n : card.cells) {
            if (n >= 1 && n <= 90)
                ++perNumber[static_cast<std::size_t>(n)];
        }
    }
    for (std::size_t n = 1; n <= 90; ++n)
        m_rowsOf[n].reserve(perNumber[n]);
    // Cards go in by index, so each number's rows stay in order of serial.
    for (std::size_t index = 0; index < m_cards.size(); ++index) {
        for (std::size_t k = 0; k < 27; ++k) {
            const int n = m_cards[index].cells[k];
            if (n < 1 || n > 90)
                continue;
            const std::size_t row = k % 3;
            ++m_numbersInRow[3 * index + row];
            m_rowsOf[static_cast<std::size_t>(n)].push_back(static_cast<std::uint32_t>(index * 4 + row));
        }
    }
    reset();
}

std::vector<std::uint32_t> CardsInPlay::draw(int n, int rows)
{
    std::vector<std::uint32_t> reached;
    if (n < 1 || n > 90)
        return reached;
    for (const std::uint32_t entry : m_rowsOf[static_cast<std::size_t>(n)]) {
        const std::uint32_t index = entry / 4;
        if (--m_missing[3 * index + entry % 4] == 0 && ++m_complete[index] == rows)
            reached.push_back(index);
    }
    // A card holding n in two rows (a card printed all white) would be listed in order already; one whose
    // rows both complete lists itself once, as its count passes `rows` once.
    return reached;
}

void CardsInPlay::takeBack(int n)
{
    if (n < 1 || n > 90)
        return;
    for (const std::uint32_t entry : m_rowsOf[static_cast<std::size_t>(n)]) {
        const std::uint32_t index = entry / 4;
        if (m_missing[3 * index + entry % 4]++ == 0)
            --m_complete[index];
    }
}

void CardsInPlay::reset()
{
    m_missing = m_numbersInRow;
    m_complete.assign(m_cards.size(), 0);
    // A row with no number at all (never on a printed card) can never be completed by a ball.
    for (std::uint8_t &missing : m_missing) {
        if (missing == 0)
            missing = 1;
    }
}

std::array<bool, 3> CardsInPlay::rowsComplete(std::size_t index) const
{
    return {m_missing[3 * index] == 0, m_missing[3 * index + 1] == 0, m_missing[3 * index + 2] == 0};
}

std::vector<std::uint32_t> CardsInPlay::cardsWith(int rows) const
{
    std::vector<std::uint32_t> found;
    for (std::size_t index = 0; index < m_complete.size(); ++index) {
        if (m_complete[index] >= rows)
            found.push_back(static_cast<std::uint32_t>(index));
    }
    return found;
}

} // namespace cantabola
