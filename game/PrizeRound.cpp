// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/PrizeRound.h"

#include "cards/PrintedCard.h"
#include "game/Game.h"

#include <algorithm>

namespace cantabola {

QString prizeName(Prize prize)
{
    switch (prize) {
    case Prize::Line:
        return QStringLiteral("Línea");
    case Prize::TwoLines:
        return QStringLiteral("Dos líneas");
    case Prize::Bingo:
        break;
    }
    return QStringLiteral("Bingo");
}

QString prizeText(const PrizeWin &win)
{
    const QString card = QStringLiteral("Cartón %1").arg(serialText(win.serial));
    if (win.prize == Prize::Bingo)
        return QStringLiteral("¡Bingo! %1.").arg(card);
    QStringList rows;
    for (std::size_t r = 0; r < win.rows.size(); ++r) {
        if (win.rows[r])
            rows << QString::number(r + 1);
    }
    const QString where = rows.size() == 1
        ? QStringLiteral("fila %1").arg(rows.front())
        : QStringLiteral("filas %1 y %2")
              .arg(rows.mid(0, rows.size() - 1).join(QStringLiteral(", ")), rows.back());
    return QStringLiteral("¡%1! %2 (%3).").arg(prizeName(win.prize), card, where);
}

PrizeRound::PrizeRound(const Game &game, QObject *parent)
    : QObject(parent)
    , m_game(game)
{
    connect(&game, &Game::ballDrawn, this, &PrizeRound::ballDrawn);
    connect(&game, &Game::ballTakenBack, this, &PrizeRound::ballTakenBack);
    connect(&game, &Game::drumReset, this, &PrizeRound::startOver);
    connect(&game, &Game::gameRestored, this, &PrizeRound::replay);
}

std::vector<Prize> PrizeRound::sequence() const
{
    if (m_twoLines)
        return {Prize::Line, Prize::TwoLines, Prize::Bingo};
    return {Prize::Line, Prize::Bingo};
}

std::optional<Prize> PrizeRound::playing() const
{
    const std::vector<Prize> prizes = sequence();
    if (!active() || m_paid >= static_cast<int>(prizes.size()))
        return std::nullopt;
    return prizes[static_cast<std::size_t>(m_paid)];
}

void PrizeRound::setCards(CardsInPlay cards)
{
    m_cards = std::move(cards);
    m_open.clear();
    m_passed.clear();
    replay();
}

void PrizeRound::setTwoLines(bool on)
{
    if (on == m_twoLines)
        return;
    m_twoLines = on;
    emit playingChanged();
}

void PrizeRound::replay()
{
    // The balls out are counted without announcing: what they won was dealt with when they came out.
    m_cards.reset();
    for (const int n : m_game.drawOrder())
        m_cards.draw(n, 0);
    emit playingChanged();
}

void PrizeRound::startOver()
{
    m_cards.reset();
    m_paid = 0;
    const bool hadOpen = !m_open.empty();
    m_open.clear();
    m_passed.clear();
    if (hadOpen)
        emit prizeWithdrawn();
    emit playingChanged();
}

void PrizeRound::announce(const std::vector<std::uint32_t> &cards, int ball)
{
    const std::optional<Prize> prize = playing();
    if (!prize)
        return;
    const auto already = [this](std::uint32_t card) {
        const auto same = [card](const PrizeWin &win) {
            return win.card == card;
        };
        return std::any_of(m_open.begin(), m_open.end(), same)
            || std::any_of(m_passed.begin(), m_passed.end(), same);
    };
    bool any = false;
    for (const std::uint32_t card : cards) {
        if (already(card))
            continue;
        m_open.push_back({*prize, m_cards.card(card).serial, card, m_cards.rowsComplete(card), ball});
        any = true;
    }
    if (any)
        emit prizeWon();
}

void PrizeRound::ballDrawn(int n)
{
    if (!active())
        return;
    const std::optional<Prize> prize = playing();
    const std::vector<std::uint32_t> reached = m_cards.draw(n, prize ? static_cast<int>(*prize) : 0);
    if (prize)
        announce(reached, n);
}

void PrizeRound::ballTakenBack(int n)
{
    if (!active())
        return;
    m_cards.takeBack(n);
    const auto wonBy = [n](const PrizeWin &win) {
        return win.ball == n;
    };
    // A card passed over may win again once it no longer holds the prize. Which ball won it is not kept with
    // a saved game, so it is what the card holds now that decides.
    if (const std::optional<Prize> prize = playing()) {
        const std::vector<std::uint32_t> holding = m_cards.cardsWith(static_cast<int>(*prize));
        const auto noLongerHolds = [&holding](const PrizeWin &win) {
            return std::find(holding.begin(), holding.end(), win.card) == holding.end();
        };
        m_passed.erase(std::remove_if(m_passed.begin(), m_passed.end(), noLongerHolds), m_passed.end());
    }
    const auto before = m_open.size();
    m_open.erase(std::remove_if(m_open.begin(), m_open.end(), wonBy), m_open.end());
    if (m_open.size() != before && m_open.empty())
        emit prizeWithdrawn();
}

void PrizeRound::pay()
{
    if (!playing())
        return;
    m_open.clear();
    m_passed.clear();
    ++m_paid;
    emit playingChanged();
    // A card may already hold the next prize: it wins it with the ball that is out now.
    if (const std::optional<Prize> next = playing(); next && !m_game.drawOrder().empty())
        announce(m_cards.cardsWith(static_cast<int>(*next)), m_game.drawOrder().back());
}

void PrizeRound::goOnUnpaid()
{
    m_passed.insert(m_passed.end(), m_open.begin(), m_open.end());
    m_open.clear();
}

std::vector<qint64> PrizeRound::passedOver() const
{
    std::vector<qint64> serials;
    for (const PrizeWin &win : m_passed)
        serials.push_back(win.serial);
    return serials;
}

void PrizeRound::restore(int paidCount, const std::vector<qint64> &passedOver)
{
    m_paid = std::clamp(paidCount, 0, static_cast<int>(sequence().size()));
    m_open.clear();
    m_passed.clear();
    const std::optional<Prize> prize = playing();
    for (std::uint32_t card = 0; prize && card < m_cards.size(); ++card) {
        if (std::find(passedOver.begin(), passedOver.end(), m_cards.card(card).serial) != passedOver.end())
            m_passed.push_back({*prize, m_cards.card(card).serial, card, m_cards.rowsComplete(card), 0});
    }
    emit playingChanged();
    // A prize that was being announced when the game stopped is announced again.
    if (prize && !m_game.drawOrder().empty())
        announce(m_cards.cardsWith(static_cast<int>(*prize)), m_game.drawOrder().back());
}

} // namespace cantabola
