// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the prizes of a game with cards in play: who is announced after which ball, ties, paying and
// passing over, two lines, undo and a new game, and the words of each announcement.

#include "game/PrizeRound.h"
#include "game/Game.h"
#include "support/FakePlatform.h"

#include <QTest>

using namespace cantabola;
using namespace cantabola::testing;

namespace {

// A card from its rows, each number in its own column.
CardInPlay card(qint64 serial, const std::array<std::vector<int>, 3> &rows)
{
    CardInPlay made{serial, {}};
    for (std::size_t r = 0; r < 3; ++r) {
        for (const int n : rows[r])
            made.cells[static_cast<std::size_t>(3 * std::min(n / 10, 8) + static_cast<int>(r))] = n;
    }
    return made;
}

} // namespace

class PrizeRoundTest : public QObject
{
    Q_OBJECT

private slots:
    void announcesWhatTheBallWins_data()
    {
        QTest::addColumn<bool>("twoLines");
        // numbers drawn; u undo, p pay, g go on unpaid, n new game, r kept and taken up again (a resumed
        // game)
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("announced");
        QTest::addColumn<QString>("playing");
        // Nº 5: 1 12 23 34 45 / 2 13 24 35 46 / 3 14 25 36 47. Nº 9: 1 12 23 34 45 / 50 61 72 83 4 / ...
        // Nº 7: 50 61 72 83 90 / 51 62 73 84 5 / 52 63 74 85 6.
        QTest::newRow("four of five") << false << "1 12 23 34"
                                      << ""
                                      << "Línea";
        QTest::newRow("line, a tie") << false << "1 12 23 34 45"
                                     << "¡Línea! Cartón Nº 5 (fila 1). | ¡Línea! Cartón Nº 9 (fila 1)."
                                     << "Línea";
        QTest::newRow("bottom row") << false << "52 63 74 85 6"
                                    << "¡Línea! Cartón Nº 7 (fila 3)."
                                    << "Línea";
        QTest::newRow("passed over, not again") << false << "1 12 23 34 45 g 2 13 24 35 46"
                                                << ""
                                                << "Línea";
        QTest::newRow("passed over, another wins") << false << "1 12 23 34 45 g 50 61 72 83 90"
                                                   << "¡Línea! Cartón Nº 7 (fila 1)."
                                                   << "Línea";
        QTest::newRow("paid, bingo next") << false << "1 12 23 34 45 p 2 13 24 35 46"
                                          << ""
                                          << "Bingo";
        QTest::newRow("paid, two lines next") << true << "1 12 23 34 45 p 2 13 24 35 46"
                                              << "¡Dos líneas! Cartón Nº 5 (filas 1 y 2)."
                                              << "Dos líneas";
        QTest::newRow("already holds the next prize") << true << "1 12 23 34 45 50 61 72 83 4 p"
                                                      << "¡Dos líneas! Cartón Nº 9 (filas 1 y 2)."
                                                      << "Dos líneas";
        QTest::newRow("bingo") << false << "1 12 23 34 45 p 2 13 24 35 46 3 14 25 36 47"
                               << "¡Bingo! Cartón Nº 5."
                               << "Bingo";
        QTest::newRow("bingo paid, no more prizes")
            << false << "1 12 23 34 45 p 2 13 24 35 46 3 14 25 36 47 p 50"
            << ""
            << "";
        QTest::newRow("winning ball taken back") << false << "1 12 23 34 45 u"
                                                 << ""
                                                 << "Línea";
        QTest::newRow("won again after the undo")
            << false << "1 12 23 34 45 g u 45"
            << "¡Línea! Cartón Nº 5 (fila 1). | ¡Línea! Cartón Nº 9 (fila 1)."
            << "Línea";
        QTest::newRow("won again after the undo, resumed between")
            << false << "1 12 23 34 45 g r u 45"
            << "¡Línea! Cartón Nº 5 (fila 1). | ¡Línea! Cartón Nº 9 (fila 1)."
            << "Línea";
        QTest::newRow("an earlier ball taken back")
            << false << "1 12 23 34 45 2 u"
            << "¡Línea! Cartón Nº 5 (fila 1). | ¡Línea! Cartón Nº 9 (fila 1)."
            << "Línea";
        QTest::newRow("new game") << false << "1 12 23 34 45 p n 2 13"
                                  << ""
                                  << "Línea";
    }
    void announcesWhatTheBallWins()
    {
        QFETCH(bool, twoLines);
        QFETCH(QString, script);
        QFETCH(QString, announced);
        QFETCH(QString, playing);
        FakeClock clock;
        FakeRandom random;
        FakeWaiter waiter;
        FakeSound sound;
        Game game({clock, random, waiter, sound});
        game.setModoAutomatico(false);
        PrizeRound round(game);
        round.setTwoLines(twoLines);
        round.setCards(
            CardsInPlay({card(9, {{{1, 12, 23, 34, 45}, {50, 61, 72, 83, 4}, {51, 62, 73, 84, 5}}}),
                         card(5, {{{1, 12, 23, 34, 45}, {2, 13, 24, 35, 46}, {3, 14, 25, 36, 47}}}),
                         card(7, {{{50, 61, 72, 83, 90}, {51, 62, 73, 84, 5}, {52, 63, 74, 85, 6}}})}));
        for (const QString &step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (step == QLatin1String("u"))
                game.takeBackLastBall();
            else if (step == QLatin1String("p"))
                round.pay();
            else if (step == QLatin1String("g"))
                round.goOnUnpaid();
            else if (step == QLatin1String("n"))
                game.newGame();
            else if (step == QLatin1String("r")) {
                const std::vector<int> order = game.drawOrder();
                const int paid = round.paidCount();
                const std::vector<qint64> passed = round.passedOver();
                game.restore(order, std::vector<QDateTime>(order.size()));
                round.restore(paid, passed);
            } else {
                random.scripted = {(step.toInt() - 0.5) / 90.0};
                game.SacarBola(false);
            }
        }
        QStringList texts;
        for (const PrizeWin &win : round.announced())
            texts << prizeText(win);
        QCOMPARE(texts.join(QStringLiteral(" | ")), announced);
        QCOMPARE(round.playing() ? prizeName(*round.playing()) : QString(), playing);
    }
};

QTEST_GUILESS_MAIN(PrizeRoundTest)
#include "PrizeRoundTest.moc"
