// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the players' board in a real browser: Debian's headless Chromium loads the page from the running
// program on the loopback address, follows a ball drawn in the program without reloading, says it to a screen
// reader, connects again by itself after losing its connection, and shows a registered card's marks under
// "Mi cartón". The browser is driven over its DevTools pipe.
//
// With CANTABOLA_SCREENSHOTS=<folder> it also leaves there the page as a phone shows it and the room's screen
// with the board's address, for the README.

#include "cards/CardRegistry.h"
#include "network/PlayersBoard.h"
#include "room/RoomScreen.h"
#include "support/Rig.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

using namespace cantabola;
using cantabola::testing::Rig;

namespace {

// Chromium over --remote-debugging-pipe: commands written to its descriptor 3, answers read from its 4, each
// a JSON text ended by a zero byte.
class Chromium
{
public:
    bool start(const QString &program, const QString &url)
    {
        if (::pipe2(m_toBrowser.data(), O_CLOEXEC) != 0 || ::pipe2(m_fromBrowser.data(), O_CLOEXEC) != 0)
            return false;
        ::fcntl(m_fromBrowser[0], F_SETFL, O_NONBLOCK);
        const int in = m_toBrowser[0];
        const int out = m_fromBrowser[1];
        m_process.setChildProcessModifier([in, out] {
            ::dup2(in, 3);
            ::dup2(out, 4);
        });
        m_process.setStandardErrorFile(QProcess::nullDevice());
        // Headless, nothing fetched from anywhere but the page's own address.
        m_process.start(program,
                        {"--headless", "--no-sandbox", "--disable-gpu", "--remote-debugging-pipe",
                         "--user-data-dir=" + m_profile.path(), "--window-size=390,844", "--hide-scrollbars",
                         "--no-first-run", "--disable-background-networking", "--disable-component-update",
                         "--disable-sync", "--disable-extensions", url});
        ::close(in);
        ::close(out);
        return m_process.waitForStarted(10000);
    }

