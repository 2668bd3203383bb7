// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the players' board understands of HTTP: the head of a request (request line and headers) read from
// the bytes a connection has sent so far, and the few fixed routes the page needs. Both are pure functions of
// their input, so that every hostile request can be tried on them alone.
//
// The board only reads: a request carries no body, its head is at most 8 KB, and nothing in its path names a
// file. Whatever does not fit is refused with a status, never guessed at.

#include <QByteArray>
#include <QByteArrayView>

namespace cantabola {

inline constexpr qsizetype maxRequestHead = 8192;

struct HttpRequest
{
    QByteArray method;
    QByteArray target;
};

struct ParsedRequest
{
    enum class Kind {
        Incomplete, // the head has not ended yet, and may still fit
        Complete,
        Refused, // answered with status, and the connection closed
    };
    Kind kind = Kind::Incomplete;
    int status = 0;
    HttpRequest request;
};

// The head of a request, from the bytes received so far on a connection.
ParsedRequest parseRequest(QByteArrayView bytes);

enum class Route {
    Page, // GET /
    Script, // GET /tablero.js
    Style, // GET /tablero.css
    State, // GET /estado
    Events, // GET /eventos, the live channel
    Card, // GET /carton/<serial>
    NotFound,
    MethodNotAllowed,
};

struct RouteMatch
{
    Route route = Route::NotFound;
    qint64 serial = 0; // of Route::Card
    bool head = false; // HEAD: the answer's headers without its body
};

// The route a request's method and target ask for. A query ("?...") is ignored; nothing is decoded, so an
// encoded character or a dot segment simply names no route.
RouteMatch routeOf(const HttpRequest &request);

} // namespace cantabola
