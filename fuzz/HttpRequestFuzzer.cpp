// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as what a phone sent the players' board: the head of a request read from them, whole and from
// every beginning of them, and the route it asks for. Beyond crashes and sanitizer reports, what the reader
// and the routes promise is checked on every input, and a broken promise ends the run like a crash:
// - a head is taken only whole, ended within 8 KB, with a method of at most 16 token characters and a target
//   of visible characters starting with a slash; a refusal is one of 400, 413, 431 and 505;
// - a beginning of the bytes is still incomplete or gives the same verdict as the whole once it holds the end
//   of the head, and a refusal of a beginning stands for the whole;
// - a route other than "not found" names no encoded character and no dot segment, and a card's serial is
//   the positive number its path ends with.

#include "network/HttpRequest.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace cantabola;
using Kind = ParsedRequest::Kind;

namespace {

[[noreturn]] void promiseBroken(const char *promise)
{
    std::fprintf(stderr, "http request: %s\n", promise);
    std::abort();
}

void check(bool kept, const char *promise)
{
    if (!kept)
        promiseBroken(promise);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const ParsedRequest whole = parseRequest(bytes);
    const qsizetype end = bytes.indexOf("\r\n\r\n");
    switch (whole.kind) {
    case Kind::Incomplete:
        check(end < 0 && bytes.size() <= maxRequestHead, "an ended or oversized head is left incomplete");
        break;
    case Kind::Refused:
        check(whole.status == 400 || whole.status == 413 || whole.status == 431 || whole.status == 505,
              "a refusal with an unknown status");
        break;
    case Kind::Complete: {
        check(end >= 0 && end + 4 <= maxRequestHead, "a head taken beyond 8 KB or before its end");
        const HttpRequest &request = whole.request;
        check(!request.method.isEmpty() && request.method.size() <= 16, "a method of the wrong length");
        check(request.target.startsWith('/'), "a target not starting with a slash");
        for (const char c : request.target)
            check(c > 0x20 && c < 0x7F, "an invisible character in the target");
        const RouteMatch match = routeOf(request);
        if (match.route != Route::NotFound && match.route != Route::MethodNotAllowed) {
            const qsizetype query = request.target.indexOf('?');
            const QByteArray path = query < 0 ? request.target : request.target.left(query);
            check(!path.contains('%') && !path.contains("..") && !path.contains("//"),
                  "a route reached through an encoded character or a dot segment");
            if (match.route == Route::Card)
                check(match.serial > 0 && path == "/carton/" + QByteArray::number(match.serial),
                      "a card's serial other than its path says");
            check(request.method == "GET" || (request.method == "HEAD" && match.head),
                  "a route for a method not read");
        }
        break;
    }
    }
    // The bytes as they trickle in: every beginning that holds the end of the head gives the same answer.
    for (qsizetype cut = 1; cut < bytes.size(); cut += 1 + cut / 4) {
        const ParsedRequest part = parseRequest(bytes.left(cut));
        if (part.kind == Kind::Refused)
            check(whole.kind == Kind::Refused, "a beginning refused but not the whole");
        if (part.kind == Kind::Complete)
            check(whole.kind == Kind::Complete && part.request.target == whole.request.target,
                  "a beginning taken otherwise than the whole");
    }
    return 0;
}
