// SPDX-License-Identifier: GPL-3.0-or-later
// Protects what the players' board understands of a request: only a well-formed, bodiless head of at most
// 8 KB is taken, and only the page's fixed routes answer; no trick of the path reaches anything else.

#include "network/HttpRequest.h"

#include <QTest>

using namespace cantabola;
using Kind = ParsedRequest::Kind;

class RequestTest : public QObject
{
    Q_OBJECT

private slots:
    void headIsTakenOnlyWhenWellFormed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("status");
        const QByteArray big(maxRequestHead, 'a');
        QTest::newRow("page") << QByteArray("GET / HTTP/1.1\r\nHost: x\r\n\r\n") << int(Kind::Complete) << 0;
        QTest::newRow("HTTP/1.0, no headers")
            << QByteArray("GET /estado HTTP/1.0\r\n\r\n") << int(Kind::Complete) << 0;
        QTest::newRow("zero length") << QByteArray("GET / HTTP/1.1\r\nContent-Length: 0\r\n\r\n")
                                     << int(Kind::Complete) << 0;
        QTest::newRow("not ended yet")
            << QByteArray("GET / HTTP/1.1\r\nHost: x\r\n") << int(Kind::Incomplete) << 0;
        QTest::newRow("endless head")
            << QByteArray("GET / HTTP/1.1\r\nX: " + big) << int(Kind::Refused) << 431;
        QTest::newRow("head over 8 KB")
            << QByteArray("GET / HTTP/1.1\r\nX: " + big + "\r\n\r\n") << int(Kind::Refused) << 431;
        QTest::newRow("body") << QByteArray("GET / HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello")
                              << int(Kind::Refused) << 413;
        QTest::newRow("chunked body") << QByteArray("GET / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n")
                                      << int(Kind::Refused) << 413;
        QTest::newRow("bad length") << QByteArray("GET / HTTP/1.1\r\nContent-Length: -1\r\n\r\n")
                                    << int(Kind::Refused) << 400;
        QTest::newRow("no version") << QByteArray("GET /\r\n\r\n") << int(Kind::Refused) << 400;
        QTest::newRow("two blanks") << QByteArray("GET  / HTTP/1.1\r\n\r\n") << int(Kind::Refused) << 400;
        QTest::newRow("garbage") << QByteArray("\x16\x03\x01\x02\x01\r\n\r\n") << int(Kind::Refused) << 400;
        QTest::newRow("HTTP/2") << QByteArray("GET / HTTP/2.0\r\n\r\n") << int(Kind::Refused) << 505;
        QTest::newRow("absolute target")
            << QByteArray("GET http://x/ HTTP/1.1\r\n\r\n") << int(Kind::Refused) << 400;
        QTest::newRow("control in target")
            << QByteArray("GET /\x01 HTTP/1.1\r\n\r\n") << int(Kind::Refused) << 400;
        QTest::newRow("header without colon")
            << QByteArray("GET / HTTP/1.1\r\nHost\r\n\r\n") << int(Kind::Refused) << 400;
        QTest::newRow("blank before colon")
            << QByteArray("GET / HTTP/1.1\r\nHost : x\r\n\r\n") << int(Kind::Refused) << 400;
        QTest::newRow("folded header")
            << QByteArray("GET / HTTP/1.1\r\nA: b\r\n c\r\n\r\n") << int(Kind::Refused) << 400;
        QTest::newRow("bare line feed")
            << QByteArray("GET / HTTP/1.1\r\nA: b\nContent-Length: 9\r\n\r\n") << int(Kind::Refused) << 400;
        QTest::newRow("method too long")
            << QByteArray("GETGETGETGETGETGET / HTTP/1.1\r\n\r\n") << int(Kind::Refused) << 400;
    }

    void headIsTakenOnlyWhenWellFormed()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QFETCH(int, status);
        const ParsedRequest parsed = parseRequest(bytes);
        QCOMPARE(int(parsed.kind), kind);
        QCOMPARE(parsed.status, status);
    }

    void onlyThePagesRoutesAnswer_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<int>("route");
        QTest::addColumn<qint64>("serial");
        QTest::newRow("page") << QByteArray("GET") << QByteArray("/") << int(Route::Page) << qint64(0);
        QTest::newRow("page, query") << QByteArray("GET") << QByteArray("/?a=1") << int(Route::Page)
                                     << qint64(0);
        QTest::newRow("page, HEAD") << QByteArray("HEAD") << QByteArray("/") << int(Route::Page) << qint64(0);
        QTest::newRow("script") << QByteArray("GET") << QByteArray("/tablero.js") << int(Route::Script)
                                << qint64(0);
        QTest::newRow("style") << QByteArray("GET") << QByteArray("/tablero.css") << int(Route::Style)
                               << qint64(0);
        QTest::newRow("state") << QByteArray("GET") << QByteArray("/estado") << int(Route::State)
                               << qint64(0);
        QTest::newRow("events") << QByteArray("GET") << QByteArray("/eventos") << int(Route::Events)
                                << qint64(0);
        QTest::newRow("card") << QByteArray("GET") << QByteArray("/carton/1234") << int(Route::Card)
                              << qint64(1234);
        QTest::newRow("card, leading zero")
            << QByteArray("GET") << QByteArray("/carton/01") << int(Route::NotFound) << qint64(0);
        QTest::newRow("card, no serial")
            << QByteArray("GET") << QByteArray("/carton/") << int(Route::NotFound) << qint64(0);
        QTest::newRow("card, 16 digits") << QByteArray("GET") << QByteArray("/carton/1234567890123456")
                                         << int(Route::NotFound) << qint64(0);
        QTest::newRow("card, sign") << QByteArray("GET") << QByteArray("/carton/-1") << int(Route::NotFound)
                                    << qint64(0);
        QTest::newRow("dot segments")
            << QByteArray("GET") << QByteArray("/../etc/passwd") << int(Route::NotFound) << qint64(0);
        QTest::newRow("encoded dots") << QByteArray("GET") << QByteArray("/%2e%2e/%2e%2e/etc/passwd")
                                      << int(Route::NotFound) << qint64(0);
        QTest::newRow("encoded slash")
            << QByteArray("GET") << QByteArray("/carton%2F12") << int(Route::NotFound) << qint64(0);
        QTest::newRow("double slash")
            << QByteArray("GET") << QByteArray("//estado") << int(Route::NotFound) << qint64(0);
        QTest::newRow("a file's name")
            << QByteArray("GET") << QByteArray("/tablero.html") << int(Route::NotFound) << qint64(0);
        QTest::newRow("draw") << QByteArray("POST") << QByteArray("/") << int(Route::MethodNotAllowed)
                              << qint64(0);
        QTest::newRow("delete") << QByteArray("DELETE") << QByteArray("/estado")
                                << int(Route::MethodNotAllowed) << qint64(0);
        QTest::newRow("lower case") << QByteArray("get") << QByteArray("/") << int(Route::MethodNotAllowed)
                                    << qint64(0);
        QTest::newRow("unknown both")
            << QByteArray("PUT") << QByteArray("/sacar") << int(Route::NotFound) << qint64(0);
    }

    void onlyThePagesRoutesAnswer()
    {
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, target);
        QFETCH(int, route);
        QFETCH(qint64, serial);
        const RouteMatch match = routeOf({method, target});
        QCOMPARE(int(match.route), route);
        QCOMPARE(match.serial, serial);
        QCOMPARE(match.head, method == "HEAD");
    }
};

QTEST_GUILESS_MAIN(RequestTest)
#include "RequestTest.moc"
