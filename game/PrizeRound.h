// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The prizes of a game played with cards in play: a line, then two lines when the hall plays them, then a
// bingo. After each ball the cards that complete the prize being played are announced; the operator pays
// the prize (the next one is played) or goes on without paying (the card was not sold, or its player is not
// there), and then that prize stays open for other cards while the cards already announced for it are not
// announced again. Taking back the ball that won a prize not yet paid takes the prize back too.

#include "game/CardsInPlay.h"

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

namespace cantabola {

class Game;

struct PrizeWin
{
    Prize prize = Prize::Line;
    qint64 serial = 0;
    std::uint32_t card = 0; // index in the cards in play
    std::array<bool, 3> rows{}; // the complete rows (0 = top) when it won
    int ball = 0; // the ball that won it
};

// "Línea", "Dos líneas", "Bingo".
QString prizeName(Prize prize);
// "¡Línea! Cartón Nº 123 (fila 2).", "¡Dos líneas! Cartón Nº 123 (filas 1 y 3).", "¡Bingo! Cartón Nº 123."
QString prizeText(const PrizeWin &win);

class PrizeRound : public QObject
{
    Q_OBJECT

public:
    explicit PrizeRound(const Game &game, QObject *parent = nullptr);

    // The cards in play from now on, the balls already out counted on them; none: no prizes are looked for.
    void setCards(CardsInPlay cards);
    const CardsInPlay &cards() const { return m_cards; }
    bool active() const { return m_cards.size() > 0; }
    // Whether "Dos líneas" is played between the line and the bingo.
    void setTwoLines(bool on);
    bool twoLines() const { return m_twoLines; }

    // The prize being played; none once the bingo is paid (or with no cards in play).
    std::optional<Prize> playing() const;
    // The winners announced and waiting for the operator's word.
    const std::vector<PrizeWin> &announced() const { return m_open; }

    // "Premio pagado": the prize is paid; the next one is played, and cards that already hold it win it now.
    void pay();
    // "Seguir sin pagar": the prize stays open for other cards.
    void goOnUnpaid();

    // What a saved game keeps of the round: the prizes paid so far and the cards passed over unpaid.
    int paidCount() const { return m_paid; }
    std::vector<qint64> passedOver() const;
    void restore(int paidCount, const std::vector<qint64> &passedOver);

signals:
    // New winners are in announced(): the calling is to stop and the operator to be asked.
    void prizeWon();
    // The ball that won the prize being announced went back in the drum: nothing is announced any more.
    void prizeWithdrawn();
    // The prize being played changed (paid, a new game, other cards in play).
    void playingChanged();

private:
    void ballDrawn(int n);
    void ballTakenBack(int n);
    void startOver();
    void replay();
    // The prizes of the game in order.
    std::vector<Prize> sequence() const;
    void announce(const std::vector<std::uint32_t> &cards, int ball);

    const Game &m_game;
    CardsInPlay m_cards;
    bool m_twoLines = false;
    int m_paid = 0; // prizes of sequence() paid
    std::vector<PrizeWin> m_open; // announced, not yet paid nor passed over
    std::vector<PrizeWin> m_passed; // announced and passed over, for the prize being played
};

} // namespace cantabola
