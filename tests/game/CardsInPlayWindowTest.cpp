// SPDX-License-Identifier: GPL-3.0-or-later
// Protects cards in play as the operator runs them: choosing them from the registry, the calling stopped and
// the prize box up the moment a card wins, the room's screen showing the winner, paying, an undo taking the
// prize back, and a saved game whose cards in play cannot be read.

#include "app/PlayControl.h"
#include "cards/CardRegistry.h"
#include "game/GameStore.h"
#include "network/PlayersBoard.h"
#include "room/RoomScreen.h"
#include "support/Rig.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace cantabola;
using namespace cantabola::testing;

namespace {

Card cardOf(const std::array<std::array<int, 5>, 3> &rows)
{
    Card card;
    for (int r = 0; r < 3; ++r) {
        for (const int n : rows[static_cast<std::size_t>(r)])
            card.setNumber(cellAt(r + 1, std::min(n / 10, 8) + 1), n);
    }
    return card;
}

// Nº 1 and Nº 2 in the registry of folder.
void registerTwoCards(const QString &folder)
{
    CardRegistry registry(folder, {});
    const std::vector<qint64> serials
        = registry.beginSheet({cardOf({{{1, 12, 23, 34, 45}, {2, 13, 24, 35, 46}, {3, 14, 25, 36, 47}}}),
                               cardOf({{{50, 61, 72, 83, 90}, {51, 62, 73, 84, 5}, {52, 63, 74, 85, 6}}})},
                              QDateTime::currentDateTime(), 0);
    QCOMPARE(serials, (std::vector<qint64>{1, 2}));
    QVERIFY(registry.endSheet(true));
}

// The next balls the drum gives, in order.
void nextBalls(Rig &g, const std::vector<int> &balls)
{
    for (const int n : balls)
        g.fake.random.scripted.push_back((n - 0.5) / 90.0);
}

QDialog *prizeBox(Rig &g)
{
    return g.window().findChild<QDialog *>(QStringLiteral("prizeBox"));
}

} // namespace

class CardsInPlayWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void aLineStopsTheCallingAndIsPaidInTheBox()
    {
        QTemporaryDir data;
        registerTwoCards(data.path());
        Rig g(ScreenInfo::fromPixels(1024, 768, 15), true, data.path());
        const int opened = whileModal(
            "cardsInPlayDialog", [&] { g.trigger("cardsInPlayItem"); },
            [&](QDialog &d) {
                auto *field = named<QLineEdit>(d, "serialsField");
                QTest::keyClicks(field, "1-3");
                QCOMPARE(named<QLabel>(d, "countLine")->text(),
                         QStringLiteral("No hay ningún cartón con el Nº 3."));
                QVERIFY(!named(d, "acceptButton")->isEnabled());
                QTest::keyClick(field, Qt::Key_Backspace);
                QTest::keyClicks(field, "2");
                QCOMPARE(named<QLabel>(d, "countLine")->text(), QStringLiteral("2 cartones en juego."));
                QTest::mouseClick(named<QPushButton>(d, "acceptButton"), Qt::LeftButton);
            });
        QCOMPARE(opened, 1);
        QCOMPARE(g.action("cardsInPlayItem")->toolTip(),
                 QStringLiteral("2 cartones en juego. Jugamos a: Línea"));
        g.trigger("roomScreenItem");
        auto *room = g.window().findChild<RoomScreen *>();
        QVERIFY(room);
        QCOMPARE(room->playingShown(), QStringLiteral("Jugamos a: Línea"));

        // The fifth ball completes the top row of Nº 1: nothing more is drawn.
        nextBalls(g, {1, 12, 23, 34, 45, 2, 13});
        g.clickStart();
        QCOMPARE(g.game().BolasSacadas(), 5);
        QCOMPARE(g.start()->text(), QStringLiteral("Sacar número"));
        QTRY_VERIFY(prizeBox(g) && prizeBox(g)->isVisible());
        QCOMPARE(named<QLabel>(*prizeBox(g), "winnersLabel")->text(),
                 QStringLiteral("¡Línea! Cartón Nº 1 (fila 1)."));
        QCOMPARE(room->winnersShown(), QStringList{QStringLiteral("¡Línea! Cartón Nº 1 (fila 1).")});
        // and on the players' phones, also when the board is served only now
        QCOMPARE(g.program->board().state().prize, QStringLiteral("Línea"));
        QCOMPARE(g.program->board().state().winners, room->winnersShown());
        g.serveBoard();
        QVERIFY(g.program->board().isListening());
        QCOMPARE(g.program->board().state().prize, QStringLiteral("Línea"));
        QCOMPARE(g.program->board().state().winners, room->winnersShown());

        QTest::mouseClick(named<QPushButton>(*prizeBox(g), "paidButton"), Qt::LeftButton);
        QVERIFY(!prizeBox(g)->isVisible());
        QVERIFY(room->winnersShown().isEmpty());
        QCOMPARE(room->playingShown(), QStringLiteral("Jugamos a: Bingo"));
        QVERIFY(g.program->board().state().winners.isEmpty());
        QCOMPARE(g.action("cardsInPlayItem")->toolTip(),
                 QStringLiteral("2 cartones en juego. Jugamos a: Bingo"));
        // Kept with the game.
        const std::optional<SavedGame> saved = GameStore(data.path()).load();
        QVERIFY(saved && saved->play);
        QCOMPARE(saved->play->cards, QStringLiteral("1-2"));
        QCOMPARE(saved->play->prizesPaid, 1);
    }

    void takingTheWinningBallBackTakesThePrizeBack()
    {
        QTemporaryDir data;
        registerTwoCards(data.path());
        Rig g(ScreenInfo::fromPixels(1024, 768, 15), true, data.path());
        g.program->playControl().resume({{}, {}, SavedPlay{QStringLiteral("1-2"), false, 0, {}}, false});
        g.trigger("SM_Auto"); // one ball a click
        nextBalls(g, {50, 61, 72, 83, 90, 90});
        for (int i = 0; i < 5; ++i)
            g.clickStart();
        QTRY_VERIFY(prizeBox(g) && prizeBox(g)->isVisible());
        g.trigger("takeBackItem");
        QVERIFY(!prizeBox(g)->isVisible());
        g.clickStart();
        QTRY_VERIFY(prizeBox(g)->isVisible());
        QCOMPARE(named<QLabel>(*prizeBox(g), "winnersLabel")->text(),
                 QStringLiteral("¡Línea! Cartón Nº 2 (fila 1)."));
    }

    void cardsInPlayThatCannotBeReadAreDroppedOnceWithAWord()
    {
        QTemporaryDir data;
        registerTwoCards(data.path());
        {
            GameStore store(data.path());
            store.setPlay(SavedPlay{QStringLiteral("1-9"), false, 0, {}}); // Nº 3 to 9 were never printed
            QVERIFY(store.save({7, 8}, {QDateTime::currentDateTime(), QDateTime::currentDateTime()}));
        }
        Rig g(ScreenInfo::fromPixels(1024, 768, 15), true, data.path());
        QCOMPARE(g.game().BolasSacadas(), 2);
        QCOMPARE(g.fake.messages.shown.back().text, PlayControl::resumedWithout);
        QCOMPARE(g.action("cardsInPlayItem")->toolTip(), QStringLiteral("Ningún cartón en juego."));
        const std::optional<SavedGame> saved = GameStore(data.path()).load();
        QVERIFY(saved && !saved->play && !saved->playDamaged);
    }
};

QTEST_MAIN(CardsInPlayWindowTest)
#include "CardsInPlayWindowTest.moc"
