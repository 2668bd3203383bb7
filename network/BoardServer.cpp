// SPDX-License-Identifier: GPL-3.0-or-later
#include "network/BoardServer.h"

#include "platform/Logging.h"

#include <QFile>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <algorithm>

namespace cantabola {

namespace {

constexpr int liveSendBuffer = 32 * 1024;

QByteArray resource(const QString &name)
{
    QFile file(QStringLiteral(":/board/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 413:
        return "Content Too Large";
    case 431:
        return "Request Header Fields Too Large";
    case 503:
        return "Service Unavailable";
    default:
        return "HTTP Version Not Supported";
    }
}

// What every answer says: the page takes nothing from anywhere but here, is framed nowhere, and nothing it
// reads is kept by a cache, so a page reloaded or reconnected shows the game as it is now.
QByteArray headers(int status, const QByteArray &type)
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\nContent-Type: " + type
        + "\r\nCache-Control: no-store"
          "\r\nContent-Security-Policy: default-src 'self'; base-uri 'none'; form-action 'none'; "
          "frame-ancestors 'none'"
          "\r\nX-Content-Type-Options: nosniff"
          "\r\nReferrer-Policy: no-referrer"
          "\r\nConnection: close\r\n";
}

QByteArray response(int status, const QByteArray &type, const QByteArray &body, bool head = false,
                    const QByteArray &extra = {})
{
    return headers(status, type) + extra + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n"
        + (head ? QByteArray() : body);
}

QByteArray refusal(int status)
{
    return response(status, "text/plain; charset=utf-8", reason(status) + '\n', false,
                    status == 405 ? "Allow: GET, HEAD\r\n" : QByteArray());
}

} // namespace

BoardServer::BoardServer(BoardSources sources, QObject *parent)
    : QObject(parent)
    , m_sources(std::move(sources))
{
    m_clock.start();
    m_server.setMaxPendingConnections(100);
    // A hall's phones all come back at once when its Wi-Fi does.
    m_server.setListenBacklogSize(256);
    connect(&m_server, &QTcpServer::newConnection, this, &BoardServer::acceptPending);
    connect(&m_sweep, &QTimer::timeout, this, &BoardServer::sweep);
}

BoardServer::~BoardServer()
{
    stop();
}

void BoardServer::setPorts(quint16 first, quint16 last)
{
    m_firstPort = first;
    m_lastPort = last;
}

bool BoardServer::start()
{
    if (m_server.isListening())
        return true;
    // Whatever was said before the board went off is old news.
    ++m_version;
    m_message.clear();
    for (int port = m_firstPort; port <= m_lastPort; ++port) {
        if (m_server.listen(m_listenAddress, static_cast<quint16>(port)))
            return true;
    }
    qCDebug(lcGame) << "players' board: no free port from" << m_firstPort << "to" << m_lastPort;
    return false;
}

void BoardServer::stop()
{
    m_server.close();
    m_sweep.stop();
    const QList<QTcpSocket *> sockets = m_connections.keys();
    m_connections.clear();
    for (QTcpSocket *socket : sockets) {
        socket->disconnect();
        socket->abort();
        socket->deleteLater();
    }
}

QString BoardServer::address() const
{
    const QHostAddress shown
        = m_listenAddress == QHostAddress::Any || m_listenAddress == QHostAddress::AnyIPv4 ? machineAddress()
                                                                                           : m_listenAddress;
    return QStringLiteral("http://%1:%2").arg(shown.toString()).arg(port());
}

int BoardServer::liveCount() const
{
    return static_cast<int>(std::count_if(m_connections.cbegin(), m_connections.cend(),
                                          [](const Connection &connection) { return connection.live; }));
}

void BoardServer::showPrize(const QString &prize, const QStringList &winners)
{
    // The pages hear of a change only.
    if (prize == m_prize && winners == m_winners)
        return;
    m_prize = prize;
    m_winners = winners;
    gameChanged();
}

void BoardServer::acceptPending()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (m_connections.size() >= m_limits.connections) {
            // The game comes first: a full house is told so at once, and nothing more is kept of it.
            socket->write(refusal(503));
            socket->flush();
            socket->disconnectFromHost();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            if (socket->state() == QAbstractSocket::UnconnectedState)
                socket->deleteLater();
            continue;
        }
        // Qt reads no more than a head's worth ahead of us.
        socket->setReadBufferSize(maxRequestHead + 1);
        Connection &connection = m_connections[socket];
        connection.lastHeardMs = now();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { caughtUp(socket); });
        // Later, never in the middle of a write: a write that finds the reader gone reports it at once, maybe
        // while every reader is being sent a draw. (With the socket as the context, nothing is left to run
        // once it is deleted.)
        const auto dropLater = [this, socket] {
            drop(socket);
        };
        connect(socket, &QTcpSocket::disconnected, socket, dropLater, Qt::QueuedConnection);
        connect(socket, &QTcpSocket::errorOccurred, socket, dropLater, Qt::QueuedConnection);
        if (!m_sweep.isActive())
            m_sweep.start(std::clamp(m_limits.idleMs / 3, 10, 1000));
        readFrom(socket);
    }
}

void BoardServer::readFrom(QTcpSocket *socket)
{
    const auto found = m_connections.find(socket);
    if (found == m_connections.end())
        return;
    Connection &connection = *found;
    if (connection.live || connection.answered) {
        // A request has no body, and a live channel is only listened to: whatever more comes is not ours.
        if (socket->bytesAvailable() > 0)
            drop(socket);
        return;
    }
    connection.received += socket->read(maxRequestHead + 1 - connection.received.size());
    connection.lastHeardMs = now();
    const ParsedRequest parsed = parseRequest(connection.received);
    if (parsed.kind == ParsedRequest::Kind::Incomplete)
        return;
    connection.received.clear();
    connection.answered = true;
    if (parsed.kind == ParsedRequest::Kind::Refused) {
        socket->write(refusal(parsed.status));
        socket->disconnectFromHost();
        return;
    }
    answer(socket, connection, parsed.request);
}

