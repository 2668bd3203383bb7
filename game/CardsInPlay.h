// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The printed cards sold for this game, indexed for the draw: for each number, the rows of the cards that
// hold it, and for each row how many of its numbers are still in the drum. A ball then touches only its own
// rows, so the winners of a hall of a hundred thousand cards are known as the ball is drawn, without looking
// at any other card.
//
// A line is one whole row of a card, two lines two rows of the same card, a bingo all three.

#include <QtGlobal>
#include <array>
#include <cstdint>
#include <vector>

namespace cantabola {

// The complete rows a prize needs.
enum class Prize { Line = 1, TwoLines = 2, Bingo = 3 };

struct CardInPlay
{
    qint64 serial = 0;
    std::array<int, 27> cells{}; // down the columns; 0 is a blank
};

class CardsInPlay
{
public:
    CardsInPlay() = default;
    // The cards, any order; they are kept in order of serial, and a serial given twice counts once.
    explicit CardsInPlay(std::vector<CardInPlay> cards);

    std::size_t size() const { return m_cards.size(); }
    const CardInPlay &card(std::size_t index) const { return m_cards[index]; }

    // Ball n is out. Returns the cards (indexes, in order of serial) whose complete rows reached `rows` with
    // this very ball.
    std::vector<std::uint32_t> draw(int n, int rows);
    // Ball n is back in the drum.
    void takeBack(int n);
    // Every ball back in the drum.
    void reset();

    int completeRows(std::size_t index) const { return m_complete[index]; }
    // Which rows (0 = top) of a card are complete.
    std::array<bool, 3> rowsComplete(std::size_t index) const;
    // The cards with at least `rows` complete rows now, in order of serial.
    std::vector<std::uint32_t> cardsWith(int rows) const;

private:
    std::vector<CardInPlay> m_cards;
    std::vector<std::uint8_t> m_numbersInRow; // 3 a card: how many numbers each row holds
    std::vector<std::uint8_t> m_missing; // 3 a card: how many of them are still in the drum
    std::vector<std::uint8_t> m_complete; // a card's complete rows
    std::array<std::vector<std::uint32_t>, 91> m_rowsOf; // number -> card index * 4 + row
};

} // namespace cantabola
