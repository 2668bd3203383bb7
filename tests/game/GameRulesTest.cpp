// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the rules of the game's tools: the verdict on a claimed card as the operator types its numbers or
// its serial, in the singular for one, what the room sees of a game, and the saved game on a real file (kept
// and taken up whatever its length, or set aside under a name of its own when it is not ours).

#include "game/ClaimCheck.h"
#include "game/Game.h"
#include "game/GameStore.h"
#include "room/RoomView.h"
#include "support/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <numeric>
#include <random>

using namespace cantabola;

class GameRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void claimVerdict_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("shown"); // each number as shown, "+" drawn, "-" not drawn
        // Drawn: 7, 23, 45, 90.
        QTest::newRow("nothing") << ""
                                 << "Escriba los números del cartón."
                                 << "";
        QTest::newRow("no digits") << " ,;"
                                   << "Escriba los números del cartón."
                                   << "";
        QTest::newRow("all drawn, blanks") << "7 23 45"
                                           << "Han salido los 3 números. Premio correcto."
                                           << "7+ 23+ 45+";
        QTest::newRow("commas, twice") << "90,7,,90"
                                       << "Han salido los 2 números. Premio correcto."
                                       << "90+ 7+";
        QTest::newRow("missing, ascending") << "45 8-1 60"
                                            << "Faltan 3 de 4: 1, 8, 60"
                                            << "45+ 8- 1- 60-";
        QTest::newRow("leading zero") << "07"
                                      << "Ha salido el número. Premio correcto."
                                      << "7+";
        QTest::newRow("zero") << "7 0 91"
                              << "Número no válido: 0"
                              << "";
        QTest::newRow("above 90 first") << "91 0"
                                        << "Número no válido: 91"
                                        << "";
        QTest::newRow("huge") << "7 123456789012"
                              << "Número no válido: 123456789012"
                              << "";
    }
    void claimVerdict()
    {
        QFETCH(QString, typed);
        QFETCH(QString, summary);
        QFETCH(QString, shown);
        const ClaimVerdict verdict
            = checkClaim(typed, [](int n) { return n == 7 || n == 23 || n == 45 || n == 90; });
        QCOMPARE(verdict.summary, summary);
        QStringList numbers;
        for (const CheckedNumber &checked : verdict.numbers)
            numbers << QStringLiteral("%1%2").arg(checked.number).arg(checked.drawn ? '+' : '-');
        QCOMPARE(numbers.join(' '), shown);
    }

    void oneReadsInTheSingular_data()
    {
        QTest::addColumn<QString>("numbers"); // 7, drawn, and 0 to 2 missing
        QTest::addColumn<QString>("typed"); // the verdict on them typed
        QTest::addColumn<QString>("card"); // on a card of them, in its first row
        QTest::newRow("0") << "7"
                           << "Ha salido el número. Premio correcto."
                           << "Cartón Nº 7: ¡Bingo! Ha salido su número.";
        QTest::newRow("1") << "7 60"
                           << "Falta 1 de 2: 60"
                           << "Cartón Nº 7: falta 1: 60";
        QTest::newRow("2") << "7 60 88"
                           << "Faltan 2 de 3: 60, 88"
                           << "Cartón Nº 7: faltan 2: 60, 88";
    }
    void oneReadsInTheSingular()
    {
        QFETCH(QString, numbers);
        QFETCH(QString, typed);
        QFETCH(QString, card);
        Card grid;
        for (const QString &n : numbers.split(' '))
            grid.setNumber(cellAt(1, std::min(n.toInt() / 10, 8) + 1), n.toInt());
        const CardCheck check = checkCard(
            "7", [&grid](qint64) { return grid; }, [](int n) { return n == 7; });
        QCOMPARE(checkClaim(numbers, [](int n) { return n == 7; }).summary, typed);
        QCOMPARE(check.summary, card);
    }

    void roomSeesTheLastBallAndTheFiveBefore_data()
    {
        QTest::addColumn<std::vector<int>>("order");
        QTest::addColumn<int>("current");
        QTest::addColumn<std::vector<int>>("previous");
        QTest::newRow("none") << std::vector<int>{} << 0 << std::vector<int>{};
        QTest::newRow("one") << std::vector<int>{45} << 45 << std::vector<int>{};
        QTest::newRow("seven") << std::vector<int>{1, 2, 3, 4, 5, 6, 7} << 7
                               << std::vector<int>{6, 5, 4, 3, 2};
    }
    void roomSeesTheLastBallAndTheFiveBefore()
    {
        QFETCH(std::vector<int>, order);
        QFETCH(int, current);
        QFETCH(std::vector<int>, previous);
        const RoomView view = roomView(order);
        QCOMPARE(view.current, current);
        QCOMPARE(view.previous, previous);
        QCOMPARE(view.count, static_cast<int>(order.size()));
        QCOMPARE(std::count(view.drawn.begin(), view.drawn.end(), true), static_cast<long>(order.size()));
    }

    void cardVerdictBySerial_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("drawn");
        QTest::addColumn<QString>("summary");
        // Card Nº 12, rows: 9 14 33 52 81 / 21 40 63 74 86 / 5 18 47 68 90 (a marked cell kept its 9 over 5).
        const QList<int> row1{9, 14, 33, 52, 81}, row2{21, 40, 63, 74, 86}, row3{5, 18, 47, 68, 90};
        QTest::newRow("nothing") << "" << QList<int>() << "Escriba el número del cartón.";
        QTest::newRow("unknown") << "13" << row1 << "No hay ningún cartón con el Nº 13.";
        QTest::newRow("too long") << "123456789012345678901" << row1
                                  << "No hay ningún cartón con el Nº 123456789012345678901.";
        QTest::newRow("bingo") << "Nº 012" << row1 + row2 + row3 + QList<int>{1, 2}
                               << "Cartón Nº 12: ¡Bingo! Han salido sus 15 números.";
        QTest::newRow("first full row")
            << "12" << row3 + row2 + QList<int>{5} << "Cartón Nº 12: línea en la fila 2.";
        QTest::newRow("missing, ascending")
            << "12" << row1.mid(1) + row2.mid(2) + row3.mid(1) << "Cartón Nº 12: faltan 4: 5, 9, 21, 40";
    }
    void cardVerdictBySerial()
    {
        QFETCH(QString, typed);
        QFETCH(QList<int>, drawn);
        QFETCH(QString, summary);
        const std::optional<Card> card
            = gridFromText("9,,5,14,,18,,21,,33,,,,40,47,52,,,,63,68,,74,,81,86,90");
        QVERIFY(card);
        const CardCheck check = checkCard(
            typed, [&](qint64 serial) { return serial == 12 ? card : std::nullopt; },
            [&](int n) { return drawn.contains(n); });
        QCOMPARE(check.summary, summary);
        QCOMPARE(check.card, summary.startsWith("Cartón") ? card : std::nullopt);
        for (int k = 1; check.card && k <= cellsPerCard; ++k)
            QCOMPARE(check.drawn[std::size_t(k - 1)],
                     drawn.contains(card->number(k)) && card->number(k) != 0);
    }

    // Every length of game, from no ball out to a full board (a game killed at the end-of-game question), is
    // kept whole and taken up as it was; no ball out leaves nothing to take up, and nothing is set aside.
    void savedGameOfEveryLengthIsTakenUpAsItWas()
    {
        QTemporaryDir folder;
        const GameStore store(folder.filePath("new/folder"));
        std::vector<int> balls(90);
        std::iota(balls.begin(), balls.end(), 1);
        std::shuffle(balls.begin(), balls.end(), std::mt19937(20261207));
        testing::FakePlatform fake;
        for (std::size_t count = 0; count <= balls.size(); ++count) {
            const std::vector<int> order(balls.begin(), balls.begin() + std::ptrdiff_t(count));
            std::vector<QDateTime> times;
            for (std::size_t i = 0; i < count; ++i)
                times.push_back(
                    QDateTime(QDate(2026, 12, 7), QTime(20, 1, 2, 345)).addMSecs(qint64(i) * 4321));
            QVERIFY(store.save(order, times));
            const std::optional<SavedGame> saved = store.load();
            QVERIFY2(saved.has_value() == (count > 0), qPrintable(QString::number(count)));
            Game game({fake.clock, fake.random, fake.waiter, fake.sound});
            if (saved)
                game.restore(saved->order, saved->times);
            QCOMPARE(game.drawOrder(), order);
            QCOMPARE(game.drawTimes(), times);
        }
        QCOMPARE(QDir(folder.filePath("new/folder")).entryList(QDir::Files),
                 QStringList{GameStore::fileName});
    }

    void fileThatIsNotOursIsSetAside_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray game
            = R"({"format":"cantabola-partida","version":1,"balls":[{"n":45,"at":"2026-12-07T20:01:02.000"}]})";
        QTest::newRow("truncated") << game.left(game.size() / 2);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not ours") << QByteArray(R"({"balls":[{"n":45}]})");
        QTest::newRow("newer version") << QByteArray(game).replace("\"version\":1", "\"version\":2");
        QTest::newRow("a ball twice")
            << QByteArray(game).replace("}]}", "},{\"n\":45,\"at\":\"2026-12-07T20:01:02\"}]}");
        QTest::newRow("ball 91") << QByteArray(game).replace("45", "91");
        QTest::newRow("binary") << QByteArray("\x7f"
                                              "ELF\0\1\2",
                                              7);
    }
    void fileThatIsNotOursIsSetAside()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        const GameStore store(folder.path());
        for (int i = 0; i < 3; ++i) { // within two seconds: some set aside in the same second, none lost
            QFile file(store.filePath());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) >= 0);
            file.close();
            QVERIFY(!store.load() && !QFile::exists(store.filePath()));
        }
        const QStringList aside = QDir(folder.path()).entryList({GameStore::fileName + ".apartada-*"});
        QCOMPARE(aside.size(), 3);
        for (const QString &name : aside) {
            QFile kept(folder.filePath(name));
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), content);
        }
    }
};

QTEST_APPLESS_MAIN(GameRulesTest)
#include "GameRulesTest.moc"
