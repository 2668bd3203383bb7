// SPDX-License-Identifier: GPL-3.0-or-later
#include "network/HttpRequest.h"

#include <algorithm>
#include <array>

namespace cantabola {

namespace {

constexpr qsizetype maxMethod = 16;

bool isTokenChar(char c)
{
    static constexpr std::string_view extra = "!#$%&'*+-.^_`|~";
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
        || extra.find(c) != std::string_view::npos;
}

bool isVisible(char c)
{
    return c > 0x20 && c < 0x7F;
}

ParsedRequest refused(int status)
{
    return {ParsedRequest::Kind::Refused, status, {}};
}

bool equalsIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && QByteArray(a.data(), a.size()).compare(b, Qt::CaseInsensitive) == 0;
}

QByteArrayView trimmed(QByteArrayView value)
{
    while (!value.isEmpty() && (value.front() == ' ' || value.front() == '\t'))
        value = value.sliced(1);
    while (!value.isEmpty() && (value.back() == ' ' || value.back() == '\t'))
        value.chop(1);
    return value;
}

// One header line; a status when it is refused, else 0.
int checkHeader(QByteArrayView line)
{
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0)
        return 400;
    const QByteArrayView name = line.first(colon);
    if (!std::all_of(name.begin(), name.end(), isTokenChar)) // also no blank before the colon, no folding
        return 400;
    const QByteArrayView value = trimmed(line.sliced(colon + 1));
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7F)
            return 400;
    }
    // The board takes no bodies, and so no framing of one.
    if (equalsIgnoringCase(name, "Transfer-Encoding"))
        return 413;
    if (equalsIgnoringCase(name, "Content-Length") && value != QByteArrayView("0"))
        return std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })
                && !value.isEmpty()
            ? 413
            : 400;
    return 0;
}

} // namespace

ParsedRequest parseRequest(QByteArrayView bytes)
{
    const qsizetype end = bytes.indexOf(QByteArrayView("\r\n\r\n"));
    if (end < 0)
        return bytes.size() > maxRequestHead ? refused(431) : ParsedRequest{};
    if (end + 4 > maxRequestHead)
        return refused(431);
    const QByteArrayView head = bytes.first(end);

    const qsizetype lineEnd = head.indexOf(QByteArrayView("\r\n"));
    const QByteArrayView requestLine = lineEnd < 0 ? head : head.first(lineEnd);
    // METHOD SP target SP HTTP/1.x, nothing more and nothing less.
    const qsizetype firstSpace = requestLine.indexOf(' ');
    const qsizetype lastSpace = requestLine.lastIndexOf(' ');
    if (firstSpace <= 0 || lastSpace <= firstSpace + 1)
        return refused(400);
    const QByteArrayView method = requestLine.first(firstSpace);
    const QByteArrayView target = requestLine.sliced(firstSpace + 1, lastSpace - firstSpace - 1);
    const QByteArrayView version = requestLine.sliced(lastSpace + 1);
    if (method.size() > maxMethod || !std::all_of(method.begin(), method.end(), isTokenChar))
        return refused(400);
    if (target.front() != '/' || !std::all_of(target.begin(), target.end(), isVisible))
        return refused(400);
    if (version != QByteArrayView("HTTP/1.1") && version != QByteArrayView("HTTP/1.0"))
        return version.startsWith("HTTP/") ? refused(505) : refused(400);

    qsizetype at = lineEnd < 0 ? head.size() : lineEnd + 2;
    while (at < head.size()) {
        qsizetype next = head.indexOf(QByteArrayView("\r\n"), at);
        if (next < 0)
            next = head.size();
        const QByteArrayView line = head.sliced(at, next - at);
        if (line.contains('\n') || line.contains('\r'))
            return refused(400);
        if (const int status = checkHeader(line))
            return refused(status);
        at = next + 2;
    }
    if (requestLine.contains('\n') || requestLine.contains('\r'))
        return refused(400);
    return {ParsedRequest::Kind::Complete, 0, {method.toByteArray(), target.toByteArray()}};
}

RouteMatch routeOf(const HttpRequest &request)
{
    QByteArrayView path(request.target);
    if (const qsizetype query = path.indexOf('?'); query >= 0)
        path = path.first(query);

    RouteMatch match;
    static constexpr std::array<std::pair<std::string_view, Route>, 5> fixed{{
        {"/", Route::Page},
        {"/tablero.js", Route::Script},
        {"/tablero.css", Route::Style},
        {"/estado", Route::State},
        {"/eventos", Route::Events},
    }};
    for (const auto &[name, route] : fixed) {
        if (path == QByteArrayView(name.data(), static_cast<qsizetype>(name.size())))
            match.route = route;
    }
    static constexpr QByteArrayView cardPrefix("/carton/");
    if (path.startsWith(cardPrefix)) {
        const QByteArrayView digits = path.sliced(cardPrefix.size());
        // A serial of up to 15 digits, without a leading zero: one card has one address.
        if (!digits.isEmpty() && digits.size() <= 15 && digits.front() != '0'
            && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            match.route = Route::Card;
            match.serial = QByteArray(digits.data(), digits.size()).toLongLong();
        }
    }
    if (match.route == Route::NotFound)
        return match;
    match.head = request.method == "HEAD";
    if (request.method != "GET" && !match.head)
        return {Route::MethodNotAllowed, 0, false};
    return match;
}

} // namespace cantabola
