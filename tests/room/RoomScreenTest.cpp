// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the room's screen: it follows every draw (painted before the number is announced), undo, new and
// resumed game, shows the claim being checked, keeps its text legible at every size, and closing it leaves
// the game going.

#include "room/RoomScreen.h"
#include "platform/AniGif.h"
#include "support/Rig.h"

#include <QLineEdit>
#include <QMovie>
#include <QTimer>

using namespace cantabola;
using cantabola::testing::Rig;

namespace {
RoomScreen *openRoom(Rig &g)
{
    g.trigger("roomScreenItem");
    RoomScreen *room = g.program->roomScreen();
    if (room && !QTest::qWaitForWindowExposed(room))
        return nullptr;
    return room;
}
} // namespace

class RoomScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void roomFollowsTheGameAndIsPaintedBeforeTheAnnouncement()
    {
        Rig g;
        RoomScreen *room = openRoom(g);
        QVERIFY(room && room->isVisible() && room->isFullScreen());
        QCOMPARE(room->windowTitle(), QStringLiteral("Cantabola — Sala"));
        bool paintedFirst = true;
        g.fake.sound.onPlay = [&](const QString &, PlayMode) {
            paintedFirst = paintedFirst && room->shown().current == g.game().NumEnJuego();
        };
        g.trigger("SM_Auto");
        for (int i = 0; i < 7; ++i)
            g.clickStart();
        QVERIFY(paintedFirst);
        const std::vector<int> out = g.game().drawOrder();
        QCOMPARE(room->shown().previous, (std::vector<int>{out[5], out[4], out[3], out[2], out[1]}));
        QCOMPARE(room->shown().count, 7);
        // The sponsor banner of the main window, rotating with it.
        QMetaObject::invokeMethod(g.find<QTimer>("Timer1"), "timeout");
        QCOMPARE(room->findChild<AniGif *>()->movie()->fileName(),
                 g.find<AniGif>("AniGIF1")->movie()->fileName());

        g.trigger("takeBackItem");
        QTRY_COMPARE(room->shown().count, 6);
        QCOMPARE(room->shown().current, out[5]);
        g.trigger("SM_New");
        QTRY_COMPARE(room->shown().count, 0);
        QVERIFY(!room->shown().drawn[std::size_t(out[0])]);

        // Closing it unticks the item, and the game goes on.
        g.fake.sound.onPlay = nullptr;
        room->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!g.action("roomScreenItem")->isChecked());
        QVERIFY(!g.program->roomScreen());
        g.clickStart();
        QCOMPARE(g.game().BolasSacadas(), 1);
    }

    void roomWatchesTheClaimBeingChecked()
    {
        Rig g;
        RoomScreen *room = openRoom(g);
        g.trigger("SM_Auto");
        g.clickStart();
        const int opened = testing::whileModal(
            "ClaimDialog", [&] { g.trigger("checkClaimItem"); },
            [&](QDialog &d) {
                testing::named<QLineEdit>(d, "numbersField")->setText(QString::number(g.game().NumEnJuego()));
                QTRY_VERIFY(room->claimShown());
                testing::named<QLineEdit>(d, "cardNumberField")
                    ->setText(QStringLiteral("77")); // checked by its number
                room->repaint();
                QVERIFY(room->claimShown());
            });
        QCOMPARE(opened, 1);
        QVERIFY(!room->claimShown());
    }

    void noTextBelowThreePercentOfTheHeightAndTheNumberOverForty_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
        QTest::newRow("3840x2160") << QSize(3840, 2160);
        QTest::newRow("1280x1024") << QSize(1280, 1024);
    }
    void noTextBelowThreePercentOfTheHeightAndTheNumberOverForty()
    {
        QFETCH(QSize, size);
        Rig g;
        RoomScreen room(g.game());
        g.trigger("SM_Auto");
        for (int i = 0; i < 10; ++i)
            g.clickStart();
        room.setFixedSize(size);
        room.show();
        QVERIFY(QTest::qWaitForWindowExposed(&room));
        room.repaint();
        QVERIFY(room.smallestTextPixels() >= 0.03 * size.height());
        QVERIFY(room.smallestTextPixels() > 0);
        // The number just drawn over 40 % of the height.
        QVERIFY(room.numberPixels() * 10 > size.height() * 4);
    }
};

QTEST_MAIN(RoomScreenTest)
#include "RoomScreenTest.moc"
