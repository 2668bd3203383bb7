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
#include "network/HttpRequest.h"
#include "network/PlayersBoard.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTimer>

class QTcpSocket;

namespace cantabola {

class BoardServer final : public QObject, public PlayersBoard
{
    Q_OBJECT

public:
    explicit BoardServer(BoardSources sources, QObject *parent = nullptr);
    ~BoardServer() override;

    void setListenAddress(const QHostAddress &address) { m_listenAddress = address; }

    bool start() override;
    void stop() override;
    bool isListening() const override { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    QString address() const override;
    int connectionCount() const { return static_cast<int>(m_connections.size()); }
    int liveCount() const override;

    void setPorts(quint16 first, quint16 last) override;
    void listenOnLoopbackOnly() override { setListenAddress(QHostAddress::LocalHost); }
    void setLimits(const BoardLimits &limits) override { m_limits = limits; }

    void gameChanged() override;
    void showPrize(const QString &prize, const QStringList &winners) override;
    BoardState state() const override;

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
    void sendState(QTcpSocket *socket, Connection &connection);
    void caughtUp(QTcpSocket *socket);
    void sweep();
    void drop(QTcpSocket *socket);
    qint64 now() const { return m_clock.elapsed(); }

    BoardSources m_sources;
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
