// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the players' board as the operator and the phones meet it: served from the menu on a port of its
// own and closed at once, every change of the game reaching every open page in order, a card shown for its
// serial only, and nothing but the page answered to hostile, slow or too many connections while the game
// goes on.

#include "network/BoardServer.h"
#include "cards/CardRegistry.h"
#include "room/RoomScreen.h"
#include "support/Rig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace cantabola;
using cantabola::testing::Rig;

namespace {

// A phone, as plain as can be: a socket read without blocking while the program's event loop turns.
struct Phone
{
    explicit Phone(quint16 port, QByteArray request, int receiveBuffer = 0)
        : fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0))
        , unsent(std::move(request))
    {
        if (receiveBuffer)
            ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    }
    ~Phone() { ::close(fd); }
    Phone(const Phone &) = delete;
    Phone &operator=(const Phone &) = delete;

    // Sends what is left to send and reads what has come; false once the program has closed it.
    bool pump(bool reading = true)
    {
        if (!unsent.isEmpty()) {
            const ssize_t sent
                = ::send(fd, unsent.constData(), static_cast<size_t>(unsent.size()), MSG_NOSIGNAL);
            if (sent > 0)
                unsent.remove(0, sent);
        }
        std::array<char, 65536> buffer{};
        while (reading && !closed) {
            const ssize_t got = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (got > 0)
                received.append(buffer.data(), got);
            else if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != ENOTCONN))
                closed = true;
            else
                break;
        }
        return !closed;
    }

    // The states the live channel sent, in order.
    QList<QJsonObject> states() const
    {
        QList<QJsonObject> found;
        for (const QByteArray &line : received.split('\n')) {
            if (line.startsWith("data: "))
                found.append(QJsonDocument::fromJson(line.mid(6)).object());
        }
        return found;
    }

    int fd;
    QByteArray unsent;
    QByteArray received;
    bool closed = false;
};

// At a widget's first paint from now on: whether the program had already sent the phone something new.
class SentBeforePaint : public QObject
{
public:
    SentBeforePaint(QWidget *widget, const Phone &phone)
        : m_phone(phone)
    {
        widget->installEventFilter(this);
    }

    int paints = 0;
    bool sentFirst = false;

protected:
    bool eventFilter(QObject * /*watched*/, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && paints++ == 0) {
            char byte = 0;
            sentFirst = ::recv(m_phone.fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0;
        }
        return false;
    }

private:
    const Phone &m_phone;
};

const QByteArray live = "GET /eventos HTTP/1.1\r\nHost: sala\r\n\r\n";

QByteArray get(const QByteArray &target)
{
    return "GET " + target + " HTTP/1.1\r\nHost: sala\r\n\r\n";
}

// The whole answer to one request, once the program has closed the connection.
QByteArray fetch(quint16 port, const QByteArray &request)
{
    Phone phone(port, request);
    if (!QTest::qWaitFor([&] { return !phone.pump(); }, 5000))
        qWarning("the program did not close the connection");
    return phone.received;
}

QList<int> balls(const QJsonObject &state)
{
    QList<int> found;
    for (const QJsonValue &n : state.value(QStringLiteral("bolas")).toArray())
        found.append(n.toInt());
    return found;
}

QList<int> order(const Rig &g)
{
    return {g.game().drawOrder().begin(), g.game().drawOrder().end()};
}

} // namespace

