// SPDX-License-Identifier: GPL-3.0-or-later
#include "network/DeferredBoard.h"

#include "game/Game.h"
#include "platform/Logging.h"

#include <QLibrary>
#include <utility>

namespace cantabola {

DeferredBoard::DeferredBoard(const Game &game, BoardSources::CardSource cards, QString libraryPath)
    : m_game(game)
    , m_cards(std::move(cards))
    , m_libraryPath(std::move(libraryPath))
{
}

// The server closes its port and connections. The library stays loaded until the process ends.
DeferredBoard::~DeferredBoard() = default;

bool DeferredBoard::load()
{
    if (m_tried)
        return m_server != nullptr;
    m_tried = true;
    // A QLibrary does not unload what it loaded when it goes.
    QLibrary library(m_libraryPath);
    using Entry = PlayersBoard *(*)(const BoardSources *);
    const auto entry = reinterpret_cast<Entry>(library.resolve(BoardLibraryEntry));
    if (!entry) {
        qCDebug(lcGame) << "players' board: no board library:" << library.errorString();
        return false;
    }
    const Game *game = &m_game;
    const BoardSources sources{[game] { return game->drawOrder(); }, m_cards};
    m_server.reset(entry(&sources));
    if (m_ports)
        m_server->setPorts(m_ports->first, m_ports->second);
    if (m_loopbackOnly)
        m_server->listenOnLoopbackOnly();
    if (m_limits)
        m_server->setLimits(*m_limits);
    m_server->showPrize(m_prize, m_winners);
    return true;
}

void DeferredBoard::followGameLast()
{
    disconnect(&m_game, nullptr, this, nullptr);
    if (!isListening())
        return;
    connect(&m_game, &Game::ballDrawn, this, &DeferredBoard::gameChanged);
    connect(&m_game, &Game::ballTakenBack, this, &DeferredBoard::gameChanged);
    connect(&m_game, &Game::drumReset, this, &DeferredBoard::gameChanged);
    connect(&m_game, &Game::gameRestored, this, &DeferredBoard::gameChanged);
}

bool DeferredBoard::start()
{
    const bool listening = load() && m_server->start();
    followGameLast();
    return listening;
}

void DeferredBoard::stop()
{
    if (m_server)
        m_server->stop();
    followGameLast();
}

bool DeferredBoard::isListening() const
{
    return m_server && m_server->isListening();
}

QString DeferredBoard::address() const
{
    return m_server ? m_server->address() : QString();
}

int DeferredBoard::liveCount() const
{
    return m_server ? m_server->liveCount() : 0;
}

void DeferredBoard::setPorts(quint16 first, quint16 last)
{
    m_ports = std::make_pair(first, last);
    if (m_server)
        m_server->setPorts(first, last);
}

void DeferredBoard::listenOnLoopbackOnly()
{
    m_loopbackOnly = true;
    if (m_server)
        m_server->listenOnLoopbackOnly();
}

void DeferredBoard::setLimits(const BoardLimits &limits)
{
    m_limits = limits;
    if (m_server)
        m_server->setLimits(limits);
}

void DeferredBoard::gameChanged()
{
    if (isListening())
        m_server->gameChanged();
}

void DeferredBoard::showPrize(const QString &prize, const QStringList &winners)
{
    m_prize = prize;
    m_winners = winners;
    if (m_server)
        m_server->showPrize(prize, winners);
}

BoardState DeferredBoard::state() const
{
    return m_server ? m_server->state() : BoardState{m_game.drawOrder(), m_prize, m_winners};
}

} // namespace cantabola
