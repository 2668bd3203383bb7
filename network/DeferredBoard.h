// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "network/PlayersBoard.h"

#include <QObject>
#include <memory>
#include <optional>
#include <utility>

namespace cantabola {

class Game;

// The players' board as the program holds it: the board library (cantabola_board.so, in the program's
// folder) is loaded the first time the board is served, on the user-interface thread like everything else,
// and the server it makes does the rest. Until then the board is off and keeps what it is told (ports,
// prizes), so that the server starts from it.
//
// While the board is served it observes the game for the server, after every observer connected so far: a
// ball is painted on the operator's window and the room's screen before the phones are sent it.
//
// A library that is missing, cannot be loaded or has no entry leaves the board off: start() returns false
// and the reason goes to the cantabola.game logging category.
class DeferredBoard final : public QObject, public PlayersBoard
{
    Q_OBJECT

public:
    DeferredBoard(const Game &game, BoardSources::CardSource cards, QString libraryPath);
    ~DeferredBoard() override;

    // Whether the library was asked for and could not be loaded.
    bool libraryMissing() const { return m_tried && !m_server; }
    // Observes the game again, after every observer connected so far (as the room's screen opens), while the
    // board is served.
    void followGameLast();

    bool start() override;
    void stop() override;
    bool isListening() const override;
    QString address() const override;
    int liveCount() const override;
    void setPorts(quint16 first, quint16 last) override;
    void listenOnLoopbackOnly() override;
    void setLimits(const BoardLimits &limits) override;
    void gameChanged() override;
    void showPrize(const QString &prize, const QStringList &winners) override;
    BoardState state() const override;

private:
    bool load();

    const Game &m_game;
    BoardSources::CardSource m_cards;
    QString m_libraryPath;
    bool m_tried = false;
    std::unique_ptr<PlayersBoard> m_server;
    // Told before the server was made.
    std::optional<std::pair<quint16, quint16>> m_ports;
    bool m_loopbackOnly = false;
    std::optional<BoardLimits> m_limits;
    QString m_prize;
    QStringList m_winners;
};

} // namespace cantabola