class BoardServerTest : public QObject
{
    Q_OBJECT

private slots:
    void operatorServesTheBoardAndEndsItAtOnce()
    {
        Rig g;
        g.trigger("roomScreenItem");
        QAction *item = g.action("networkBoardItem");
        QVERIFY(item->isCheckable() && !item->isChecked());
        const quint16 port = g.serveBoard();
        const QString address = QStringLiteral("http://127.0.0.1:%1").arg(port);
        QVERIFY(item->isChecked());
        QCOMPARE(item->text(), QStringLiteral("Tablero en la &red: ") + address);
        QCOMPARE(g.program->roomScreen()->boardAddress(), address);

        g.trigger("SM_Auto");
        for (int i = 0; i < 7; ++i)
            g.clickStart();
        const QByteArray page = fetch(port, get("/"));
        QVERIFY(page.startsWith("HTTP/1.1 200 OK\r\n"));
        QVERIFY(page.contains("\r\nContent-Security-Policy: default-src 'self';"));
        QVERIFY(page.contains("\r\nCache-Control: no-store\r\n"));
        QVERIFY(page.contains(QByteArray("<div id=\"actual\" class=\"actual\">")
                              + QByteArray::number(g.game().NumEnJuego()) + "</div>"));
        QVERIFY(page.contains("Bola 7 de 90"));
        QCOMPARE(page.count("<li class=\"salida\">"), 7);
        const QByteArray state = fetch(port, get("/estado"));
        QCOMPARE(balls(QJsonDocument::fromJson(state.mid(state.indexOf("\r\n\r\n") + 4)).object()), order(g));

        Phone phone(port, live);
        QVERIFY(QTest::qWaitFor([&] { return phone.pump() && phone.states().size() == 1; }, 5000));
        g.trigger("networkBoardItem");
        QVERIFY(!item->isChecked());
        QCOMPARE(g.program->roomScreen()->boardAddress(), QString());
        QVERIFY(QTest::qWaitFor([&] { return !phone.pump(); }, 5000));
        Phone late(port, get("/"));
        QVERIFY(QTest::qWaitFor([&] { return !late.pump(); }, 5000));
        QCOMPARE(late.received, QByteArray());

        // On again, after a ball drawn meanwhile: a page is sent the game as it is now.
        g.clickStart();
        g.trigger("networkBoardItem");
        Phone again(port, live);
        QVERIFY(QTest::qWaitFor([&] { return again.pump() && again.states().size() == 1; }, 5000));
        QCOMPARE(balls(again.states().first()), order(g));
    }

