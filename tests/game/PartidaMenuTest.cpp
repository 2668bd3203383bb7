// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the menu "Partida" as an operator uses it mid-game: checking a claim (which halts the calling),
// saying the number again, taking the last ball back, the list of the balls called, and taking up a game the
// last run left unfinished (and only that: never the game of another copy still running).

#include "game/GameStore.h"
#include "support/Rig.h"
#include "voice/WordPlan.h"

#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

using namespace cantabola;
using cantabola::testing::named;
using cantabola::testing::Rig;

namespace {

void keys(Rig &g, QKeySequence sequence)
{
    g.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&g.window()));
    QTest::keyClick(&g.window(), Qt::Key(sequence[0].key()), sequence[0].keyboardModifiers());
}

void drawOneByOne(Rig &g, int balls)
{
    if (g.game().ModoAutomatico())
        g.trigger("SM_Auto");
    for (int i = 0; i < balls; ++i)
        g.clickStart();
}

QStringList rows(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

class PartidaMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void claimCheckHaltsTheCallingAndGivesItsVerdict()
    {
        Rig g;
        QStringList summaries;
        g.fake.waiter.during = [&](double, int index) {
            if (index != 2)
                return;
            const int opened = testing::whileModal(
                "ClaimDialog", [&] { keys(g, Qt::CTRL | Qt::Key_K); },
                [&](QDialog &d) {
                    QCOMPARE(g.start()->text(),
                             QStringLiteral("Sacar número")); // stopped as by "Parar juego"
                    QVERIFY(g.callingControls(true));
                    // Cards not numbered: the numbers read out come first and take the typing.
                    QVERIFY(QTest::qWaitForWindowActive(&d));
                    auto *typed = named<QLineEdit>(d, "numbersField");
                    QVERIFY(typed->y() < named(d, "cardNumberField")->y());
                    const auto verdict = [&](const QString &text) {
                        typed->clear();
                        for (const QChar c : text) // to the window, as from the keyboard
                            QTest::keyClick(d.windowHandle(), c.toLatin1());
                        summaries << named<QLabel>(d, "verdictLabel")->text();
                    };
                    const std::vector<int> &out = g.game().drawOrder();
                    verdict(QStringLiteral("%1, %2 %3 %2").arg(out[0]).arg(out[1]).arg(out[2]));
                    const int notOut = g.game().BolaSacada(90) ? (g.game().BolaSacada(89) ? 88 : 89) : 90;
                    verdict(QStringLiteral("%1 %2").arg(out[0]).arg(notOut));
                    QCOMPARE(rows(named<QListWidget>(d, "numbersList")),
                             (QStringList{QStringLiteral("%1 ✔ ha salido").arg(out[0]),
                                          QStringLiteral("%1 ✘ no ha salido").arg(notOut)}));
                    QTest::keyClick(&d, Qt::Key_Escape);
                    QVERIFY(!d.isVisible());
                });
            QCOMPARE(opened, 1);
        };
        g.clickStart();
        QCOMPARE(g.game().BolasSacadas(), 3); // no ball after the claim
        QCOMPARE(summaries.size(), 2); // the verdict as the operator types; its wording: GameRulesTest
        QCOMPARE(summaries[0], QStringLiteral("Han salido los 3 números. Premio correcto."));
        QVERIFY(summaries[1].startsWith(QStringLiteral("Falta 1 de 2: ")));
    }

    void repeatSaysTheShownNumberAgainEvenWithTheVoiceOff()
    {
        Rig g;
        QVERIFY(!g.action("repeatItem")->isEnabled()); // nothing shown yet
        g.trigger("SM_Voice");
        do
            drawOneByOne(g, 1);
        while (g.game().NumEnJuego() <= 15 || g.game().NumEnJuego() % 10 == 0);
        const int n = g.game().NumEnJuego();
        g.fake.sound.played.clear();
        keys(g, Qt::CTRL | Qt::Key_R);
        // The words of the draw, the first cutting short whatever plays, the second following it.
        const std::vector<Word> words = wordPlan(n);
        const std::vector<std::pair<QString, PlayMode>> expected{
            {QString::fromStdString(words.at(0).file), PlayMode::Async},
            {QString::fromStdString(words.at(1).file), PlayMode::AfterCurrent}};
        QCOMPARE(g.fake.sound.played, expected);
        QCOMPARE(g.fake.waiter.waits.size(), std::size_t(g.game().BolasSacadas())); // no wait of its own
    }

    void undoPutsTheLastBallBackDownToAnEmptyBoard()
    {
        Rig g;
        QVERIFY(!g.action("takeBackItem")->isEnabled());
        drawOneByOne(g, 3);
        const std::vector<int> out = g.game().drawOrder();
        for (int left = 2; left >= 0; --left) {
            keys(g, Qt::CTRL | Qt::Key_Z);
            QCOMPARE(g.game().BolasSacadas(), left);
            QCOMPARE(g.bigNumber(), left ? QString::number(out[std::size_t(left - 1)]) : QString());
            QVERIFY(g.boardAgreesWithGame());
        }
        QVERIFY(!g.action("takeBackItem")->isEnabled());
        // Not while the game calls by itself.
        g.trigger("SM_Auto");
        g.fake.waiter.during = [&](double, int index) {
            if (index == 3) { // the first wait of the calling
                QVERIFY(!g.action("takeBackItem")->isEnabled());
                g.clickStart();
            }
        };
        g.clickStart();
        QCOMPARE(g.game().BolasSacadas(), 1);
        QVERIFY(g.action("takeBackItem")->isEnabled());
    }

    void ballsCalledFollowTheGameAndAreCopiedAndSaved()
    {
        Rig g;
        keys(g, Qt::CTRL | Qt::Key_H);
        auto *window = g.window().findChild<QWidget *>("CalledBallsWindow");
        QVERIFY(window && window->isVisible() && !window->isModal());
        auto *list = named<QListWidget>(*window, "ballsList");
        drawOneByOne(g, 3);
        g.trigger("takeBackItem");
        const std::vector<int> &out = g.game().drawOrder();
        QCOMPARE(rows(list),
                 (QStringList{QStringLiteral("1. %1").arg(out[0]), QStringLiteral("2. %1").arg(out[1])}));
        QTest::mouseClick(named<QPushButton>(*window, "copyButton"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("%1\n%2").arg(out[0]).arg(out[1]));
        g.fake.files.path = g.fake.dataFolder.filePath("lista.txt");
        QTest::mouseClick(named<QPushButton>(*window, "saveButton"), Qt::LeftButton);
        QFile saved(g.fake.files.path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(saved.readAll()),
                 QStringLiteral("1\t%1\t2026-12-07 12:00:00\n2\t%2\t2026-12-07 12:00:00\n")
                     .arg(out[0])
                     .arg(out[1]));
        g.trigger("SM_New");
        QCOMPARE(list->count(), 0);
    }

    void unfinishedGameIsOfferedAtTheNextStart_data()
    {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::newRow("Sí: the board as it was") << MessageAnswer::Yes;
        QTest::newRow("No: discarded") << MessageAnswer::No;
    }
    void unfinishedGameIsOfferedAtTheNextStart()
    {
        QFETCH(MessageAnswer, answer);
        Rig before;
        before.fake.waiter.during = [&](double, int index) {
            if (index == 4)
                before.clickStart();
        };
        before.clickStart();
        const QTemporaryDir kept;
        const QString saved = kept.filePath("saved.json");
        QVERIFY(QFile::copy(GameStore(before.fake.platform.dataFolder).filePath(), saved));

        const auto restart = [&saved](MessageAnswer given) {
            auto after = std::make_unique<Rig>(ScreenInfo::fromPixels(1024, 768, 15), false);
            QFile::remove(GameStore(after->fake.platform.dataFolder).filePath());
            QFile::copy(saved, GameStore(after->fake.platform.dataFolder).filePath());
            after->fake.messages.answer = given;
            after->loaded = after->program->start();
            return after;
        };
        const std::unique_ptr<Rig> after = restart(answer);
        QCOMPARE(after->fake.messages.shown.size(), std::size_t(1));
        QCOMPARE(after->fake.messages.shown[0].text,
                 QStringLiteral("La partida anterior quedó sin terminar con 5 bolas. ¿Continuarla?"));
        QCOMPARE(after->fake.messages.shown[0].buttons, MessageButtons::YesNo);
        QCOMPARE(after->game().drawOrder(),
                 answer == MessageAnswer::Yes ? before.game().drawOrder() : std::vector<int>());
        QCOMPARE(after->game().drawTimes(),
                 answer == MessageAnswer::Yes ? before.game().drawTimes() : std::vector<QDateTime>());
        QVERIFY(after->boardAgreesWithGame());
        QVERIFY(!GameStore(after->fake.platform.dataFolder).load() || answer == MessageAnswer::Yes);
    }

    void aSecondCopyLeavesTheFirstCopysGameAlone()
    {
        auto first = std::make_unique<Rig>();
        drawOneByOne(*first, 1);
        const QString folder = first->fake.platform.dataFolder;
        const auto savedGame = [&folder] {
            QFile file(GameStore(folder).filePath());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray firstGame = savedGame();

        const Rig second(ScreenInfo::fromPixels(1024, 768, 15), true, folder);
        QVERIFY(second.fake.messages.shown.empty()); // the first copy's game goes on: not unfinished
        second.trigger("SM_Auto");
        second.clickStart();
        second.clickStart();
        QCOMPARE(savedGame(), firstGame);

        first->program.reset(); // the first copy ends mid-game
        const Rig third(ScreenInfo::fromPixels(1024, 768, 15), true, folder);
        QCOMPARE(third.fake.messages.shown.size(), std::size_t(1));
        QCOMPARE(third.fake.messages.shown[0].text,
                 QStringLiteral("La partida anterior quedó sin terminar con 1 bola. ¿Continuarla?"));
    }

    void gameEndedAtItsPromptLeavesNothingToResume()
    {
        Rig g;
        g.fake.messages.answer = MessageAnswer::No;
        g.clickStart(); // all 90, then No
        QCOMPARE(g.fake.process.ended, 1);
        QVERIFY(!GameStore(g.fake.platform.dataFolder).load());
    }
};

QTEST_MAIN(PartidaMenuTest)
#include "PartidaMenuTest.moc"
