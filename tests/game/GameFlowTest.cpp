// A game called for real on the main window: clicks on the start button and menu commands, with waits that
// take no time and run the test's own clicks "during" them, as an operator's clicks would run.

#include "GameFixture.h"

#include <QDir>
#include <QLocale>
#include <set>

using namespace cantabola;
using cantabola::testing::Game;

class GameFlowTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("es_ES"))); }

    void startUpIsIdleAutomaticWithVoiceAndThreeSeconds()
    {
        Game g;
        QVERIFY(g.window->ModoAutomatico);
        QVERIFY(g.window->SM_Voice->isChecked());
        QCOMPARE(g.window->LblDelay->text(), QStringLiteral("3"));
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(0));
        QVERIFY(g.callingControlsEnabled());
    }

    void automaticGameCallsAllNinetyThenPromptsWithoutAClick()
    {
        Game g;
        std::vector<int> called;
        bool consistentThroughout = true;
        g.fake.waiter.during = [&](double, int) {
            called.push_back(g.window->NumEnJuego);
            consistentThroughout = consistentThroughout && g.boardAgreesWithDrum()
                && g.window->LblNumEnJuego->text() == QString::number(g.window->NumEnJuego)
                && g.window->CmbStart->text() == QStringLiteral("Parar juego") && g.callingControlsDisabled()
                && g.window->CmbStart->isEnabled();
        };
        std::size_t waitsBeforePrompt = 0;
        g.fake.messages.onShow = [&](const Message &) {
            waitsBeforePrompt = g.fake.waiter.waits.size();
            QVERIFY(g.boardAgreesWithDrum());
            QCOMPARE(g.window->BolasSacadas, std::uint8_t(90));
        };
        g.clickStart();

        QVERIFY(consistentThroughout);
        QCOMPARE(called.size(), std::size_t(90));
        QCOMPARE(std::set<int>(called.begin(), called.end()).size(), std::size_t(90));
        QCOMPARE(*std::min_element(called.begin(), called.end()), 1);
        QCOMPARE(*std::max_element(called.begin(), called.end()), 90);
        // The prompt came after the 90th ball's full delay, with nobody clicking.
        QCOMPARE(waitsBeforePrompt, std::size_t(90));
        for (double wait : g.fake.waiter.waits)
            QCOMPARE(wait, 3.0);

        QCOMPARE(g.fake.messages.shown.size(), std::size_t(1));
        const Message &prompt = g.fake.messages.shown.front();
        QCOMPARE(prompt.text, QStringLiteral("Partida concluída. ¿Otra partida?"));
        QCOMPARE(prompt.title, QStringLiteral("Cantabola"));
        QCOMPARE(prompt.icon, MessageIcon::Question);
        QCOMPARE(prompt.buttons, MessageButtons::YesNo);

        // Yes: a fresh board, the controls back, and no calling goes on by itself.
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(0));
        QVERIFY(g.boardAgreesWithDrum());
        QCOMPARE(g.window->LblNumEnJuego->text(), QString());
        QCOMPARE(g.window->CmbStart->text(), QStringLiteral("Sacar número"));
        QVERIFY(g.callingControlsEnabled());
        QVERIFY(g.window->CmbStart->isEnabled());
        QCOMPARE(g.fake.process.ended, 0);
        QCOMPARE(g.fake.random.reseeds.size(), std::size_t(2)); // start-up, and once for the run
    }

    void stopRestoresControlsAtOnceAndDrawsNoFurtherBall()
    {
        Game g;
        bool restoredAtOnce = false;
        g.fake.waiter.during = [&](double, int index) {
            if (index == 88) { // the wait after the 89th ball
                g.clickStart();
                restoredAtOnce = g.window->CmbStart->text() == QStringLiteral("Sacar número")
                    && g.callingControlsEnabled();
            }
        };
        g.clickStart();
        QVERIFY(restoredAtOnce);
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(89));
        QVERIFY(g.fake.messages.shown.empty());
        QVERIFY(g.boardAgreesWithDrum());

        // The next start draws the 90th ball, waits, and then prompts.
        g.fake.waiter.during = nullptr;
        g.fake.messages.answer = MessageAnswer::No;
        g.fake.messages.onShow = [&](const Message &) { QCOMPARE(g.window->BolasSacadas, std::uint8_t(90)); };
        g.clickStart();
        QCOMPARE(g.fake.waiter.waits.size(), std::size_t(90));
        QCOMPARE(g.fake.messages.shown.size(), std::size_t(1));
        QCOMPARE(g.fake.process.ended, 1);
    }

    void stopAfterTheNinetiethBallPromptsAtTheNextStart()
    {
        Game g;
        g.fake.waiter.during = [&](double, int index) {
            if (index == 89)
                g.clickStart();
        };
        g.clickStart();
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(90));
        QVERIFY(g.fake.messages.shown.empty());

        g.clickStart();
        QCOMPARE(g.fake.messages.shown.size(), std::size_t(1));
        QCOMPARE(g.fake.waiter.waits.size(), std::size_t(90)); // no ball, no wait
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(0));
        QCOMPARE(g.window->CmbStart->text(), QStringLiteral("Sacar número"));
        QVERIFY(g.callingControlsEnabled());
    }

    void startWhileStoppingNestsANewRunThatTheOldOneOutlasts()
    {
        Game g;
        QList<QString> captionsAfterRestart;
        g.fake.waiter.during = [&](double, int index) {
            if (index == 2) {
                g.clickStart(); // stop
                g.clickStart(); // and start again, inside the same wait
                captionsAfterRestart.push_back(g.window->CmbStart->text());
            } else if (index == 5) {
                g.clickStart(); // stop the nested run
            }
        };
        g.clickStart();
        // Three balls in the first run, three more in the nested one; both ended.
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(6));
        QCOMPARE(g.fake.waiter.waits.size(), std::size_t(6));
        QCOMPARE(g.window->CmbStart->text(), QStringLiteral("Sacar número"));
        QVERIFY(g.callingControlsEnabled());
        QVERIFY(g.boardAgreesWithDrum());
        // The nested run had ended, stopped, before the old run's wait was over.
        QCOMPARE(captionsAfterRestart, QList<QString>({QStringLiteral("Sacar número")}));
    }

    void delayChangeAppliesFromTheNextWait()
    {
        Game g;
        g.fake.waiter.during = [&](double, int index) {
            if (index == 0)
                g.window->HscInterval->setValue(10);
            if (index == 2)
                g.clickStart();
        };
        g.clickStart();
        QCOMPARE(g.fake.waiter.waits, (std::vector<double>{3.0, 5.0, 5.0}));
        QCOMPARE(g.window->LblDelay->text(), QStringLiteral("5"));
    }

    void oneByOneDrawsOneBallPerClickWithTheButtonGreyDuringTheWait()
    {
        Game g;
        g.window->SM_Auto->trigger();
        QVERIFY(!g.window->ModoAutomatico);
        QVERIFY(!g.window->SM_Auto->isChecked());
        bool greyDuringWait = false;
        g.fake.waiter.during = [&](double seconds, int) {
            greyDuringWait = seconds == 0.7 && !g.window->CmbStart->isEnabled() && g.callingControlsEnabled();
        };
        g.clickStart();
        QVERIFY(greyDuringWait);
        QVERIFY(g.window->CmbStart->isEnabled());
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(1));
        QCOMPARE(g.window->CmbStart->text(), QStringLiteral("Sacar número"));
        QVERIFY(g.boardAgreesWithDrum());
        QCOMPARE(g.fake.random.reseeds.size(), std::size_t(2));

        for (int click = 2; click <= 90; ++click)
            g.clickStart();
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(90));
        QVERIFY(g.fake.messages.shown.empty()); // the 90th ball is shown like any other
        QCOMPARE(g.fake.random.reseeds.size(), std::size_t(91)); // reseeded before every ball

        g.clickStart(); // the 91st click
        QCOMPARE(g.fake.messages.shown.size(), std::size_t(1));
        QCOMPARE(g.fake.waiter.waits.size(), std::size_t(90));
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(0));
        QCOMPARE(g.window->LblNumEnJuego->text(), QString());
        QVERIFY(g.boardAgreesWithDrum());
        QVERIFY(g.window->CmbStart->isEnabled());
    }

    void menuDrawsEvenWhileTheButtonIsGrey()
    {
        Game g;
        g.window->SM_Auto->trigger();
        g.fake.waiter.during = [&](double, int index) {
            if (index == 0) {
                QVERIFY(!g.window->CmbStart->isEnabled());
                g.window->SM_GetNumber->trigger(); // nested inside the 0.7-second wait
            }
        };
        g.clickStart();
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(2));
        QVERIFY(g.window->CmbStart->isEnabled());
        QVERIFY(g.boardAgreesWithDrum());
    }

    void ctrlNDoesWhatTheButtonDoes()
    {
        Game g;
        g.window->SM_Auto->trigger();
        g.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(g.window.get()));
        QTest::keyClick(g.window.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(1));
        g.window->SM_GetNumber->trigger();
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(2));
    }

    void voiceOffPlaysTheSignalOncePerBallAndVoiceOnNever()
    {
        Game g;
        g.window->SM_Auto->trigger();
        for (int i = 0; i < 10; ++i)
            g.clickStart();
        QVERIFY(!g.fake.sound.files().contains(QStringLiteral("pac.wav")));
        QVERIFY(g.fake.sound.played.size() >= 10);

        g.fake.sound.played.clear();
        g.window->SM_Voice->trigger();
        QVERIFY(!g.window->SM_Voice->isChecked());
        for (int i = 0; i < 10; ++i)
            g.clickStart();
        QCOMPARE(g.fake.sound.files(), QStringList(10, QStringLiteral("pac.wav")));
        for (const auto &entry : g.fake.sound.played)
            QCOMPARE(entry.second, PlayMode::Async);
    }

    void announcementNamesTheDrawnNumber()
    {
        Game g;
        g.window->SM_Auto->trigger();
        for (int i = 0; i < 30; ++i) {
            g.fake.sound.played.clear();
            g.clickStart();
            const int n = g.window->NumEnJuego;
            const QString last = g.fake.sound.played.back().first;
            const QString expectedLast = (n <= 15 || n % 10 == 0) ? QString::number(n) + QStringLiteral(".wav")
                                                                  : QString::number(n % 10) + QStringLiteral(".wav");
            QCOMPARE(last, expectedLast);
        }
    }

    void numberIsOnTheScreenBeforeItIsAnnounced()
    {
        Game g;
        g.window->SM_Auto->trigger();
        int announcements = 0;
        bool shownFirst = true;
        g.fake.sound.onPlay = [&](const QString &, PlayMode) {
            ++announcements;
            const int n = g.window->NumEnJuego;
            shownFirst = shownFirst && g.window->LblNumEnJuego->text() == QString::number(n)
                && foreColour(g.window->LblNumero[static_cast<std::size_t>(n)]) == FrmBingo::colourDrawn;
        };
        for (int i = 0; i < 30; ++i)
            g.clickStart();
        g.window->SM_Voice->trigger();
        for (int i = 0; i < 30; ++i)
            g.clickStart();
        QVERIFY(announcements >= 60);
        QVERIFY(shownFirst);
    }

    void newGameMidGamePutsTheBallsBack()
    {
        Game g;
        g.window->SM_Auto->trigger();
        for (int i = 0; i < 20; ++i)
            g.clickStart();
        const int last = g.window->NumEnJuego;
        g.window->SM_New->trigger();
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(0));
        QCOMPARE(g.drawnFlags(), 0);
        QVERIFY(g.boardAgreesWithDrum());
        QCOMPARE(g.window->LblNumEnJuego->text(), QString());
        QCOMPARE(g.window->NumEnJuego, std::int16_t(last)); // the last number is not cleared
        for (std::size_t n = 1; n <= 90; ++n)
            QCOMPARE(backColour(g.window->LblNumero[n]), FrmBingo::colourBoardBack);

        // All 90 can be drawn again, the earlier ones included.
        for (int i = 0; i < 90; ++i)
            g.clickStart();
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(90));
        QVERIFY(g.boardAgreesWithDrum());
    }

    void noToThePromptEndsTheProgram()
    {
        Game g;
        g.fake.messages.answer = MessageAnswer::No;
        g.clickStart();
        QCOMPARE(g.fake.process.ended, 1);
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(90));
    }

    void closingTheWindowMidCallingEndsTheProgram()
    {
        Game g;
        g.fake.waiter.during = [&](double, int index) {
            if (index == 4) {
                g.window->close();
                QCOMPARE(g.fake.process.ended, 1);
                g.partida->CmbStart_Click(); // a real process is gone by now; stop the run the fake left going
            }
        };
        g.clickStart();
        QVERIFY(g.fake.messages.shown.empty());
        QCOMPARE(g.fake.process.ended, 1);
    }

    void exitMenuEndsTheProgram()
    {
        Game g;
        g.window->SM_End->trigger();
        QCOMPARE(g.fake.process.ended, 1);
    }

    void automaticSwitchEnablesTheButtonAndKeepsTheGame()
    {
        Game g;
        g.window->SM_Auto->trigger();
        g.clickStart();
        g.clickStart();
        g.window->CmbStart->setEnabled(false);
        g.window->SM_Auto->trigger();
        QVERIFY(g.window->CmbStart->isEnabled());
        QVERIFY(g.window->ModoAutomatico);
        g.window->SM_Auto->trigger();
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(2));
        QVERIFY(g.boardAgreesWithDrum());
    }

    void voiceSwitchChangesTheDelayRange()
    {
        Game g;
        QScrollBar *bar = g.window->HscInterval;
        bar->setValue(bar->minimum());
        QCOMPARE(g.window->LblDelay->text(), QStringLiteral("2"));

        g.window->SM_Voice->trigger(); // off: down to half a second
        QCOMPARE(bar->minimum(), 1);
        QCOMPARE(bar->maximum(), 10);
        QCOMPARE(bar->value(), 4);
        QCOMPARE(g.window->LblDelay->text(), QStringLiteral("2"));
        bar->setValue(1);
        QCOMPARE(g.window->LblDelay->text(), QStringLiteral("0,5"));

        g.window->SM_Voice->trigger(); // on again: the delay is raised to 2 seconds
        QCOMPARE(bar->minimum(), 4);
        QCOMPARE(bar->value(), 4);
        QCOMPARE(g.window->LblDelay->text(), QStringLiteral("2"));
    }

    void helpOpensTheHelpDocumentWithoutWaiting()
    {
        Game g;
        g.window->SM_play->trigger();
        QCOMPARE(g.fake.help.shown.size(), 1);
        QCOMPARE(g.fake.help.shown.front(), QDir(QStringLiteral(CANTABOLA_PROGRAM_DIR)).absoluteFilePath("ayudabingo.html"));
    }

    void onlyStopHelpDelayAndCloseStayUsableWhileCalling()
    {
        Game g;
        bool checked = false;
        g.fake.waiter.during = [&](double, int index) {
            if (index != 0)
                return;
            FrmBingo &w = *g.window;
            QVERIFY(w.CmbStart->isEnabled());
            QVERIFY(FrmBingo::menuEnabled(w.SM_Help));
            QVERIFY(w.HscInterval->isEnabled());
            QVERIFY(g.callingControlsDisabled());
            // Ctrl+N belongs to the greyed menu "Juego": it starts nothing while the calling runs.
            QVERIFY(QTest::qWaitForWindowActive(g.window.get()));
            QTest::keyClick(g.window.get(), Qt::Key_N, Qt::ControlModifier);
            QCOMPARE(w.CmbStart->text(), QStringLiteral("Parar juego"));
            checked = true;
            g.clickStart();
        };
        g.clickStart();
        QVERIFY(checked);
        QCOMPARE(g.window->BolasSacadas, std::uint8_t(1));
    }
};

QTEST_MAIN(GameFlowTest)
#include "GameFlowTest.moc"
