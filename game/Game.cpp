// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/Game.h"

#include "voice/DecirNumero.h"

#include <QCoreApplication>

namespace cantabola {

namespace {
// One-by-one, the start command comes back once the announcement has had this long.
constexpr double oneByOnePause = 0.7;
} // namespace

Game::Game(Seams seams, QObject *parent)
    : QObject(parent)
    , m_seams(seams)
{
    m_order.reserve(90);
    m_times.reserve(90);
}

void Game::startOrStop()
{
    if (!m_automatic) {
        SacarBola(false);
        return;
    }
    if (m_run != RunState::Calling) {
        setRunState(RunState::Calling);
        SacarBola(true);
    }
    // A stop arrives here nested inside the wait of the run it stops: the controls come back at once, and the
    // run ends when its wait is over and it finds itself stopped.
    if (m_run == RunState::Calling)
        setRunState(RunState::Idle);
}

void Game::SacarBola(bool automatico)
{
    m_seams.random.reseed(m_seams.clock.secondsSinceMidnight());

    if (!automatico) {
        // The start command stays away until the announcement has had its pause, so a second click cannot cut
        // it short.
        setRunState(RunState::Drawing);
        if (BolasSacadas() == 90) {
            endOfGame();
            return;
        }
        drawStep();
        m_seams.waiter.waitDispatching(oneByOnePause);
        setRunState(RunState::Idle);
        return;
    }

    if (BolasSacadas() == 90) {
        endOfGame();
        return;
    }
    for (;;) {
        drawStep();
        m_seams.waiter.waitDispatching(m_delaySeconds);
        if (m_run != RunState::Calling)
            return;
        QCoreApplication::processEvents();
        if (BolasSacadas() >= 90) {
            endOfGame();
            return;
        }
    }
}

void Game::drawStep()
{
    if (BolasSacadas() >= 90)
        return; // an empty drum has no ball to give
    Random &random = m_seams.random;
    const int n = chooseBall(m_drawn, [&random] { return random.next(); });
    m_drawn[static_cast<std::size_t>(n)] = true;
    m_order.push_back(n);
    m_times.push_back(m_seams.clock.dateTime());

    // The number is on the screen before it is announced: a tens word holds the thread while it is spoken.
    keep();
    emit ballDrawn(n);
    if (m_voice)
        DecirNumero(m_seams.sound, n);
    else
        m_seams.sound.play(QStringLiteral("pac.wav"), PlayMode::Async);
}

void Game::endOfGame()
{
    if (!m_question)
        return;
    if (!m_question->playAgain()) {
        // Over for good: nothing is left to take up at the next start.
        if (m_seams.record)
            m_seams.record->keep({}, {});
        emit gameFinished();
        return;
    }
    newGame();
    // The start command is offered again.
    if (m_run == RunState::Drawing)
        setRunState(RunState::Idle);
}

void Game::newGame()
{
    m_drawn.fill(false);
    m_order.clear();
    m_times.clear();
    keep();
    emit drumReset();
}

bool Game::takeBackLastBall()
{
    if (m_order.empty() || m_run == RunState::Calling)
        return false;
    const int n = m_order.back();
    m_order.pop_back();
    m_times.pop_back();
    m_drawn[static_cast<std::size_t>(n)] = false;
    keep();
    emit ballTakenBack(n);
    return true;
}

void Game::repeatNumber()
{
    if (const int n = NumEnJuego())
        DecirNumeroSinEsperar(m_seams.sound, n);
}

void Game::keep()
{
    if (m_seams.record)
        m_seams.record->keep(m_order, m_times);
}

void Game::restore(const std::vector<int> &order, const std::vector<QDateTime> &times)
{
    if (!m_order.empty() || order.size() != times.size() || order.size() > 90)
        return;
    // Not a game, nothing of it is taken up: every ball 1 to 90, none twice.
    DrawnFlags drawn{};
    for (const int n : order) {
        if (n < 1 || n > 90 || drawn[static_cast<std::size_t>(n)])
            return;
        drawn[static_cast<std::size_t>(n)] = true;
    }
    m_drawn = drawn;
    m_order = order;
    m_times = times;
    emit gameRestored();
}

void Game::setRunState(RunState state)
{
    if (state == m_run)
        return;
    m_run = state;
    emit runStateChanged(state);
}

} // namespace cantabola