BoardState BoardServer::state() const
{
    return {m_sources.balls ? m_sources.balls() : std::vector<int>(), m_prize, m_winners};
}

void BoardServer::answer(QTcpSocket *socket, Connection &connection, const HttpRequest &request)
{
    const RouteMatch match = routeOf(request);
    const BoardState state = this->state();
    QByteArray reply;
    switch (match.route) {
    case Route::Page:
        reply = response(200, "text/html; charset=utf-8",
                         boardPage(state, resource(QStringLiteral("tablero.html"))), match.head);
        break;
    case Route::Script:
        reply = response(200, "text/javascript; charset=utf-8", resource(QStringLiteral("tablero.js")),
                         match.head);
        break;
    case Route::Style:
        reply = response(200, "text/css; charset=utf-8", resource(QStringLiteral("tablero.css")), match.head);
        break;
    case Route::State:
        reply = response(200, "application/json", stateJson(state), match.head);
        break;
    case Route::Card: {
        const std::optional<PrintedCard> card
            = m_sources.cards ? m_sources.cards(match.serial) : std::nullopt;
        reply = card ? response(200, "application/json", cardJson(*card), match.head)
                     : response(404, "application/json", unknownCardJson(match.serial), match.head);
        break;
    }
    case Route::Events:
        socket->write(headers(200, "text/event-stream; charset=utf-8") + "\r\n");
        if (match.head) {
            socket->disconnectFromHost();
            return;
        }
        connection.live = true;
        connection.answered = false;
        // What the system holds for a reader is bounded too: a few states' worth, not megabytes.
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, liveSendBuffer);
        // A page that lost its channel tries again soon; it is then sent the whole state.
        socket->write("retry: 2000\n\n");
        sendState(socket, connection);
        return;
    case Route::NotFound:
        reply = refusal(404);
        break;
    case Route::MethodNotAllowed:
        reply = refusal(405);
        break;
    }
    socket->write(reply);
    socket->disconnectFromHost();
}

void BoardServer::gameChanged()
{
    // Each message says the whole state: a page that connects later is sent the state as it is then.
    ++m_version;
    m_message.clear();
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if (!it->live)
            continue;
        if (it->behindSinceMs >= 0)
            continue; // sent the whole state once it has caught up
        if (it.key()->bytesToWrite() > m_limits.queueBytes) {
            it->behindSinceMs = now();
            continue;
        }
        sendState(it.key(), *it);
    }
}

void BoardServer::sendState(QTcpSocket *socket, Connection &connection)
{
    if (m_message.isEmpty())
        m_message = "id: " + QByteArray::number(m_version) + "\ndata: " + stateJson(state()) + "\n\n";
    socket->write(m_message);
    // Straight to the system, not at the next turn of the event loop: a tens word being spoken holds the
    // thread, and the hall should not wait for it.
    socket->flush();
    connection.version = m_version;
    connection.lastSentMs = now();
}

void BoardServer::caughtUp(QTcpSocket *socket)
{
    const auto found = m_connections.find(socket);
    if (found == m_connections.end())
        return;
    if (found->behindSinceMs >= 0 && socket->bytesToWrite() == 0) {
        found->behindSinceMs = -1;
        if (found->version != m_version)
            sendState(socket, *found);
    }
}

void BoardServer::sweep()
{
    const qint64 t = now();
    QList<QTcpSocket *> stale;
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        const Connection &connection = *it;
        if (connection.live) {
            if (connection.behindSinceMs >= 0 && t - connection.behindSinceMs >= m_limits.idleMs)
                stale.append(it.key());
            else if (connection.behindSinceMs < 0 && t - connection.lastSentMs >= m_limits.keepAliveMs) {
                it.key()->write(":\n\n");
                it.key()->flush();
                it->lastSentMs = t;
            }
        } else if (t - connection.lastHeardMs >= m_limits.idleMs) {
            stale.append(it.key()); // a request not finished in time, or an answer nobody reads
        }
    }
    for (QTcpSocket *socket : stale)
        drop(socket);
    if (m_connections.isEmpty())
        m_sweep.stop();
}

void BoardServer::drop(QTcpSocket *socket)
{
    if (!m_connections.remove(socket))
        return;
    socket->disconnect();
    socket->abort();
    socket->deleteLater();
}

QHostAddress machineAddress()
{
    // The hall's network first: a Wi-Fi or wired interface rather than a virtual machine's or a container's
    // bridge, which phones cannot reach.
    static const QStringList virtualNames{QStringLiteral("docker"), QStringLiteral("veth"),
                                          QStringLiteral("br-"),    QStringLiteral("virbr"),
                                          QStringLiteral("vmnet"),  QStringLiteral("vboxnet")};
    const auto isVirtual = [](const QNetworkInterface &interface) {
        return interface.type() == QNetworkInterface::Virtual
            || std::any_of(virtualNames.cbegin(), virtualNames.cend(),
                           [&](const QString &name) { return interface.name().startsWith(name); });
    };
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const bool physicalOnly : {true, false}) {
        for (const QNetworkInterface &interface : interfaces) {
            const auto flags = interface.flags();
            if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning)
                || flags.testFlag(QNetworkInterface::IsLoopBack) || (physicalOnly && isVirtual(interface)))
                continue;
            for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
                const QHostAddress ip = entry.ip();
                if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLinkLocal())
                    return ip;
            }
        }
    }
    return {QHostAddress::LocalHost};
}

} // namespace cantabola