    void shownAddressIsTheMachinesOwnWhenItHasOne()
    {
        bool networked = false;
        for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
            const bool usable = interface.flags().testFlag(QNetworkInterface::IsRunning)
                && !interface.flags().testFlag(QNetworkInterface::IsLoopBack);
            for (const QNetworkAddressEntry &entry : interface.addressEntries())
                networked = networked
                    || (usable && entry.ip().protocol() == QAbstractSocket::IPv4Protocol
                        && !entry.ip().isLinkLocal());
        }
        QCOMPARE(machineAddress().isLoopback(), !networked);
    }

    // The ports all taken, or the board's library missing from the program's folder: said, and the board off.
    void boardThatCannotBeServedIsSaidAndTheItemGoesBackOff_data()
    {
        QTest::addColumn<bool>("libraryThere");
        QTest::addColumn<QString>("said");
        QTest::newRow("ports taken")
            << true
            << QStringLiteral(
                   "No se puede servir el tablero en la red: los puertos 8090 a 8099 están ocupados.");
        QTest::newRow("library missing")
            << false
            << QStringLiteral(
                   "No se puede servir el tablero en la red: falta el archivo cantabola_board.so en "
                   "la carpeta del programa.");
    }

    void boardThatCannotBeServedIsSaidAndTheItemGoesBackOff()
    {
        QFETCH(bool, libraryThere);
        QFETCH(QString, said);
        const QTemporaryDir elsewhere;
        Rig g(ScreenInfo::fromPixels(1024, 768, 15), true, {}, libraryThere ? QString() : elsewhere.path());
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::Any));
        g.program->board().setPorts(taken.serverPort(), taken.serverPort());
        g.trigger("networkBoardItem");
        QCOMPARE(g.fake.messages.shown.size(), std::size_t(1));
        QCOMPARE(g.fake.messages.shown[0].text, said);
        QVERIFY(!g.action("networkBoardItem")->isChecked());
        QVERIFY(!g.program->board().isListening());
    }

    void everyChangeReachesTheOpenPagesInOrder()
    {
        Rig g;
        const quint16 port = g.serveBoard();
        g.trigger("SM_Auto");
        g.clickStart();
        Phone phone(port, live);
        QVERIFY(QTest::qWaitFor([&] { return phone.pump() && phone.states().size() == 1; }, 5000));
        QCOMPARE(balls(phone.states().last()), order(g)); // the whole state first
        g.clickStart();
        const QList<int> two = order(g);
        g.trigger("takeBackItem");
        g.trigger("SM_New");
        g.program->board().showPrize(QStringLiteral("Línea"), {QStringLiteral("Nº 12")});
        QVERIFY(QTest::qWaitFor([&] { return phone.pump() && phone.states().size() == 5; }, 5000));
        const QList<QJsonObject> states = phone.states();
        QCOMPARE(balls(states[1]), two);
        QCOMPARE(balls(states[2]), two.mid(0, 1));
        QCOMPARE(balls(states[3]), QList<int>());
        QVERIFY(!states[3].contains(QStringLiteral("premio"))
                && !states[3].contains(QStringLiteral("ganadores")));
        QCOMPARE(states[4].value(QStringLiteral("premio")).toString(), QStringLiteral("Línea"));
        QCOMPARE(states[4].value(QStringLiteral("ganadores")).toArray().first().toString(),
                 QStringLiteral("Nº 12"));
    }

    // A ball is painted on the operator's window, and on the room's screen once it has opened, before the
    // phones are sent it.
    void aBallIsPaintedBeforeThePhonesAreSentIt_data()
    {
        QTest::addColumn<bool>("room");
        QTest::newRow("operator's window") << false;
        QTest::newRow("room's screen") << true;
    }

    void aBallIsPaintedBeforeThePhonesAreSentIt()
    {
        QFETCH(bool, room);
        Rig g;
        const quint16 port = g.serveBoard();
        if (room)
            g.trigger("roomScreenItem");
        g.trigger("SM_Auto"); // one ball a click
        Phone phone(port, live);
        QVERIFY(QTest::qWaitFor([&] { return phone.pump() && phone.states().size() == 1; }, 5000));
        QCoreApplication::processEvents();
        QWidget *painted = room ? static_cast<QWidget *>(g.program->roomScreen())
                                : g.find<QLabel>(QStringLiteral("LblNumEnJuego"));
        const SentBeforePaint watch(painted, phone);
        g.clickStart();
        QVERIFY(watch.paints > 0);
        QVERIFY(!watch.sentFirst);
        QVERIFY(QTest::qWaitFor([&] { return phone.pump() && phone.states().size() == 2; }, 5000));
        QCOMPARE(balls(phone.states().last()), order(g));
    }

    void aCardIsShownForItsSerialOnly()
    {
        Rig g;
        const std::optional<Card> grid
            = gridFromText("9,,5,14,,18,,21,,33,,,,40,47,52,,,,63,68,,74,,81,86,90");
        qint64 serial = 0;
        {
            CardRegistry registry(g.fake.platform.dataFolder, g.fake.platform.settingsFile);
            serial = registry.beginSheet({*grid}, QDateTime::currentDateTime(), 0).at(0);
            QVERIFY(registry.endSheet(true));
        }
        const quint16 port = g.serveBoard();
        const QByteArray card = fetch(port, get("/carton/" + QByteArray::number(serial)));
        const QJsonObject found = QJsonDocument::fromJson(card.mid(card.indexOf("\r\n\r\n") + 4)).object();
        QCOMPARE(found.value(QStringLiteral("celdas")).toArray().size(), 27);
        QCOMPARE(found.value(QStringLiteral("celdas")).toArray().at(3).toInt(), 14);
        const QByteArray unknown = fetch(port, get("/carton/" + QByteArray::number(serial + 1)));
        QVERIFY(unknown.startsWith("HTTP/1.1 404"));
        QVERIFY(
            unknown.contains(QStringLiteral("No hay ningún cartón con el Nº %1.").arg(serial + 1).toUtf8()));
    }

    void hostileRequestsGetNothingButARefusal_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("status");
        QTest::newRow("draw") << QByteArray("POST / HTTP/1.1\r\n\r\n") << QByteArray("405");
        QTest::newRow("unknown method") << QByteArray("BREW /estado HTTP/1.1\r\n\r\n") << QByteArray("405");
        QTest::newRow("a body") << QByteArray("GET / HTTP/1.1\r\nContent-Length: 4\r\n\r\nsacar")
                                << QByteArray("413");
        QTest::newRow("dot segments") << get("/../../etc/passwd") << QByteArray("404");
        QTest::newRow("encoded slash") << get("/..%2F..%2Fetc%2Fpasswd") << QByteArray("404");
        QTest::newRow("the page's file") << get("/tablero.html") << QByteArray("404");
        QTest::newRow("malformed") << QByteArray("GET /\r\n\r\n") << QByteArray("400");
        QTest::newRow("huge header") << QByteArray("GET / HTTP/1.1\r\nX: " + QByteArray(9000, 'x')
                                                   + "\r\n\r\n")
                                     << QByteArray("431");
        QTest::newRow("binary") << QByteArray("\x00\xff\x16\x03\r\n\r\n", 8) << QByteArray("400");
    }

    void hostileRequestsGetNothingButARefusal()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, status);
        Rig g;
        const quint16 port = g.serveBoard();
        g.trigger("SM_Auto");
        g.clickStart();
        const QList<int> before = order(g);
        const QByteArray answer = fetch(port, request);
        QVERIFY2(answer.startsWith("HTTP/1.1 " + status), answer.left(40).constData());
        QVERIFY(!answer.contains("bolas"));
        QCOMPARE(order(g), before);
        QVERIFY(fetch(port, get("/estado")).startsWith("HTTP/1.1 200"));
    }

    void slowSendersAreClosedAndSlowReadersCatchUpWithTheWholeState()
    {
        Rig g;
        g.program->board().setLimits({500, 2000, 1024, 15000});
        const quint16 port = g.serveBoard();
        Phone silent(port, "GET / HTTP/1.1\r\n");
        Phone fast(port, live);
        Phone slow(port, live, 2048);
        QVERIFY(QTest::qWaitFor(
            [&] { return fast.pump() && slow.pump() && g.program->board().liveCount() == 2; }, 5000));
        // Every state a few kilobytes, a hundred of them, faster than the slow reader reads.
        QStringList winners;
        for (int i = 0; i < 100; ++i) {
            winners.append(QStringLiteral("Nº %1 ").arg(i).repeated(10));
            g.program->board().showPrize(QStringLiteral("Bingo"), winners);
            fast.pump();
            slow.pump(false);
        }
        QVERIFY(QTest::qWaitFor(
            [&] {
                return fast.pump() && slow.pump() && fast.states().size() == 101 && !slow.states().isEmpty()
                    && slow.states().last().value(QStringLiteral("ganadores")).toArray().size() == 100;
            },
            5000));
        QVERIFY2(slow.states().size() < 101, "the slow reader's messages were dropped");
        // The request that never ended is closed; the live channels, which send nothing, are not.
        QVERIFY(QTest::qWaitFor([&] { return !silent.pump(); }, 5000));
        QVERIFY(fast.pump() && slow.pump());
    }

    void fiveHundredPagesGetEveryBallInOrderAndMoreAreTurnedAway()
    {
        Rig g;
        const quint16 port = g.serveBoard();
        std::vector<std::unique_ptr<Phone>> phones;
        for (int i = 0; i < 600; ++i)
            phones.push_back(std::make_unique<Phone>(port, live));
        const auto pumpAll = [&] {
            int open = 0;
            for (const auto &phone : phones)
                open += phone->pump() ? 1 : 0;
            return open;
        };
        QVERIFY(QTest::qWaitFor([&] { return pumpAll() == 500 && g.program->board().liveCount() == 500; },
                                20000));
        g.trigger("SM_Auto");
        for (int ball = 1; ball <= 90; ++ball) {
            g.clickStart();
            QVERIFY(QTest::qWaitFor(
                [&] {
                    pumpAll();
                    return std::all_of(phones.begin(), phones.end(), [&](const auto &phone) {
                        return phone->closed || phone->received.count("\ndata: ") == ball + 1;
                    });
                },
                10000));
        }
        int turnedAway = 0;
        for (const auto &phone : phones) {
            if (phone->closed) {
                turnedAway += 1;
                QVERIFY(phone->received.isEmpty() || phone->received.startsWith("HTTP/1.1 503"));
                continue;
            }
            const QList<QJsonObject> states = phone->states();
            QCOMPARE(states.size(), 91);
            for (int k = 0; k <= 90; ++k)
                QCOMPARE(balls(states[k]), order(g).mid(0, k));
        }
        QCOMPARE(turnedAway, 100);
        QCOMPARE(g.game().BolasSacadas(), 90);
    }
};

QTEST_MAIN(BoardServerTest)
#include "BoardServerTest.moc"
