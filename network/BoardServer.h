// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The players' board: the game served on the hall's own network, for every phone that opens its address. It
// serves one page and what the page reads (the state, a card by its serial, the live channel) and nothing
// else; no request can change anything.
//
// It runs on the one thread of the program, and never holds it up: every socket is non-blocking, a request's
// head is bounded, and a reader too slow to keep up has its messages dropped and is sent the whole state once
// it has caught up. Every message is the whole state, which is small (a few hundred bytes), so a page never
// has to piece a game together from pieces it may have missed.
//
// The live channel is server-sent events (GET /eventos) rather than WebSocket: it is plain HTTP, so the same
// parser, routes and limits cover it; it needs no library beyond Qt Network; it passes the proxies some
// halls' Wi-Fi puts in the way; and the browser's EventSource reconnects by itself after a phone wakes or the
// Wi-Fi comes back. The page only listens, which is all that server-sent events carry.

#include "cards/PrintedCard.h"
#include "network/BoardState.h"
#include "network/HttpRequest.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <functional>
#include <optional>

class QTcpSocket;

namespace cantabola {

class Game;

struct BoardLimits
{
    int connections = 500; // open at once; more are answered 503 and closed
    int idleMs = 30000; // a request not complete by then, or a reader stuck that long, is closed
    qint64 queueBytes = qint64{16} * 1024; // unsent to one reader before its messages are dropped
    int keepAliveMs = 15000; // a comment on a quiet live channel, so that a dead one is found out
};

class BoardServer : public QObject
{
    Q_OBJECT

public:
    using CardSource = std::function<std::optional<PrintedCard>(qint64 serial)>;
    static constexpr quint16 firstPort = 8090;
    static constexpr quint16 lastPort = 8099;

    BoardServer(const Game &game, CardSource cards, QObject *parent = nullptr);
    ~BoardServer() override;
    BoardServer(const BoardServer &) = delete;
    BoardServer &operator=(const BoardServer &) = delete;

    // Every address of the machine unless told otherwise (the tests listen on the loopback address only).
    void setListenAddress(const QHostAddress &address) { m_listenAddress = address; }
    void setPorts(quint16 first, quint16 last);
    void setLimits(const BoardLimits &limits) { m_limits = limits; }

    // Listens on the first free port of the range; false when none is free.
    bool start();
    // Closes every connection and the port at once.
    void stop();
    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    // The page's address as a phone in the hall opens it: "http://192.168.1.20:8090".
    QString address() const;
    int connectionCount() const { return static_cast<int>(m_connections.size()); }
    int liveCount() const;

    // Observes the game after every observer connected so far, so that a ball is painted on the operator's
    // window and the room's screen before the phones are sent it; again whenever the room's screen opens.
    void followGameLast();

    // For the prizes, once cards are played for them: the prize being played and the winners announced (empty
    // when none), sent to every page at once.
    void showPrize(const QString &prize, const QStringList &winners);
    // The state every page is sent now.
    BoardState state() const;

private:
    struct Connection
    {
        QByteArray received;
        qint64 lastHeardMs = 0;
        qint64 lastSentMs = 0;
        qint64 behindSinceMs = -1; // messages dropped since then; -1 when keeping up
        quint64 version = 0; // of the last state sent
        bool live = false;
        bool answered = false; // the answer is on its way; the connection closes once it has gone
    };

    void acceptPending();
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, Connection &connection, const HttpRequest &request);
    void publish();
    void sendState(QTcpSocket *socket, Connection &connection);
    void caughtUp(QTcpSocket *socket);
    void sweep();
    void drop(QTcpSocket *socket);
    qint64 now() const { return m_clock.elapsed(); }

    const Game &m_game;
    CardSource m_cards;
    QTcpServer m_server;
    QHostAddress m_listenAddress = QHostAddress::Any;
    quint16 m_firstPort = firstPort;
    quint16 m_lastPort = lastPort;
    BoardLimits m_limits;
    QHash<QTcpSocket *, Connection> m_connections;
    QString m_prize;
    QStringList m_winners;
    quint64 m_version = 1;
    QByteArray m_message; // the state as a live message, for m_version
    QTimer m_sweep;
    QElapsedTimer m_clock;
};

// The machine's address on its active network: the first interface up and running that is not the loopback,
// with an IPv4 address; the loopback address when there is none.
QHostAddress machineAddress();

} // namespace cantabola
