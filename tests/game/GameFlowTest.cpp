// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the game as the operator plays it: the start and stop button, the wait, automatic and one-by-one
// calling, the end of a game and the new game, driven through the real main window with waits that take no
// time and run the test's own clicks "during" them, as an operator's clicks would run.

#include "support/Rig.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QScrollBar>
#include <set>

using namespace cantabola;
using cantabola::testing::Rig;

namespace {
const QString captionStart = QStringLiteral("Sacar número");
const QString captionStop = QStringLiteral("Parar juego");
} // namespace

class GameFlowTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("es_ES"))); }

    void automaticGameCallsAllNinetyThenPromptsWithoutAClick()
    {
        Rig g;
        QVERIFY(g.game().ModoAutomatico());
        std::vector<int> called;
        bool consistentThroughout = true;
        g.fake.waiter.during = [&](double, int) {
            called.push_back(g.game().NumEnJuego());
            consistentThroughout = consistentThroughout && g.boardAgreesWithGame()
                && g.start()->text() == captionStop && g.callingControls(false) && g.start()->isEnabled();
        };
        std::size_t waitsBeforePrompt = 0;
        g.fake.messages.onShow = [&](const Message &) {
            waitsBeforePrompt = g.fake.waiter.waits.size();
            QVERIFY(g.boardAgreesWithGame());
            QCOMPARE(g.game().BolasSacadas(), 90);
        };
        g.clickStart();

        QVERIFY(consistentThroughout);
        QCOMPARE(std::set<int>(called.begin(), called.end()).size(), std::size_t(90));
        // The prompt came after the 90th ball's full delay, with nobody clicking.
        QCOMPARE(waitsBeforePrompt, std::size_t(90));
        QCOMPARE(g.fake.waiter.waits, std::vector<double>(90, 3.0));
        QCOMPARE(g.fake.messages.shown.size(), std::size_t(1));
        const Message &prompt = g.fake.messages.shown.front();
        QCOMPARE(prompt.text, QStringLiteral("Partida concluída. ¿Otra partida?"));
        QCOMPARE(prompt.title, QStringLiteral("Cantabola"));
        QCOMPARE(prompt.icon, MessageIcon::Question);
        QCOMPARE(prompt.buttons, MessageButtons::YesNo);

        // Yes: a fresh board, the controls back, and no calling goes on by itself.
        QCOMPARE(g.game().BolasSacadas(), 0);
        QVERIFY(g.boardAgreesWithGame());
        QCOMPARE(g.bigNumber(), QString());
        QCOMPARE(g.start()->text(), captionStart);
        QVERIFY(g.callingControls(true));
        QVERIFY(g.start()->isEnabled());
        QCOMPARE(g.fake.process.ended, 0);
        QCOMPARE(g.fake.random.reseeds.size(), std::size_t(2)); // start-up, and once for the run
    }

    void stopRestoresControlsAtOnceAndDrawsNoFurtherBall()
    {
        Rig g;
        bool restoredAtOnce = false;
        g.fake.waiter.during = [&](double, int index) {
            if (index == 88) { // the wait after the 89th ball
                g.clickStart();
                restoredAtOnce = g.start()->text() == captionStart && g.callingControls(true);
            }
        };
        g.clickStart();
        QVERIFY(restoredAtOnce);
        QCOMPARE(g.game().BolasSacadas(), 89);
        QVERIFY(g.fake.messages.shown.empty());
        QVERIFY(g.boardAgreesWithGame());

        // The next start draws the 90th ball, waits, and then prompts; No ends the program.
        g.fake.waiter.during = nullptr;
        g.fake.messages.answer = MessageAnswer::No;
        g.fake.messages.onShow = [&](const Message &) {
            QCOMPARE(g.game().BolasSacadas(), 90);
        };
        g.clickStart();
        QCOMPARE(g.fake.waiter.waits.size(), std::size_t(90));
        QCOMPARE(g.fake.messages.shown.size(), std::size_t(1));
        QCOMPARE(g.fake.process.ended, 1);
    }

    void startWhileStoppingNestsANewRunThatTheOldOneOutlasts()
    {
        Rig g;
        QStringList captionsAfterRestart;
        g.fake.waiter.during = [&](double, int index) {
            if (index == 2) {
                g.clickStart(); // stop
                g.clickStart(); // and start again, inside the same wait
                captionsAfterRestart << g.start()->text();
            } else if (index == 5) {
                g.clickStart(); // stop the nested run
            }
        };
        g.clickStart();
        // Three balls in the first run, three more in the nested one; both ended.
        QCOMPARE(g.game().BolasSacadas(), 6);
        QCOMPARE(g.fake.waiter.waits.size(), std::size_t(6));
        QCOMPARE(g.start()->text(), captionStart);
        QVERIFY(g.callingControls(true));
        QVERIFY(g.boardAgreesWithGame());
        // The nested run had ended, stopped, before the old run's wait was over.
        QCOMPARE(captionsAfterRestart, QStringList{captionStart});
    }

    void delayChangeAppliesFromTheNextWait()
    {
        Rig g;
        g.fake.waiter.during = [&](double, int index) {
            if (index == 0)
                g.find<QScrollBar>("HscInterval")->setValue(10);
            if (index == 2)
                g.clickStart();
        };
        g.clickStart();
        QCOMPARE(g.fake.waiter.waits, (std::vector<double>{3.0, 5.0, 5.0}));
        QCOMPARE(g.find<QLabel>("LblDelay")->text(), QStringLiteral("5"));
    }

    void oneByOneDrawsOneBallPerClickWithTheButtonGreyDuringTheWait()
    {
        Rig g;
        g.trigger("SM_Auto");
        QVERIFY(!g.game().ModoAutomatico());
        bool greyDuringWait = false;
        g.fake.waiter.during = [&](double seconds, int) {
            greyDuringWait = seconds == 0.7 && !g.start()->isEnabled() && g.callingControls(true);
        };
        g.clickStart();
        QVERIFY(greyDuringWait);
        QVERIFY(g.start()->isEnabled());
        QCOMPARE(g.game().BolasSacadas(), 1);
        QVERIFY(g.boardAgreesWithGame());

        for (int click = 2; click <= 90; ++click)
            g.clickStart();
        QCOMPARE(g.game().BolasSacadas(), 90);
        QVERIFY(g.fake.messages.shown.empty()); // the 90th ball is shown like any other
        QCOMPARE(g.fake.random.reseeds.size(), std::size_t(91)); // reseeded before every ball

        g.clickStart(); // the 91st click
        QCOMPARE(g.fake.messages.shown.size(), std::size_t(1));
        QCOMPARE(g.fake.waiter.waits.size(), std::size_t(90));
        QCOMPARE(g.game().BolasSacadas(), 0);
        QVERIFY(g.boardAgreesWithGame());
        QVERIFY(g.start()->isEnabled());
    }

    void menuAndCtrlNDrawEvenWhileTheButtonIsGrey()
    {
        Rig g;
        g.trigger("SM_Auto");
        g.fake.waiter.during = [&](double, int index) {
            if (index == 0) {
                QVERIFY(!g.start()->isEnabled());
                g.trigger("SM_GetNumber"); // nested inside the 0.7-second wait
            }
        };
        g.clickStart();
        QCOMPARE(g.game().BolasSacadas(), 2);
        QVERIFY(g.start()->isEnabled());

        g.fake.waiter.during = nullptr;
        g.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&g.window()));
        QTest::keyClick(&g.window(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(g.game().BolasSacadas(), 3);
        QVERIFY(g.boardAgreesWithGame());

        // Space on the start button draws the next ball, and the focus stays there for the one after.
        g.start()->setFocus();
        for (int ball = 4; ball <= 5; ++ball) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QCOMPARE(g.game().BolasSacadas(), ball);
            QCOMPARE(QApplication::focusWidget(), g.start());
        }
    }

    void eachBallIsShownThenAnnouncedByItsWordsOrTheSignal()
    {
        Rig g;
        g.trigger("SM_Auto");
        bool shownFirst = true;
        g.fake.sound.onPlay = [&](const QString &, PlayMode) {
            const int n = g.game().NumEnJuego();
            shownFirst = shownFirst && g.bigNumber() == QString::number(n)
                && foreColour(g.boardLabel(n)) == Board::colourDrawn;
        };
        for (int i = 0; i < 30; ++i) {
            g.fake.sound.played.clear();
            g.clickStart();
            const int n = g.game().NumEnJuego();
            const int last = (n <= 15 || n % 10 == 0) ? n : n % 10;
            QCOMPARE(g.fake.sound.played.back().first, QStringLiteral("%1.wav").arg(last));
        }
        QVERIFY(!g.fake.sound.files().contains(QStringLiteral("pac.wav")));

        g.trigger("SM_Voice"); // off: the signal, once per ball, cutting short whatever plays
        g.fake.sound.played.clear();
        for (int i = 0; i < 10; ++i)
            g.clickStart();
        QCOMPARE(g.fake.sound.files(), QStringList(10, QStringLiteral("pac.wav")));
        for (const auto &entry : g.fake.sound.played)
            QCOMPARE(entry.second, PlayMode::Async);
        QVERIFY(shownFirst);
    }

    void newGameMidGamePutsTheBallsBack()
    {
        Rig g;
        g.trigger("SM_Auto");
        for (int i = 0; i < 20; ++i)
            g.clickStart();
        g.trigger("SM_New");
        QCOMPARE(g.game().BolasSacadas(), 0);
        QVERIFY(g.boardAgreesWithGame());
        for (int n = 1; n <= 90; ++n)
            QCOMPARE(backColour(g.boardLabel(n)), Board::colourBoardBack);
        // All 90 can be drawn again, the earlier ones included.
        for (int i = 0; i < 90; ++i)
            g.clickStart();
        QCOMPARE(g.game().BolasSacadas(), 90);
        QVERIFY(g.boardAgreesWithGame());
    }

    void closingTheWindowOrSalirEndsTheProgram_data()
    {
        QTest::addColumn<bool>("whileCalling");
        QTest::newRow("close box while calling") << true;
        QTest::newRow("Salir") << false;
    }
    void closingTheWindowOrSalirEndsTheProgram()
    {
        QFETCH(bool, whileCalling);
        Rig g;
        if (!whileCalling) {
            g.trigger("SM_End");
            QCOMPARE(g.fake.process.ended, 1);
            return;
        }
        g.fake.waiter.during = [&](double, int index) {
            if (index == 4) {
                g.window().close();
                QCOMPARE(g.fake.process.ended, 1);
                g.clickStart(); // a real process is gone by now; stop the run the fake left going
            }
        };
        g.clickStart();
        QVERIFY(g.fake.messages.shown.empty());
        QCOMPARE(g.fake.process.ended, 1);
    }

    void automaticSwitchEnablesTheButtonAndKeepsTheGame()
    {
        Rig g;
        g.trigger("SM_Auto");
        g.clickStart();
        g.clickStart();
        g.start()->setEnabled(false);
        g.trigger("SM_Auto");
        QVERIFY(g.start()->isEnabled());
        QVERIFY(g.game().ModoAutomatico());
        QCOMPARE(g.game().BolasSacadas(), 2);
        QVERIFY(g.boardAgreesWithGame());
    }

    void voiceSwitchChangesTheDelayRange()
    {
        Rig g;
        auto *bar = g.find<QScrollBar>("HscInterval");
        g.trigger("SM_Voice"); // off: down to half a second
        bar->setValue(1);
        QCOMPARE(g.find<QLabel>("LblDelay")->text(), QStringLiteral("0,5"));
        g.trigger("SM_Voice"); // on again: the delay is raised to 2 seconds
        QCOMPARE(bar->value(), 4);
        QCOMPARE(g.find<QLabel>("LblDelay")->text(), QStringLiteral("2"));
    }

    void onlyStopHelpDelayAndCloseStayUsableWhileCalling()
    {
        Rig g;
        bool checked = false;
        g.fake.waiter.during = [&](double, int index) {
            if (index != 0)
                return;
            QVERIFY(g.start()->isEnabled());
            QVERIFY(g.menu("SM_Help")->menuAction()->isEnabled());
            QVERIFY(g.find("HscInterval")->isEnabled());
            QVERIFY(g.callingControls(false));
            // Ctrl+N belongs to the greyed menu "Juego": it starts nothing while the calling runs.
            QVERIFY(QTest::qWaitForWindowActive(&g.window()));
            QTest::keyClick(&g.window(), Qt::Key_N, Qt::ControlModifier);
            QCOMPARE(g.start()->text(), captionStop);
            QTest::keyClick(&g.window(), Qt::Key_F1); // the help opens without waiting
            checked = true;
            g.clickStart();
        };
        g.clickStart();
        QVERIFY(checked);
        QCOMPARE(g.game().BolasSacadas(), 1);
        QCOMPARE(
            g.fake.help.shown,
            QStringList{QDir(QStringLiteral(CANTABOLA_PROGRAM_DIR)).absoluteFilePath("ayudabingo.html")});
    }
};

QTEST_MAIN(GameFlowTest)
#include "GameFlowTest.moc"