    ~Chromium()
    {
        ::close(m_toBrowser[1]);
        ::close(m_fromBrowser[0]);
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    Chromium() = default;
    Chromium(const Chromium &) = delete;
    Chromium &operator=(const Chromium &) = delete;

    // The result of one command, the program's events served meanwhile; empty when none came in time.
    QJsonObject call(const QString &method, const QJsonObject &params = {}, const QString &session = {})
    {
        QJsonObject command{{"id", ++m_lastId}, {"method", method}, {"params", params}};
        if (!session.isEmpty())
            command.insert("sessionId", session);
        const QByteArray bytes = QJsonDocument(command).toJson(QJsonDocument::Compact) + '\0';
        if (::write(m_toBrowser[1], bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size())
            return {};
        QJsonObject result;
        const int id = m_lastId;
        (void)QTest::qWaitFor(
            [&] {
                std::array<char, 65536> buffer{};
                ssize_t got = 0;
                while ((got = ::read(m_fromBrowser[0], buffer.data(), buffer.size())) > 0)
                    m_received.append(buffer.data(), got);
                for (qsizetype end = m_received.indexOf('\0'); end >= 0; end = m_received.indexOf('\0')) {
                    const QJsonObject answer = QJsonDocument::fromJson(m_received.left(end)).object();
                    m_received.remove(0, end + 1);
                    if (answer.value("id").toInt() == id)
                        result = answer.value("result").toObject();
                }
                return !result.isEmpty();
            },
            20000);
        return result;
    }

private:
    QProcess m_process;
    QTemporaryDir m_profile;
    std::array<int, 2> m_toBrowser{-1, -1};
    std::array<int, 2> m_fromBrowser{-1, -1};
    QByteArray m_received;
    int m_lastId = 0;
};

} // namespace

class BrowserTest : public QObject
{
    Q_OBJECT

private slots:
    void pageFollowsTheGameAndShowsACardsMarks()
    {
        const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
        if (chromium.isEmpty())
            QSKIP("chromium is not installed, and installing it needs root (tools/install-deps)");
        Rig g(ScreenInfo::fromPixels(1920, 1080, 15));
        const std::optional<Card> grid
            = gridFromText("9,,5,14,,18,,21,,33,,,,40,47,52,,,,63,68,,74,,81,86,90");
        qint64 serial = 0;
        {
            CardRegistry registry(g.fake.platform.dataFolder, g.fake.platform.settingsFile);
            serial = registry.beginSheet({*grid}, QDateTime::currentDateTime(), 0).at(0);
            QVERIFY(registry.endSheet(true));
        }
        // The first row of the card out, and two more.
        g.game().restore({9, 14, 33, 52, 81, 60, 3}, std::vector<QDateTime>(7, QDateTime::currentDateTime()));
        g.serveBoard();
        QVERIFY(g.program->board().isListening());

        Chromium browser;
        QVERIFY(browser.start(chromium, g.program->board().address()));
        const QJsonObject targets = browser.call("Target.getTargets");
        QString target;
        for (const QJsonValue &info : targets.value("targetInfos").toArray()) {
            if (info["type"].toString() == "page")
                target = info["targetId"].toString();
        }
        QVERIFY(!target.isEmpty());
        const QString session
            = browser.call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}})["sessionId"]
                  .toString();
        const auto read = [&](const QString &expression) {
            return browser
                .call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}}, session)
                .value("result")
                .toObject()
                .value("value")
                .toVariant()
                .toString();
        };
        const auto text = [&](const char *id) {
            return read(QStringLiteral("(document.getElementById('%1') || {}).textContent").arg(id));
        };
        QVERIFY(QTest::qWaitFor([&] { return text("conexion") == "En directo"; }, 20000));
        QCOMPARE(text("actual"), QStringLiteral("3"));
        QCOMPARE(text("cuenta"), QStringLiteral("Bola 7 de 90"));
        QCOMPARE(read("[...document.querySelectorAll('#anteriores li')].map(e => e.textContent).join()"),
                 QStringLiteral("60,81,52,33,14"));

        g.trigger("SM_Auto");
        QElapsedTimer shown;
        shown.start();
        g.clickStart();
        const QString drawn = QString::number(g.game().NumEnJuego());
        QVERIFY(QTest::qWaitFor([&] { return text("actual") == drawn; }, 10000));
        qInfo("the page showed the ball %lld ms after it was drawn", static_cast<long long>(shown.elapsed()));
        QCOMPARE(text("cuenta"), QStringLiteral("Bola 8 de 90"));
        QCOMPARE(text("anuncio"), QStringLiteral("Ha salido el ") + drawn);
        QCOMPARE(read("document.querySelectorAll('#tablero li.salida').length"), QStringLiteral("8"));

        // The connection lost (the board off and on again, a ball drawn meanwhile): the page connects again
        // by itself and shows the game as it is.
        g.trigger("networkBoardItem");
        g.clickStart();
        g.trigger("networkBoardItem");
        const QString meanwhile = QString::number(g.game().NumEnJuego());
        QVERIFY(QTest::qWaitFor(
            [&] { return text("actual") == meanwhile && text("conexion") == "En directo"; }, 20000));
        QCOMPARE(text("cuenta"), QStringLiteral("Bola 9 de 90"));

        read(QStringLiteral("document.getElementById('serie').value = '%1';"
                            "document.getElementById('buscar').requestSubmit()")
                 .arg(serial));
        QVERIFY(QTest::qWaitFor([&] { return !text("veredicto").isEmpty(); }, 10000));
        int marked = 0;
        for (const CardCell &cell : grid->cells())
            marked += cell.number != 0 && g.game().BolaSacada(cell.number) ? 1 : 0;
        QCOMPARE(read("document.querySelectorAll('#rejilla span.salida').length"), QString::number(marked));
        QCOMPARE(text("veredicto"), QStringLiteral("Cartón Nº %1: ¡Línea! En la fila 1.").arg(serial));
        read(QStringLiteral("document.getElementById('serie').value = '%1';"
                            "document.getElementById('buscar').requestSubmit()")
                 .arg(serial + 1));
        QVERIFY(QTest::qWaitFor([&] { return text("veredicto").startsWith("No hay"); }, 10000));
        QCOMPARE(text("veredicto"), QStringLiteral("No hay ningún cartón con el Nº %1.").arg(serial + 1));

        const QString screenshots = qEnvironmentVariable("CANTABOLA_SCREENSHOTS");
        if (!screenshots.isEmpty()) {
            read(QStringLiteral("document.getElementById('serie').value = '%1';"
                                "document.getElementById('buscar').requestSubmit()")
                     .arg(serial));
            QVERIFY(QTest::qWaitFor([&] { return text("veredicto").startsWith("Cartón"); }, 10000));
            const QByteArray png = QByteArray::fromBase64(
                browser.call("Page.captureScreenshot", {{"captureBeyondViewport", true}}, session)["data"]
                    .toString()
                    .toLatin1());
            QFile file(screenshots + "/board-phone.png");
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(png) == png.size());
            g.trigger("roomScreenItem");
            QVERIFY(QTest::qWaitForWindowExposed(g.program->roomScreen()));
            QVERIFY(g.program->roomScreen()->grab().save(screenshots + "/room-board.png"));
        }
    }
};

QTEST_MAIN(BrowserTest)
#include "BrowserTest.moc"
