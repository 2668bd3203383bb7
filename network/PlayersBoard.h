// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The players' board as the program drives it. The server behind it (BoardServer) needs Qt Network, which
// brings a dozen libraries of its own (Kerberos, the proxy resolver and theirs); the program does not link
// it but loads it with the board library the first time the operator serves the board (DeferredBoard), so
// an evening without the board never loads them, and no start-up waits for them.

#include "network/BoardState.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

namespace cantabola {

// What the board reads of the program: the balls drawn so far, in their order, and a registered card by its
// serial.
struct BoardSources
{
    using CardSource = std::function<std::optional<PrintedCard>(qint64 serial)>;
    std::function<std::vector<int>()> balls;
    CardSource cards;
};

// The file the board library is built as, in the program's folder, and the function in it that makes the
// board: PlayersBoard *cantabola_create_board(const BoardSources *).
inline constexpr const char *BoardLibraryFileName = "cantabola_board.so";
inline constexpr const char *BoardLibraryEntry = "cantabola_create_board";

struct BoardLimits
{
    int connections = 500; // open at once; more are answered 503 and closed
    int idleMs = 30000; // a request not complete by then, or a reader stuck that long, is closed
    qint64 queueBytes = qint64{16} * 1024; // unsent to one reader before its messages are dropped
    int keepAliveMs = 15000; // a comment on a quiet live channel, so that a dead one is found out
};

class PlayersBoard
{
public:
    static constexpr quint16 firstPort = 8090;
    static constexpr quint16 lastPort = 8099;

    PlayersBoard() = default;
    virtual ~PlayersBoard() = default;
    PlayersBoard(const PlayersBoard &) = delete;
    PlayersBoard &operator=(const PlayersBoard &) = delete;

    // Listens on the first free port of the range; false when none is free (or the board cannot be served).
    virtual bool start() = 0;
    // Closes every connection and the port at once.
    virtual void stop() = 0;
    virtual bool isListening() const = 0;
    // The page's address as a phone in the hall opens it, while the board is served:
    // "http://192.168.1.20:8090".
    virtual QString address() const = 0;
    // Phones currently listening to the live channel.
    virtual int liveCount() const = 0;

    virtual void setPorts(quint16 first, quint16 last) = 0;
    // Every address of the machine unless told otherwise (the tests and the benchmark listen on the loopback
    // address only).
    virtual void listenOnLoopbackOnly() = 0;
    virtual void setLimits(const BoardLimits &limits) = 0;

    // The game changed: every page is sent the state.
    virtual void gameChanged() = 0;
    // For the prizes, once cards are played for them: the prize being played and the winners announced (empty
    // when none), sent to every page at once.
    virtual void showPrize(const QString &prize, const QStringList &winners) = 0;
    // The state every page is sent now.
    virtual BoardState state() const = 0;
};

} // namespace cantabola
